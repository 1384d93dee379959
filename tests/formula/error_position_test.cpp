// Where a failed parse stopped, as the editor shows it beside a source's error mark.
#include <gtest/gtest.h>

#include <string>

#include "formula/compile_filter.h"
#include "formula/source_position.h"

namespace lumen::formula {
namespace {

struct Expected {
    const char* text;
    int line;
    int column;
    const char* excerpt;
};

SourcePosition stopOf(const std::string& text) {
    const CompileResult result = compileFormula(text.c_str(), false);
    EXPECT_NE(result.status, kCompileOk) << text;
    return locateSourcePosition(text, result.errorOffset);
}

TEST(ErrorPosition, RealTyposAreShownWhereTheParserStopped) {
    for (const Expected& typo : {
             Expected{"min(r, g", 1, 9, ""},              // missing bracket: the text ends too early
             Expected{"r +\nmin(r, g\n\n", 2, 9, ""},     // ... shown after the last character
             Expected{"b + ", 1, 4, ""},
             Expected{"r + sine(x)", 1, 5, "sine(x)"},     // unknown name, shown whole
             Expected{"src(x,,y,z)", 1, 7, ",y,z)"},       // stray comma
             Expected{"a b", 1, 3, "b"},
             Expected{"(r + g))", 1, 8, ")"},              // one bracket too many
             Expected{"r+\r\ng*\r\n/b", 3, 1, "/b"},       // lines of the editor's CR LF text
             Expected{"// only a comment", 1, 18, ""},
             Expected{"\xE9", 1, 1, "\xE9"},
         }) {
        const SourcePosition position = stopOf(typo.text);
        EXPECT_EQ(position.line, typo.line) << typo.text;
        EXPECT_EQ(position.column, typo.column) << typo.text;
        EXPECT_EQ(position.excerpt, typo.excerpt) << typo.text;
    }
}

TEST(ErrorPosition, LongLinesAreShortenedAndOffsetsOutsideTheTextAreItsEnd) {
    const std::string text = "r + 12 34567890123456789012345";
    const SourcePosition position = stopOf(text);
    EXPECT_EQ(position.column, 8);
    EXPECT_EQ(position.excerpt, "3456789012345...");
    EXPECT_EQ(locateSourcePosition("abc ", 99).column, 4);
    EXPECT_EQ(locateSourcePosition("abc", -1).offset, 3);
    EXPECT_EQ(locateSourcePosition("", 0).line, 1);
}

TEST(ErrorPosition, TooDeepNestingAndValidTextsAndWholeFilters) {
    const std::string deep = "r+" + std::string(20000, '(');
    const CompileResult overflow = compileFormula(deep.c_str(), false);
    EXPECT_EQ(overflow.status, kCompileStackOverflow);
    EXPECT_GT(overflow.errorOffset, 2);
    EXPECT_EQ(compileFormula("r+g", false).errorOffset, -1);

    const FilterCompileResult failed = compileFilter({"0", "r", "g +* b", "b", "a"});
    EXPECT_EQ(failed.failingIndex, 2);
    EXPECT_EQ(locateSourcePosition("g +* b", failed.failingOffset).column, 4);
    EXPECT_EQ(compileFilter({"0", "r", "g", "b", "a"}).failingOffset, -1);
}

}  // namespace
}  // namespace lumen::formula
