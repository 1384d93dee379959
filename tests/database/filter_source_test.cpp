#include "tools/filter_source.h"

#include <gtest/gtest.h>

#include <string>

namespace lumen::tools {
namespace {

const char* const kComplete =
    "# a comment\n"
    "title: Wave\n"
    "category: Distort\n"
    "author: Lumenforge\n"
    "copyright: First line\n"
    "  second line\n"
    "gradient: 12\n"
    "\n"
    "control 0: Amount | on | 128\n"
    "control 5: Spare | off | 7\n"
    "code0: put(1, 0),\n"
    "  put(2, 1)\n"
    "code1-3: src(x + get(0),\n"
    "\ty, z)\n"
    "code4: a\r\n"
    "preset: Strong | 255 0 0 0 0 9 0 0 | 3\n"
    "preset: Weak | 10 0 0 0 0 0 0 0 | 0\n";

std::string parseError(const std::string& text) {
    std::string error;
    EXPECT_FALSE(parseFilterSource(text, "f.txt", error).has_value()) << text;
    return error;
}

TEST(FilterSourceTest, ReadsEveryField) {
    std::string error;
    const auto source = parseFilterSource(kComplete, "f.txt", error);
    ASSERT_TRUE(source) << error;
    EXPECT_EQ(source->title, "Wave");
    EXPECT_EQ(source->category, "Distort");
    EXPECT_EQ(source->author, "Lumenforge");
    EXPECT_EQ(source->copyright, "First line\r\nsecond line");
    EXPECT_EQ(source->gradient, 12);
    EXPECT_EQ(source->code[0], "put(1, 0),\r\nput(2, 1)");
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(source->code[i], "src(x + get(0),\r\ny, z)");
    EXPECT_EQ(source->code[4], "a");
    EXPECT_EQ(source->controls[0].label, "Amount");
    EXPECT_TRUE(source->controls[0].enabled);
    EXPECT_EQ(source->controls[0].value, 128);
    EXPECT_FALSE(source->controls[5].enabled);
    EXPECT_EQ(source->controls[5].value, 7);
    EXPECT_TRUE(source->controls[1].label.empty());
    EXPECT_FALSE(source->controls[1].enabled);
    ASSERT_EQ(source->presets.size(), 2u);
    EXPECT_EQ(source->presets[0].name, "Strong");
    EXPECT_EQ(source->presets[0].values[5], 9);
    EXPECT_EQ(source->presets[0].gradient, 3);
    EXPECT_EQ(source->presets[1].name, "Weak");
}

TEST(FilterSourceTest, FaultsNameTheFileAndLine) {
    const std::string base = "title: T\ncategory: C\ncode0: 0\ncode1: r\ncode2: g\ncode3: b\ncode4: a\n";
    EXPECT_EQ(parseError(base + "colour: red\n"), "f.txt:8: unknown key 'colour'");
    EXPECT_EQ(parseError(base + "title: Again\n"), "f.txt:8: 'title' given twice");
    EXPECT_EQ(parseError(base + "code2-3: 0\n"), "f.txt:8: 'code2' given twice");
    EXPECT_EQ(parseError("  indented first\n" + base), "f.txt:1: an indented line continues only copyright or code");
    EXPECT_EQ(parseError(base + "no colon here\n"), "f.txt:8: expected KEY: VALUE");
    EXPECT_EQ(parseError(base + "gradient: 100\n"), "f.txt:8: gradient must be a number from 0 to 99");
    EXPECT_EQ(parseError(base + "code5: 0\n"), "f.txt:8: code keys are code0 to code4, or a range such as code1-3");
    EXPECT_EQ(parseError(base + "code3-1: 0\n"), "f.txt:8: code keys are code0 to code4, or a range such as code1-3");
    EXPECT_EQ(parseError(base + "control 8: A | on | 1\n"), "f.txt:8: control keys are control 0 to control 7");
    EXPECT_EQ(parseError(base + "control 1: A | yes | 1\n"), "f.txt:8: a control is 'on' or 'off'");
    EXPECT_EQ(parseError(base + "control 1: A | on | 256\n"), "f.txt:8: a control value is a number from 0 to 255");
    EXPECT_EQ(parseError(base + "control 1: A | on\n"), "f.txt:8: a control is LABEL | on or off | VALUE");
    EXPECT_EQ(parseError(base + "control 1: " + std::string(80, 'L') + " | on | 1\n"),
              "f.txt:8: a control label has 1 to 79 characters");
    EXPECT_EQ(parseError(base + "preset: P | 1 2 3 4 5 6 7 | 0\n"), "f.txt:8: a preset has eight values from 0 to 255");
    EXPECT_EQ(parseError(base + "preset: P | 1 2 3 4 5 6 7 8 9 | 0\n"),
              "f.txt:8: a preset has eight values from 0 to 255");
    EXPECT_EQ(parseError(base + "preset: P | 0 0 0 0 0 0 0 0 | 0\npreset: P | 0 0 0 0 0 0 0 0 | 0\n"),
              "f.txt:9: preset 'P' given twice");
    EXPECT_EQ(parseError(base + "author: Caf\xc3\xa9\n"), "f.txt:8: only printable ASCII is allowed");
}

TEST(FilterSourceTest, RefusesIncompleteFiltersAndOverlongTexts) {
    EXPECT_EQ(parseError("title: T\ncategory: C\ncode0: 0\ncode1: r\ncode2: g\ncode4: a\n"), "f.txt: 'code3' is missing");
    EXPECT_EQ(parseError("category: C\ncode0-4: 0\n"), "f.txt: 'title' is missing");
    EXPECT_EQ(parseError("title: T\ncategory: C\ncode0-4:\n"), "f.txt: code0 is empty");
    // 1023 characters fit a source; one more does not, also when a continuation line adds it.
    const std::string head = "title: T\ncategory: C\ncode1-4: r\ncode0: ";
    std::string error;
    EXPECT_TRUE(parseFilterSource(head + std::string(1023, '1') + "\n", "f.txt", error)) << error;
    EXPECT_EQ(parseError(head + std::string(1024, '1') + "\n"), "f.txt:4: code is longer than 1023 characters");
    EXPECT_EQ(parseError(head + std::string(1000, '1') + "\n  " + std::string(30, '1') + "\n"),
              "f.txt:5: code0 is longer than 1023 characters");
    EXPECT_EQ(parseError("title: " + std::string(256, 'T') + "\n"), "f.txt:1: title is longer than 255 characters");
}

}  // namespace
}  // namespace lumen::tools
