// The two books this build made, and their sources: every built-in of the formula language has
// its reference topic with an example, every example compiles and has its picture, every link
// resolves, and the HTML pages are there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "formula/builtin_table.h"
#include "formula/compile_filter.h"
#include "help/help_file.h"
#include "tools/help_source.h"
#include "imaging/jpeg_codec.h"

namespace lumen::help {
namespace {

const std::filesystem::path kSources = std::filesystem::path(LUMEN_SOURCE_DIR) / "docs";
const std::filesystem::path kBuilt = LUMEN_BINARY_DIR;

source::ParsedBook parsedSources(const std::string& folder) {
    std::string error;
    auto files = source::readSourceFiles((kSources / folder).string(), error);
    EXPECT_TRUE(files) << error;
    auto book = files ? source::parseBook(*files, error) : std::nullopt;
    EXPECT_TRUE(book) << error;
    return book ? std::move(*book) : source::ParsedBook{};
}

HelpDocument builtBook(const std::string& name) {
    std::ifstream in(kBuilt / name, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    HelpReadResult read = readHelpFile(bytes);
    EXPECT_EQ(read.error, HelpReadError::none) << name;
    return read.document ? std::move(*read.document) : HelpDocument{};
}

bool hasBlock(const Topic& topic, BlockKind kind) {
    return std::any_of(topic.blocks.begin(), topic.blocks.end(), [&](const Block& block) { return block.kind == kind; });
}

TEST(HelpBooks, EveryBuiltinHasItsReferenceTopicWithAPicturedExample) {
    const HelpDocument reference = builtBook("Reference.hlp");
    ASSERT_FALSE(reference.topics.empty());
    for (const formula::BuiltinFunction& builtin : formula::builtinFunctions()) {
        const Topic* topic = reference.findTopic(std::string("fn-") + builtin.name);
        ASSERT_TRUE(topic) << "no reference topic for " << builtin.name;
        EXPECT_EQ(topic->title.rfind(std::string(builtin.name) + "(", 0), 0u) << topic->title;
        EXPECT_TRUE(hasBlock(*topic, BlockKind::picture)) << builtin.name << " has no example picture";
        EXPECT_NE(plainText(*topic).find(std::string(builtin.name) + "("), std::string::npos);
    }
}

TEST(HelpBooks, EveryExampleCompilesAndItsPictureIsInTheBook) {
    const source::ParsedBook sources = parsedSources("reference");
    const HelpDocument reference = builtBook("Reference.hlp");
    ASSERT_GE(sources.examples.size(), formula::builtinFunctions().size());
    for (const source::Example& example : sources.examples) {
        std::array<const char*, formula::kSourceCount> texts;
        for (size_t i = 0; i < texts.size(); ++i) texts[i] = example.code[i].c_str();
        EXPECT_TRUE(formula::compileFilter(texts).ok) << example.where;
        const Picture* picture = reference.findPicture(example.picture);
        ASSERT_TRUE(picture) << example.where;
        const auto decoded = imaging::decodeJpeg(picture->jpeg);
        ASSERT_TRUE(decoded) << example.where;
        EXPECT_EQ(decoded->width, picture->width);
        EXPECT_EQ(decoded->height, picture->height);
    }
}

TEST(HelpBooks, BothBooksAreBuiltWithEveryLinkResolvedAndTheirHtml) {
    for (const auto& [file, folder] : {std::pair{"Lumenforge.hlp", "guide"}, std::pair{"Reference.hlp", "reference"}}) {
        const HelpDocument book = builtBook(file);
        ASSERT_FALSE(book.topics.empty()) << file;
        EXPECT_EQ(checkReferences(book), HelpReadError::none);
        // The sources' topics are all in the book, in their order.
        const source::ParsedBook sources = parsedSources(folder);
        ASSERT_EQ(book.topics.size(), sources.document.topics.size()) << file;
        for (size_t i = 0; i < book.topics.size(); ++i) EXPECT_EQ(book.topics[i].id, sources.document.topics[i].id);
        const std::filesystem::path html = kBuilt / "docs" / "html" / folder;
        EXPECT_TRUE(std::filesystem::exists(html / "index.html")) << html;
        for (const Topic& topic : book.topics) {
            if (&topic == &book.topics.front()) continue;
            EXPECT_TRUE(std::filesystem::exists(html / (topic.id + ".html"))) << topic.id;
        }
        for (const Picture& picture : book.pictures)
            EXPECT_TRUE(std::filesystem::exists(html / (picture.name + ".jpg"))) << picture.name;
    }
}

TEST(HelpBooks, TheGuideCoversWhatUsersAskAbout) {
    const HelpDocument guide = builtBook("Lumenforge.hlp");
    for (const char* id : {"install", "main-dialog", "choosing", "presets", "editor", "importing", "databases",
                           "replay", "settings", "messages", "help-window"})
        EXPECT_TRUE(guide.findTopic(id)) << id;
    const Topic* messages = guide.findTopic("messages");
    ASSERT_TRUE(messages);
    for (const char* text : {"Invalid AFS format.", "Unable to open selected database", "Invalid character entered",
                             "You can't delete the currently active database"})
        EXPECT_NE(plainText(*messages).find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace lumen::help
