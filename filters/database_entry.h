#pragma once
// Rows of a database index, the filter file name rule and the order entries are kept in.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumen::filters {

constexpr uint32_t kEntryHasPresets = 1;

struct DatabaseEntry {
    uint32_t flags = 0;
    std::string category;
    std::string title;
    std::string fileName;  // empty for a category placeholder

    bool hasPresets() const { return (flags & kEntryHasPresets) != 0; }
    bool isPlaceholder() const { return fileName.empty(); }
    bool operator==(const DatabaseEntry&) const = default;
};

// The characters a file name may keep; every other one becomes '_'.
bool inFileNameAlphabet(char c);
// category + " - " + title + ".ffx", each with trailing spaces then trailing full stops removed.
std::string filterFileName(std::string_view category, std::string_view title);

// Case-insensitive (ASCII letters only) comparison of category + title + fileName.
int compareEntryKeys(const DatabaseEntry& a, const DatabaseEntry& b);
// Shell sort, gaps 1, 4, 13, 40, ...
void sortEntries(std::vector<DatabaseEntry>& entries);

// Category names in entry order: a new row wherever the category differs, case-sensitively,
// from the row before.
std::vector<std::string> categoriesOf(std::span<const DatabaseEntry> entries);

// The index file: count, then category, title, fileName (FFX strings) and flags per entry.
std::vector<uint8_t> serializeIndex(std::span<const DatabaseEntry> entries);
// Appends what could be read to `entries`; true only when the whole index was read.
bool parseIndex(std::span<const uint8_t> bytes, std::vector<DatabaseEntry>& entries);

}  // namespace lumen::filters
