#pragma once
// Filter Factory's text files (.afs, "%RGB-1.0"): read into a parameter record and imported as a
// new filter of the current database.
#include <span>
#include <string>

#include "filters/file_system.h"
#include "filters/filter_definition.h"
#include "filters/import_outcome.h"
#include "filters/parm_record.h"

namespace lumen::filters {

inline constexpr const char* kAfsMagic = "%RGB-1.0";
inline constexpr const char* kAfsImportCategory = "[AFS IMPORT]";
// Longest expression accepted, counted after the escape texts are removed.
constexpr size_t kMaxAfsExpressionLength = 1022;

// Lines end at a carriage return only (a line feed is an ordinary byte), so a file with CR LF
// line ends never shows the empty line that ends an expression and is refused at its end.
bool readAfs(std::span<const uint8_t> bytes, ParmRecord& record);
bool readAfsFile(FileSystem& fs, const std::string& path, ParmRecord& record);

// Read, convert, name the filter after the file and save it into the database directory.
ImportOutcome importAfs(FileSystem& fs, const std::string& path, const std::string& databasePath,
                        FilterDefinition& working);

// The file's name without directory and extension: the title of an imported .afs filter.
std::string fileTitleOf(const std::string& path);

}  // namespace lumen::filters
