#pragma once
// .ffx files on disk. Every write goes through a temporary file, so a failed save keeps the
// old file whole.
#include <string>
#include <string_view>

#include "filters/file_system.h"
#include "filters/filter_definition.h"

namespace lumen::filters {

// Loads the file into `filter` and sets its filePath. A filter marked restored is left as it
// is (success). On failure `filter` is unchanged.
bool readFfxFile(FileSystem& fs, const std::string& path, FilterDefinition& filter);
// The database scan: reads into a record of its own, whatever the restored mark.
bool loadFfxFile(FileSystem& fs, const std::string& path, FilterDefinition& filter);

// Saves to filter.filePath; without presets the file holds none, memory keeps them.
bool writeFfxFile(FileSystem& fs, const FilterDefinition& filter, bool withPresets = true);
bool saveFfxAs(FileSystem& fs, FilterDefinition& filter, const std::string& path);
// Saves to filter.filePath only when no file is there yet.
bool writeNewFfxFile(FileSystem& fs, const FilterDefinition& filter);

// The working filter's operations that end in a save.
bool setAsDefault(FileSystem& fs, FilterDefinition& filter);
bool saveEdit(FileSystem& fs, FilterDefinition& filter, const FilterEdit& edit);

bool rewriteFfxTitleAndCategory(FileSystem& fs, const std::string& path, std::string_view title,
                                std::string_view category);
bool looksLikeFfxFile(FileSystem& fs, const std::string& path);

}  // namespace lumen::filters
