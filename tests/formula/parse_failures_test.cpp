// Results 1 and 2, the parser's stack limit, very deep trees, and parses on several threads.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "formula_test_support.h"

namespace lumen::formula {
namespace {

using testing_support::checkOf;
using testing_support::treeOf;

std::string nested(int depth, const std::string& core) {
    return std::string(depth, '(') + core + std::string(depth, ')');
}

TEST(FormulaFailures, SyntaxErrorsGiveResult1AndNoTree) {
    for (const char* text : {
             "",             // no empty formula
             "   // only a comment",
             "e",            // undefined character
             "x=1",          // no assignment
             "SRC(x,y,z)",   // keywords are lower case
             "srcx", "gamm", "xy",
             "12 34", "a b", "a(b)",
             "(a", "a)", ")", "(a))", "((a)",
             "(a,b)",
             "ctl(a,b)", "ctl()",
             "a+", "*a", "a**", "a?b", "a?b:", "a:b", "?", "a,", ",a", "a,,b",
             "case(a,1:b,c)", "case(1)",
             "1.5", "a;b", "#", "\xE9",
         }) {
        const CompileResult result = compileFormula(text, true);
        EXPECT_EQ(result.status, kCompileSyntaxError) << text;
        EXPECT_EQ(result.root, nullptr) << text;
        EXPECT_EQ(checkOf(text), 1) << text;
    }
    EXPECT_EQ(compileFormula(nullptr, true).status, kCompileSyntaxError);
}

// The stack holds one state per open construct; the skeleton refuses to fill its last slot,
// so 9996 parentheses around a leaf are the deepest that fit in 10000 entries.
TEST(FormulaFailures, NestingBeyondTheStackLimitGivesResult2) {
    EXPECT_EQ(checkOf(nested(9996, "a")), 0);
    EXPECT_EQ(treeOf(nested(9996, "a")), "(97 0)");
    EXPECT_EQ(checkOf(nested(9997, "a")), 2);
    const CompileResult overflow = compileFormula(nested(9997, "a").c_str(), true);
    EXPECT_EQ(overflow.status, kCompileStackOverflow);
    EXPECT_EQ(overflow.root, nullptr);
    // Right-leaning operators keep every operand on the stack, two entries each.
    std::string shifts = "a";
    for (int k = 0; k < 6000; ++k) shifts += "<<a";
    EXPECT_EQ(checkOf(shifts), 2);
    // An error early in the text wins over a depth that would overflow later.
    EXPECT_EQ(checkOf("a b" + nested(20000, "a")), 1);
    // Unclosed nesting overflows before the missing ')' is noticed.
    EXPECT_EQ(checkOf(std::string(20000, '(')), 2);
}

TEST(FormulaFailures, OverflowReleasesEverythingBuiltSoFar) {
    // Each level holds a finished node on the stack when the limit is hit.
    std::string text;
    for (int k = 0; k < 6000; ++k) text += "a+(";
    text += "a" + std::string(6000, ')');
    const CompileResult result = compileFormula(text.c_str(), true);
    EXPECT_EQ(result.status, kCompileStackOverflow);
    EXPECT_EQ(result.root, nullptr);  // and the leak checker finds nothing at exit
}

TEST(FormulaFailures, LongLeftLeaningChainsBuildPrintAndRelease) {
    // Left association needs no stack, so length alone makes these trees deep.
    std::string text = "1";
    for (int k = 0; k < 100000; ++k) text += "+1";
    CompileResult result = compileFormula(text.c_str(), true);
    ASSERT_EQ(result.status, kCompileOk);
    const std::string printed = formatFormulaTree(result.root.get());
    EXPECT_EQ(printed.size(), 100000 * 15 + 7);
    EXPECT_EQ(printed.substr(0, 12), "(43 0 (43 0 ");
    result.root.reset();

    std::string sequence = "x";
    for (int k = 0; k < 100000; ++k) sequence += ",x";
    EXPECT_EQ(checkOf(sequence), 0);
    EXPECT_EQ(compileFormula(sequence.c_str(), true).status, kCompileOk);
}

TEST(FormulaFailures, ParsesOnSeveralThreadsDoNotDisturbEachOther) {
    const std::vector<std::pair<std::string, std::string>> work{
        {"1+x", "(43 0 (336 1) (120 0))"},
        {"src(x,y,z),r", "(258 0 (290 2 (120 0) (121 0) (122 0)) (114 0))"},
        {"case(z,0:r,1:g)", "(259 0 (122 0) (0 0 (260 0 (114 0)) (260 1 (103 0))))"},
        {"sin((((x))))", "(288 1 (120 0))"},
        {"a b", "result 1"},
        {nested(9997, "a"), "result 2"},
        {"ctl(1,2)", "result 1"},
    };
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&, thread] {
            for (int round = 0; round < 60; ++round) {
                const auto& [text, tree] = work[(round + thread) % work.size()];
                if (treeOf(text) != tree) ++mismatches[thread];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

}  // namespace
}  // namespace lumen::formula
