#include "filters/database_entry.h"

#include <gtest/gtest.h>

namespace lumen::filters {
namespace {

TEST(FileNameRule, ExamplesAndTrailingCharacters) {
    EXPECT_EQ(filterFileName("Distort", "Wave 2"), "Distort - Wave 2.ffx");
    EXPECT_EQ(filterFileName("\xC4/B", "x..."), "__B - x.ffx");
    EXPECT_EQ(filterFileName("Cat. ", "T ."), "Cat - T .ffx");
    EXPECT_EQ(filterFileName("a/b", "c:d"), "a_b - c_d.ffx");
    EXPECT_EQ(filterFileName("S\xF6\xE4\xFC\xD6\xDC\xDF", "(x),'y'_0"), "S\xF6\xE4\xFC\xD6\xDC\xDF - (x),'y'_0.ffx");
    EXPECT_EQ(filterFileName("", ""), " - .ffx");
}

TEST(FileNameRule, AlphabetHoldsLettersDigitsUmlautsSharpSAndSixMarks) {
    int count = 0;
    for (int byte = 0; byte < 256; ++byte) count += inFileNameAlphabet(static_cast<char>(byte));
    EXPECT_EQ(count, 26 + 26 + 10 + 6 + 6);
    for (char c : {'.', '-', '/', '\\', ':', '\t', '\0'}) EXPECT_FALSE(inFileNameAlphabet(c)) << int(c);
    EXPECT_FALSE(inFileNameAlphabet('\xC4'));
    EXPECT_FALSE(inFileNameAlphabet('\xE9'));
}

std::vector<DatabaseEntry> entries(std::initializer_list<std::array<const char*, 3>> rows) {
    std::vector<DatabaseEntry> result;
    for (const auto& row : rows) result.push_back({0, row[0], row[1], row[2]});
    return result;
}

std::vector<std::string> titles(const std::vector<DatabaseEntry>& list) {
    std::vector<std::string> result;
    for (const DatabaseEntry& entry : list) result.push_back(entry.title);
    return result;
}

TEST(EntrySorting, FoldsAsciiLettersOnlyAndJoinsTheKeyWithoutSeparators) {
    auto list = entries({{"b", "2", "f"},
                         {"B", "1", "f"},
                         {"a", "\xE4", "f"},
                         {"a", "z", "f"},
                         {"a", "_", "f"},
                         {"ab", "", ""},
                         {"a", "c", "f"}});
    sortEntries(list);
    // "a" + "c" + "f" sorts after "ab": the texts are joined before comparing.
    EXPECT_EQ(titles(list), (std::vector<std::string>{"_", "", "c", "z", "\xE4", "1", "2"}));
}

TEST(EntryGrouping, CaseVariantsGiveSeparateRowsPerRun) {
    auto list = entries({{"Stone", "b", "f"}, {"stone", "c", "f"}, {"Stone", "d", "f"}, {"Wood", "", ""}});
    sortEntries(list);
    EXPECT_EQ(categoriesOf(list), (std::vector<std::string>{"Stone", "stone", "Stone", "Wood"}));
}

TEST(IndexFormat, RoundTripAndTruncationKeepsWhatWasRead) {
    auto list = entries({{"Distort", "Wave", "Distort - Wave.ffx"}, {"New", "", ""}});
    list[0].flags = kEntryHasPresets;
    std::vector<uint8_t> bytes = serializeIndex(list);
    std::vector<DatabaseEntry> read;
    ASSERT_TRUE(parseIndex(bytes, read));
    EXPECT_EQ(read, list);

    size_t firstEntryEnd = 4 + 4 + 7 + 4 + 4 + 4 + 18 + 4;
    for (size_t length = 0; length < bytes.size(); ++length) {
        std::vector<DatabaseEntry> partial;
        EXPECT_FALSE(parseIndex(std::span(bytes).first(length), partial)) << length;
        EXPECT_EQ(partial.size(), length >= firstEntryEnd ? 1u : 0u) << length;
    }
    bytes[0] = 0xFF;
    bytes[3] = 0x7F;
    EXPECT_FALSE(parseIndex(bytes, read));
}

}  // namespace
}  // namespace lumen::filters
