// Grouping and the nodes each construct builds, read back through the tree printer.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "formula_test_support.h"

namespace lumen::formula {
namespace {

using testing_support::checkOf;
using testing_support::treeOf;

// Leaves of the grouping examples: a 97, b 98, c 99, d 100, x 120.
TEST(FormulaGrammar, GroupingFollowsTheLanguagesOwnPrecedence) {
    const std::vector<std::pair<const char*, const char*>> examples{
        {"a+b<<c", "(43 0 (97 0) (330 0 (98 0) (99 0)))"},
        {"a<<b**c", "(329 0 (330 0 (97 0) (98 0)) (99 0))"},
        {"a**b**c", "(329 0 (329 0 (97 0) (98 0)) (99 0))"},
        {"-a**b", "(329 0 (332 0 (97 0)) (98 0))"},
        {"a&b==c", "(322 0 (97 0) (323 0 (98 0) (99 0)))"},
        {"a|b&c", "(322 0 (321 0 (97 0) (98 0)) (99 0))"},
        {"a&&b||c", "(318 0 (319 0 (97 0) (98 0)) (99 0))"},
        {"a||b&&c", "(319 0 (318 0 (97 0) (98 0)) (99 0))"},
        {"a<b==c", "(323 0 (327 0 (97 0) (98 0)) (99 0))"},
        {"a<<b<<c", "(330 0 (97 0) (330 0 (98 0) (99 0)))"},
        {"a?b:c?d:x", "(63 0 (97 0) (98 0) (63 0 (99 0) (100 0) (120 0)))"},
        {"a?b,c:d", "(63 0 (97 0) (258 0 (98 0) (99 0)) (100 0))"},
        {"a,b?c:d", "(258 0 (97 0) (63 0 (98 0) (99 0) (100 0)))"},
        // Further consequences of the same table.
        {"a-b-c", "(45 0 (45 0 (97 0) (98 0)) (99 0))"},
        {"a+b*c", "(43 0 (97 0) (42 0 (98 0) (99 0)))"},
        {"a*b**c", "(42 0 (97 0) (329 0 (98 0) (99 0)))"},
        {"a==b+c", "(323 0 (97 0) (43 0 (98 0) (99 0)))"},
        {"a&&b|c", "(319 0 (97 0) (321 0 (98 0) (99 0)))"},
        {"a||b?c:d", "(63 0 (318 0 (97 0) (98 0)) (99 0) (100 0))"},
        {"a?b:c,d", "(258 0 (63 0 (97 0) (98 0) (99 0)) (100 0))"},
        {"a,b,c", "(258 0 (258 0 (97 0) (98 0)) (99 0))"},
        {"-a<<b", "(330 0 (332 0 (97 0)) (98 0))"},
        {"!a==b", "(323 0 (334 0 (97 0)) (98 0))"},
        {"-~!+a", "(332 0 (335 0 (334 0 (333 0 (97 0)))))"},
        {"a--b", "(45 0 (97 0) (332 0 (98 0)))"},
        {"(a+b)*c", "(42 0 (43 0 (97 0) (98 0)) (99 0))"},
        {"((a))", "(97 0)"},
        {"a?b?c:d:x", "(63 0 (97 0) (63 0 (98 0) (99 0) (100 0)) (120 0))"},
    };
    for (const auto& [text, tree] : examples) EXPECT_EQ(treeOf(text), tree) << text;
}

TEST(FormulaGrammar, BinaryOperatorsBuildTheirNodeKinds) {
    const std::vector<std::pair<const char*, const char*>> operators{
        {"+", "43 0"}, {"-", "45 0"}, {"*", "42 0"}, {"/", "289 1"}, {"%", "289 2"},
        {"**", "329 0"}, {"&", "322 0"}, {"|", "321 0"}, {"^", "320 0"}, {"&&", "319 0"},
        {"||", "318 0"}, {"==", "323 0"}, {"!=", "324 0"}, {"<=", "325 0"}, {">=", "326 0"},
        {"<", "327 0"}, {">", "328 0"}, {"<<", "330 0"}, {">>", "331 0"},
    };
    for (const auto& [op, head] : operators)
        EXPECT_EQ(treeOf(std::string("7") + op + "x"), std::string("(") + head + " (336 7) (120 0))")
            << op;
    EXPECT_EQ(treeOf("1,2"), "(258 0 (336 1) (336 2))");
    EXPECT_EQ(treeOf("1?2:3"), "(63 0 (336 1) (336 2) (336 3))");
    EXPECT_EQ(treeOf("~1"), "(335 0 (336 1))");
    EXPECT_EQ(treeOf("!1"), "(334 0 (336 1))");
    EXPECT_EQ(treeOf("-1"), "(332 0 (336 1))");
    EXPECT_EQ(treeOf("+1"), "(333 0 (336 1))");
}

TEST(FormulaGrammar, LeavesAreVariablesNumbersAndTotal) {
    for (char letter : std::string("rgbactxyzXYZiuvdDmM"))
        EXPECT_EQ(treeOf(std::string(1, letter)), "(" + std::to_string(letter) + " 0)") << letter;
    EXPECT_EQ(treeOf("total"), "(287 0)");
    EXPECT_EQ(treeOf("tmax"), "(287 0)");
    EXPECT_EQ(treeOf("p"), "(122 0)");
    EXPECT_EQ(treeOf("2147483648"), "(336 -2147483648)");
    EXPECT_EQ(treeOf("tmin"), "(336 0)");
    EXPECT_EQ(treeOf("V"), "(336 255)");
    // The intensity letter is a variable alone and a function before '('.
    EXPECT_EQ(treeOf("i"), "(105 0)");
    EXPECT_EQ(treeOf("i(x,y)"), "(289 3 (120 0) (121 0))");
    EXPECT_EQ(treeOf("i0(x,y)"), "(289 3 (120 0) (121 0))");
}

TEST(FormulaGrammar, CaseBuildsALabelledListNestedToTheRight) {
    EXPECT_EQ(treeOf("case(z, 0: r, 1: g, 2: b)"),
              "(259 0 (122 0) (0 0 (260 0 (114 0)) (0 0 (260 1 (103 0)) (260 2 (98 0)))))");
    EXPECT_EQ(treeOf("case(x+1,7:a)"), "(259 0 (43 0 (120 0) (336 1)) (260 7 (97 0)))");
    EXPECT_EQ(treeOf("case(x,R:a?b:c)"),
              "(259 0 (120 0) (260 255 (63 0 (97 0) (98 0) (99 0))))");
    EXPECT_EQ(treeOf("case(x,4294967295:a),b"), "(258 0 (259 0 (120 0) (260 -1 (97 0))) (98 0))");
    EXPECT_EQ(treeOf("1+case(x,0:case(y,1:2))"),
              "(43 0 (336 1) (259 0 (120 0) (260 0 (259 0 (121 0) (260 1 (336 2))))))");
    // Labels are number tokens only.
    EXPECT_EQ(checkOf("case(x,-1:a)"), 1);
    EXPECT_EQ(checkOf("case(x,a:b)"), 1);
    EXPECT_EQ(checkOf("case(x,(1):b)"), 1);
    EXPECT_EQ(checkOf("case(a,1:b,c)"), 1);
    EXPECT_EQ(checkOf("case(1)"), 1);
    EXPECT_EQ(checkOf("case(x,1:a,)"), 1);
    EXPECT_EQ(checkOf("case x,1:a"), 1);
}

TEST(FormulaGrammar, CheckingAndBuildingAgree) {
    for (const char* text : {"1+x", "a?b:c", "case(z,0:r)", "src(x,y,z),r", "(a,b)", "a b", ""}) {
        const CompileResult checked = compileFormula(text, false);
        const CompileResult built = compileFormula(text, true);
        EXPECT_EQ(checked.status, built.status) << text;
        EXPECT_EQ(checked.root, nullptr) << text;
        EXPECT_EQ(built.root != nullptr, built.status == kCompileOk) << text;
    }
}

}  // namespace
}  // namespace lumen::formula
