// The container reader believes nothing it has not checked: every truncation, every lying
// count or size, every unknown kind and every dangling name is refused.
#include "help/help_file.h"

#include <gtest/gtest.h>

namespace lumen::help {
namespace {

HelpDocument sampleBook() {
    HelpDocument book;
    book.title = "Book";
    book.topics.push_back({"contents", "Contents",
                           {{BlockKind::heading, {{SpanKind::text, "Start", {}}}},
                            {BlockKind::paragraph,
                             {{SpanKind::text, "See ", {}}, {SpanKind::link, "the page", "page"}, {SpanKind::code, "x+1", {}}}},
                            {BlockKind::listItem, {{SpanKind::text, "an item", {}}}}}});
    book.topics.push_back({"page", "A page",
                           {{BlockKind::code, {{SpanKind::text, "r: 255-r\ng: g", {}}}},
                            {BlockKind::picture, {{SpanKind::text, "caption", "pic"}}}}});
    book.pictures.push_back({"pic", 2, 3, {0xFF, 0xD8, 0xFF, 0xD9}});
    return book;
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// The offset of the last occurrence of `text`'s length prefix followed by `text`.
size_t stringAt(const std::vector<uint8_t>& bytes, const std::string& text) {
    for (size_t i = bytes.size() - 4 - text.size(); i-- > 0;)
        if (std::equal(text.begin(), text.end(), bytes.begin() + long(i + 4)) && bytes[i] == text.size()) return i;
    ADD_FAILURE() << text << " not found";
    return 0;
}

TEST(HelpFile, WrittenBookReadsBackEqual) {
    const HelpDocument book = sampleBook();
    const HelpReadResult read = readHelpFile(writeHelpFile(book));
    ASSERT_EQ(read.error, HelpReadError::none);
    EXPECT_EQ(*read.document, book);
    ASSERT_TRUE(read.document->findTopic("page"));
    EXPECT_EQ(read.document->findTopic("page")->title, "A page");
    EXPECT_FALSE(read.document->findTopic("nothing"));
    EXPECT_TRUE(read.document->findPicture("pic"));
}

TEST(HelpFile, EveryTruncationAndEveryExtraByteIsRefused) {
    const std::vector<uint8_t> bytes = writeHelpFile(sampleBook());
    for (size_t length = 0; length < bytes.size(); ++length) {
        const HelpReadResult read = readHelpFile({bytes.data(), length});
        EXPECT_FALSE(read.document) << "length " << length;
    }
    std::vector<uint8_t> longer = bytes;
    longer.push_back(0);
    EXPECT_EQ(readHelpFile(longer).error, HelpReadError::sizeMismatch);
    // A file cut short whose recorded size was mended to match still ends too soon.
    std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 3);
    putU32(cut, 8, uint32_t(cut.size()));
    EXPECT_EQ(readHelpFile(cut).error, HelpReadError::truncated);
}

TEST(HelpFile, WrongMagicIsNotAHelpFile) {
    std::vector<uint8_t> bytes = writeHelpFile(sampleBook());
    bytes[0] = 'X';
    EXPECT_EQ(readHelpFile(bytes).error, HelpReadError::notHelpFile);
    // A Windows help file begins otherwise.
    const uint8_t winHelp[] = {0x3F, 0x5F, 0x03, 0x00, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(readHelpFile(winHelp).error, HelpReadError::notHelpFile);
}

TEST(HelpFile, LyingCountsAndLengthsAreRefusedBeforeTheyAreBelieved) {
    const std::vector<uint8_t> bytes = writeHelpFile(sampleBook());
    const size_t topicCount = stringAt(bytes, "Book") + 4 + 4;
    struct Case {
        const char* what;
        size_t offset;
        uint32_t value;
        HelpReadError expected;
    };
    const size_t blockCount = stringAt(bytes, "Contents") + 4 + 8;
    const size_t pictureName = stringAt(bytes, "pic");
    const Case cases[] = {
        {"topic count past the limit", topicCount, uint32_t(kMaxTopics + 1), HelpReadError::badCount},
        {"topic count the file cannot hold", topicCount, 1000, HelpReadError::truncated},
        {"block count the file cannot hold", blockCount, 4000, HelpReadError::truncated},
        {"block count past the limit", blockCount, 0xFFFFFFFF, HelpReadError::badCount},
        {"string longer than the file", stringAt(bytes, "Contents"), 60000, HelpReadError::truncated},
        {"string past the limit", stringAt(bytes, "Contents"), 0x7FFFFFFF, HelpReadError::badCount},
        {"picture stream longer than the file", pictureName + 4 + 3 + 4, 1000, HelpReadError::truncated},
    };
    for (const Case& test : cases) {
        std::vector<uint8_t> lying = bytes;
        putU32(lying, test.offset, test.value);
        EXPECT_EQ(readHelpFile(lying).error, test.expected) << test.what;
    }
}

TEST(HelpFile, UnknownKindsAndMalformedBlocksAreRefused) {
    HelpDocument book = sampleBook();
    std::vector<uint8_t> bytes = writeHelpFile(book);
    const size_t firstBlockKind = stringAt(bytes, "Contents") + 4 + 8 + 4;
    bytes[firstBlockKind] = 9;
    EXPECT_EQ(readHelpFile(bytes).error, HelpReadError::badKind);

    book = sampleBook();
    book.topics[0].blocks[1].spans[1].kind = static_cast<SpanKind>(7);
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::badKind);

    book = sampleBook();
    book.topics[1].blocks[0].spans.push_back({SpanKind::text, "second", {}});
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::badCount) << "a code block of two spans";

    book = sampleBook();
    book.pictures[0].width = 0;
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::badPicture);
    book = sampleBook();
    book.pictures[0].height = uint16_t(kMaxPictureSide + 1);
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::badPicture);
    book = sampleBook();
    book.pictures[0].jpeg.clear();
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::badPicture);
}

TEST(HelpFile, BooksWhoseNamesDoNotResolveAreRefused) {
    HelpDocument book = sampleBook();
    book.topics[0].blocks[1].spans[1].target = "gone";
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::unresolved) << "a link to no topic";

    book = sampleBook();
    book.topics[1].blocks[1].spans[0].target = "gone";
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::unresolved) << "a picture block of no picture";

    book = sampleBook();
    book.topics[1].id = "contents";
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::duplicateName);
    book = sampleBook();
    book.pictures.push_back(book.pictures[0]);
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::duplicateName);

    book = sampleBook();
    book.topics.clear();
    book.pictures.clear();
    EXPECT_EQ(readHelpFile(writeHelpFile(book)).error, HelpReadError::empty) << "no contents to open at";
}

}  // namespace
}  // namespace lumen::help
