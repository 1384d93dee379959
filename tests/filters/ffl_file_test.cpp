#include "filters/ffl_file.h"

#include <gtest/gtest.h>

#include "filters/ffx_file.h"
#include "test_support.h"

using namespace lumen::filters;
using lumen::filters::testing::ScratchDirectory;

namespace {

// The 29 lines of one block, numbered into every text.
std::vector<std::string> block(int n) {
    const std::string s = std::to_string(n);
    std::vector<std::string> lines = {"src" + s, "Cat" + s, "Title" + s, "Author" + s, "Copy" + s,
                                      "m0", "m1", "m2", "m3"};
    for (int i = 0; i < 8; ++i) lines.push_back(i == 3 ? "" : "Label" + std::to_string(i));
    for (int i = 0; i < 8; ++i) lines.push_back(std::to_string(i == 3 ? 0 : n * 10 + i));
    for (const char* f : {"r", "g", "b", "a"}) lines.push_back(std::string(f) + "+" + s);
    return lines;
}

std::vector<uint8_t> library(const std::string& count, const std::vector<std::string>& lines,
                             const std::string& end = "\r\n") {
    std::string text = "FFL1.0" + end + count + end;
    for (const std::string& line : lines) text += line + end;
    return {text.begin(), text.end()};
}

std::vector<std::string> blocks(int count) {
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n) {
        const std::vector<std::string> b = block(n);
        lines.insert(lines.end(), b.begin(), b.end());
    }
    return lines;
}

}  // namespace

TEST(FflRead, ReadsBlocksWithEitherLineEnd) {
    for (const std::string end : {"\r\n", "\n"}) {
        const FilterLibrary lib = parseFilterLibrary(library(" 2", blocks(2), end));
        ASSERT_EQ(lib.status, LibraryStatus::Loaded);
        ASSERT_EQ(lib.entries.size(), 2u);
        const FilterLibraryEntry& second = lib.entries[1];
        EXPECT_EQ(second.sourceName, "src2");
        EXPECT_EQ(second.category, "Cat2");
        EXPECT_EQ(second.title, "Title2");
        EXPECT_EQ(second.copyright, "Copy2");
        EXPECT_EQ(second.mapName[3], "m3");
        EXPECT_EQ(second.controlLabel[7], "Label7");
        EXPECT_EQ(second.controlValue[7], 27);
        EXPECT_EQ(second.formula[3], "a+2");
    }
}

TEST(FflRead, CountDecidesTheEntriesMissingLinesAreEmpty) {
    // Three announced, one and a half present.
    std::vector<std::string> lines = blocks(2);
    lines.resize(29 + 10);
    const FilterLibrary lib = parseFilterLibrary(library("3", lines));
    ASSERT_EQ(lib.entries.size(), 3u);
    EXPECT_EQ(lib.entries[1].controlLabel[0], "Label0");
    EXPECT_EQ(lib.entries[1].controlLabel[1], "");
    EXPECT_EQ(lib.entries[1].controlValue[0], 0);
    EXPECT_EQ(lib.entries[2].title, "");
    // Lines after the counted blocks are ignored.
    EXPECT_EQ(parseFilterLibrary(library("1", blocks(3))).entries.size(), 1u);
    EXPECT_EQ(parseFilterLibrary(library("0", blocks(3))).entries.size(), 0u);
    EXPECT_EQ(parseFilterLibrary(library("-4", blocks(1))).entries.size(), 0u);
}

// A count the file's lines cannot hold is a broken library, not millions of empty filters.
TEST(FflRead, ACountLargerThanTheLinesLeftIsABrokenLibrary) {
    const FilterLibrary lying = parseFilterLibrary(library("2147483647", {}));
    EXPECT_EQ(lying.status, LibraryStatus::Broken);
    EXPECT_TRUE(lying.entries.empty());
    EXPECT_EQ(lying.claimedCount, 2147483647);
    EXPECT_EQ(libraryProblem("l.ffl", lying), "l.ffl: a broken library: it claims 2147483647 filters but holds only 0 more lines");
    EXPECT_EQ(parseFilterLibrary(library("4", {"a", "b", "c"})).status, LibraryStatus::Broken);
    // As many filters as lines left still reads, the missing lines empty; so does a last line
    // without its line end.
    EXPECT_EQ(parseFilterLibrary(library("3", {"a", "b", "c"})).entries.size(), 3u);
    const std::string unended = "FFL1.0\n2\nsrc\nCat";
    EXPECT_EQ(parseFilterLibrary(std::vector<uint8_t>(unended.begin(), unended.end())).entries.size(), 2u);
}

TEST(FflRead, WrongFirstLineOrUnreadableFile) {
    std::vector<uint8_t> bytes = library("1", blocks(1));
    bytes[0] = 'f';
    EXPECT_EQ(parseFilterLibrary(bytes).status, LibraryStatus::Unsupported);
    EXPECT_TRUE(parseFilterLibrary(bytes).entries.empty());
    EXPECT_EQ(parseFilterLibrary({}).status, LibraryStatus::Unsupported);
    EXPECT_EQ(loadFilterLibrary(nativeFileSystem(), "/nonexistent/lib.ffl").status, LibraryStatus::ReadError);
}

TEST(FflRead, RowNumbersKeepFourCharacters) {
    EXPECT_EQ(libraryRowNumber(0), "   1");
    EXPECT_EQ(libraryRowNumber(41), "  42");
    EXPECT_EQ(libraryRowNumber(9998), "9999");
    EXPECT_EQ(libraryRowNumber(9999), "0000");
    EXPECT_EQ(libraryRowNumber(12344), "2345");
}

TEST(FflImport, ConvertsAndSavesThePickedEntriesInOrder) {
    const FilterLibrary lib = parseFilterLibrary(library("10", blocks(10)));
    FilterDefinition working;
    convertLibraryEntry(lib.entries[0], working);
    EXPECT_EQ(working.author, "Author1");
    EXPECT_EQ(working.code, (std::array<std::string, 5>{"0", "r+1", "g+1", "b+1", "a+1"}));
    EXPECT_EQ(working.controlDefault[2], 12);
    // Control 3 has no label and value 0; a value alone or a label alone enables.
    EXPECT_EQ(working.controlEnabled, (std::array<uint8_t, 8>{1, 1, 1, 0, 1, 1, 1, 1}));
    FilterLibraryEntry valueOnly = lib.entries[0];
    valueOnly.controlValue[3] = 5;
    convertLibraryEntry(valueOnly, working);
    EXPECT_EQ(working.controlEnabled[3], 1);

    ScratchDirectory scratch;
    const std::vector<FilterLibraryEntry> picked = {lib.entries[1], lib.entries[4]};
    importLibraryEntries(nativeFileSystem(), picked, scratch.path(), working);
    EXPECT_EQ(working.title, "Title5");
    auto items = nativeFileSystem().listDirectory(scratch.path());
    ASSERT_TRUE(items);
    EXPECT_EQ(items->size(), 2u);
    FilterDefinition loaded;
    ASSERT_TRUE(loadFfxFile(nativeFileSystem(), scratch.file("Cat2 - Title2.ffx"), loaded));
    EXPECT_EQ(loaded.code[4], "a+2");
    EXPECT_TRUE(nativeFileSystem().fileExists(scratch.file("Cat5 - Title5.ffx")));

    // Equal category and title: the later entry wins.
    FilterLibraryEntry later = lib.entries[1];
    later.formula[0] = "255";
    importLibraryEntries(nativeFileSystem(), std::vector{lib.entries[1], later}, scratch.path(), working);
    ASSERT_TRUE(loadFfxFile(nativeFileSystem(), scratch.file("Cat2 - Title2.ffx"), loaded));
    EXPECT_EQ(loaded.code[1], "255");
}

TEST(FflImport, EntriesOfOneFileAreSavedOnceAndFailedSavesAreReported) {
    ScratchDirectory scratch;
    lumen::filters::testing::FaultyFileSystem fs;
    const std::vector<FilterLibraryEntry> empties(500);
    FilterDefinition working;
    EXPECT_TRUE(importLibraryEntries(fs, empties, scratch.path(), working));
    EXPECT_EQ(fs.writes, 1);

    const FilterLibrary lib = parseFilterLibrary(library("3", blocks(3)));
    fs.failWrite = [](const std::string& path) { return path.find("Title1") == std::string::npos; };
    const ImportOutcome outcome = importLibraryEntries(fs, lib.entries, scratch.path(), working);
    EXPECT_EQ(outcome.failure, ImportFailure::NotSaved);
    EXPECT_EQ(outcome.detail.rfind("cannot write " + scratch.file("Cat2 - Title2.ffx"), 0), 0u) << outcome.detail;
    EXPECT_NE(outcome.detail.find("(and 1 more filters not saved)"), std::string::npos);
    EXPECT_TRUE(fs.fileExists(scratch.file("Cat1 - Title1.ffx")));
}
