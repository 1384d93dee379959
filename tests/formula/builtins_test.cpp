// Every built-in call: its node kind, function index and exact argument count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/builtin_table.h"
#include "formula_test_support.h"

namespace lumen::formula {
namespace {

using testing_support::checkOf;
using testing_support::treeOf;

struct Expected {
    const char* name;
    int arity;
    int kind;
    int index;
};

// As the language defines them, written out independently of the code's table.
const std::vector<Expected> kExpected{
    {"src", 3, 290, 2}, {"asrc", 3, 290, 3}, {"dst", 3, 290, 4}, {"rad", 3, 290, 5},
    {"arad", 3, 290, 6}, {"val", 3, 290, 1}, {"i", 2, 289, 3}, {"put", 2, 289, 4},
    {"min", 2, 289, 5}, {"max", 2, 289, 6}, {"rnd", 2, 289, 7}, {"c2d", 2, 289, 8},
    {"c2m", 2, 289, 9}, {"r2x", 2, 289, 10}, {"r2y", 2, 289, 11}, {"map", 2, 289, 12},
    {"gam", 2, 289, 13}, {"sbd", 2, 289, 14}, {"grad", 2, 289, 15}, {"tex", 2, 289, 16},
    {"hue", 2, 289, 17}, {"sin", 1, 288, 1}, {"cos", 1, 288, 2}, {"tan", 1, 288, 3},
    {"ctl", 1, 288, 4}, {"get", 1, 288, 5}, {"abs", 1, 288, 6}, {"sqr", 1, 288, 7},
    {"tri", 1, 288, 8}, {"rst", 1, 288, 9}, {"frg", 1, 288, 10}, {"bkg", 1, 288, 11},
    {"hmin", 1, 288, 12}, {"hmax", 1, 288, 13}, {"sgn", 1, 288, 14}, {"bell", 1, 288, 15},
    {"dif", 2, 265, 0}, {"add", 3, 262, 0}, {"sub", 3, 275, 0}, {"mix", 4, 270, 0},
    {"scl", 5, 272, 0}, {"cnv", 10, 263, 0}, {"icnv", 10, 293, 0}, {"xycnv", 12, 294, 0},
    {"gamma", 3, 303, 0}, {"nbd", 3, 309, 0}, {"bmap", 3, 311, 0}, {"bmapsize", 2, 317, 0},
    {"gradient", 1, 313, 0}, {"srcmode", 1, 295, 0}, {"storage", 1, 298, 0},
    {"texture", 5, 315, 0},
};

// name(1,2,...,count)
std::string call(const std::string& name, int count) {
    std::string text = name + "(";
    for (int k = 1; k <= count; ++k) text += (k > 1 ? "," : "") + std::to_string(k);
    return text + ")";
}

TEST(FormulaBuiltins, EachCallBuildsItsNodeWithArgumentsInOrder) {
    for (const Expected& function : kExpected) {
        std::string tree = "(" + std::to_string(function.kind) + " " +
                           std::to_string(function.index);
        for (int k = 1; k <= function.arity; ++k) tree += " (336 " + std::to_string(k) + ")";
        tree += ")";
        EXPECT_EQ(treeOf(call(function.name, function.arity)), tree) << function.name;
    }
}

TEST(FormulaBuiltins, OneArgumentTooFewOrTooManyIsASyntaxError) {
    for (const Expected& function : kExpected) {
        EXPECT_EQ(checkOf(call(function.name, function.arity - 1)), 1) << function.name;
        EXPECT_EQ(checkOf(call(function.name, function.arity + 1)), 1) << function.name;
        EXPECT_EQ(checkOf(function.name + std::string("(1") + std::string(function.arity, ',') +
                          ")"),
                  1)
            << function.name << " with empty arguments";
    }
    EXPECT_EQ(checkOf("ctl(a,b)"), 1);
    EXPECT_EQ(checkOf("sin"), 1);
    EXPECT_EQ(checkOf("sin 1"), 1);
    EXPECT_EQ(checkOf("sin()"), 1);
}

TEST(FormulaBuiltins, ArgumentsAreWholeExpressionsButNotSequences) {
    EXPECT_EQ(treeOf("min(a?b:c,(d))"),
              "(289 5 (63 0 (97 0) (98 0) (99 0)) (100 0))");
    EXPECT_EQ(treeOf("src0(x,y,z)"), treeOf("src(x,y,z)"));
    EXPECT_EQ(treeOf("cnv1(1,2,3,4,5,6,7,8,9,10)"), treeOf("cnv(1,2,3,4,5,6,7,8,9,10)"));
    EXPECT_EQ(treeOf("rad1(d,m,z)"), treeOf("rad(d,m,z)"));
    EXPECT_EQ(treeOf("sin(cos(x))"), "(288 1 (288 2 (120 0)))");
    // Inside parentheses the comma separates arguments only.
    EXPECT_EQ(checkOf("(a,b)"), 1);
    EXPECT_EQ(checkOf("sin((a,b))"), 1);
}

TEST(FormulaBuiltins, TheCodesTableCoversEveryFunction) {
    EXPECT_EQ(builtinFunctions().size(), kExpected.size());
    for (const Expected& function : kExpected) {
        bool found = false;
        for (const BuiltinFunction& entry : builtinFunctions())
            found = found || (std::string(entry.name) == function.name &&
                              entry.arity == function.arity);
        EXPECT_TRUE(found) << function.name;
    }
}

}  // namespace
}  // namespace lumen::formula
