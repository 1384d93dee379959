// The help sources as a writer meets them: what each kind of line becomes, and the faults the
// build stops at, named by file and line.
#include "tools/help_source.h"

#include <gtest/gtest.h>

namespace lumen::help::source {
namespace {

std::optional<ParsedBook> parse(const std::string& text, std::string& error) {
    return parseBook({{"book.txt", text}}, error);
}

TEST(HelpSource, LinesBecomeTopicsAndBlocks) {
    std::string error;
    const auto book = parse("% a comment\n"
                            "# The Start {start}\n"
                            "First line\njoined with `x+1` and [[other]].\n\n"
                            "## A heading\n"
                            "- one item\n  continued\n- [[other|another]]\n"
                            "    code line one\n    code line two\n"
                            "# Other page {other}\n"
                            "Back to [[start|the start]].\n",
                            error);
    ASSERT_TRUE(book) << error;
    const HelpDocument& document = book->document;
    EXPECT_EQ(document.title, "The Start");
    ASSERT_EQ(document.topics.size(), 2u);
    const Topic& start = document.topics[0];
    ASSERT_EQ(start.blocks.size(), 5u);
    const std::vector<Span> paragraph = {{SpanKind::text, "First line joined with ", {}},
                                         {SpanKind::code, "x+1", {}},
                                         {SpanKind::text, " and ", {}},
                                         {SpanKind::link, "Other page", "other"},
                                         {SpanKind::text, ".", {}}};
    EXPECT_EQ(start.blocks[0], (Block{BlockKind::paragraph, paragraph}));
    EXPECT_EQ(start.blocks[1], (Block{BlockKind::heading, {{SpanKind::text, "A heading", {}}}}));
    EXPECT_EQ(start.blocks[2], (Block{BlockKind::listItem, {{SpanKind::text, "one item continued", {}}}}));
    EXPECT_EQ(start.blocks[3], (Block{BlockKind::listItem, {{SpanKind::link, "another", "other"}}}));
    EXPECT_EQ(start.blocks[4], (Block{BlockKind::code, {{SpanKind::text, "code line one\ncode line two", {}}}}));
    EXPECT_EQ(document.topics[1].blocks[0].spans[1], (Span{SpanKind::link, "the start", "start"}));
}

TEST(HelpSource, ExamplesShowTheirLinesAndAskForTheirPicture) {
    std::string error;
    const auto book = parse("# F {f}\n!example wave\n    code0: put(5,0)\n    rgb: c+get(0)\n    a: 128\n"
                            "    ctl3: 200\n",
                            error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->examples.size(), 1u);
    const Example& example = book->examples[0];
    EXPECT_EQ(example.picture, "example-wave");
    EXPECT_EQ(example.code, (std::array<std::string, 5>{"put(5,0)", "c+get(0)", "c+get(0)", "c+get(0)", "128"}));
    EXPECT_EQ(example.controls[3], 200);
    EXPECT_EQ(example.controls[0], 0);
    const auto& blocks = book->document.topics[0].blocks;
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].spans[0].text, "code0: put(5,0)\nrgb: c+get(0)\na: 128\nctl3: 200");
    EXPECT_EQ(blocks[1].kind, BlockKind::picture);
    EXPECT_EQ(blocks[1].spans[0].target, "example-wave");
}

TEST(HelpSource, FaultsNameTheirFileAndLine) {
    struct Case {
        const char* text;
        const char* expected;  // the start of the message
    };
    const Case cases[] = {
        {"text first\n", "book.txt:1: text before the first topic"},
        {"# T {t}\n\n# U {t}\n", "book.txt:3: a second topic 't'"},
        {"# No id\n", "book.txt:1: a topic line ends in {id}"},
        {"# T {Bad Id}\n", "book.txt:1: malformed topic id"},
        {"# T {t}\nan `open code\n", "book.txt:2: ` without"},
        {"# T {t}\na [[link\n", "book.txt:2: [[ without"},
        {"# T {t}\n!picture x\n", "book.txt:2: unknown directive"},
        {"# T {t}\n!example e\n    r: x+\n", "book.txt:2: example 'e': source 1 does not compile"},
        {"# T {t}\n!example e\n    q: 1\n", "book.txt:3: unknown example key 'q'"},
        {"# T {t}\n!example e\n    ctl8: 1\n", "book.txt:3: unknown example key 'ctl8'"},
        {"# T {t}\n!example e\n    ctl0: 256\n", "book.txt:3: a slider takes 0 to 255"},
        {"# T {t}\n!example e\n", "book.txt:2: an example needs at least one line"},
        {"# T {t}\n!example e\n    r: r\n!example e\n    r: r\n", "book.txt:4: a second example 'e'"},
        {"# T {t}\nsee [[nowhere]]\n", "topic 't': link to no topic 'nowhere'"},
        {"", "the book has no topic"},
    };
    for (const Case& test : cases) {
        std::string error;
        EXPECT_FALSE(parse(test.text, error)) << test.text;
        EXPECT_EQ(error.substr(0, std::string(test.expected).size()), test.expected) << error;
    }
}

TEST(HelpSource, ScreenshotsAreAskedForOnceEach) {
    std::string error;
    const auto book = parse("# T {t}\n!screenshot main-dialog The dialog\n!screenshot main-dialog Again\n", error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->screenshots.size(), 1u);
    EXPECT_EQ(book->screenshots[0].file, "main-dialog.png");
    const auto& blocks = book->document.topics[0].blocks;
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].spans[0], (Span{SpanKind::text, "The dialog", "screenshot-main-dialog"}));
}

TEST(HelpSource, TopicsContinueAcrossFilesInTheirOrder) {
    std::string error;
    const auto book = parseBook({{"a.txt", "# A {a}\nsee [[b]]\n"}, {"b.txt", "# B {b}\nback to [[a]]\n"}}, error);
    ASSERT_TRUE(book) << error;
    ASSERT_EQ(book->document.topics.size(), 2u);
    EXPECT_EQ(book->document.topics[0].id, "a");
    EXPECT_EQ(book->document.topics[0].blocks[0].spans[1].text, "B");
}

}  // namespace
}  // namespace lumen::help::source
