#pragma once
// Filter libraries (.ffl, "FFL1.0"): many Filter Factory filters in one text file, 29 lines each.
#include <array>
#include <span>
#include <string>
#include <vector>

#include "filters/file_system.h"
#include "filters/filter_definition.h"
#include "filters/import_outcome.h"

namespace lumen::filters {

inline constexpr const char* kFflMagic = "FFL1.0";
inline constexpr const char* kUnsupportedLibraryMessage = "Unsupported library";
inline constexpr const char* kErrorReadingFileMessage = "Error reading file";
constexpr int kLibraryBlockLines = 29;
// A count past this is taken as this many: the count is the file's word, and missing lines
// read as empty, so an absurd count would otherwise ask for endless empty entries.
constexpr size_t kMaxLibraryEntries = 65536;

struct FilterLibraryEntry {
    std::string sourceName;  // kept, not used
    std::string category;
    std::string title;
    std::string author;
    std::string copyright;
    std::array<std::string, 4> mapName;  // kept, not used
    std::array<std::string, kControlCount> controlLabel;
    ControlValues controlValue{};
    std::array<std::string, 4> formula;  // red, green, blue, alpha
};

// Broken: the count claims more filters than the file has lines left, so most entries would be
// made of nothing (a 20-byte file could claim millions).
enum class LibraryStatus { Loaded, Unsupported, ReadError, Broken };

struct FilterLibrary {
    LibraryStatus status = LibraryStatus::Loaded;
    std::vector<FilterLibraryEntry> entries;  // file order
    int32_t claimedCount = 0;                 // line 2
    size_t linesAfterCount = 0;
};

// Lines end at a line feed, a carriage return before it dropped; a line stops at a zero byte.
FilterLibrary parseFilterLibrary(std::span<const uint8_t> bytes);
FilterLibrary loadFilterLibrary(FileSystem& fs, const std::string& path);
// What went wrong with a library that did not load, and with which file, for the command line.
std::string libraryProblem(const std::string& path, const FilterLibrary& library);

// The list's "No." column for block `index` (from 0): the number right-aligned in four
// characters, higher numbers keeping only their last four digits.
std::string libraryRowNumber(size_t index);

// Into the working filter: texts, labels, values (current and stored), Code0 = "0" and the four
// formulas, gradient 0; a control is enabled when it has a label or a non-zero value.
void convertLibraryEntry(const FilterLibraryEntry& entry, FilterDefinition& working);
// Each entry in turn converted and saved under its filter file name; a failed save does not stop
// the others. Of entries that name one file only the last is saved: the later one wins anyway.
ImportOutcome importLibraryEntries(FileSystem& fs, std::span<const FilterLibraryEntry> entries,
                                   const std::string& databasePath, FilterDefinition& working);

}  // namespace lumen::filters
