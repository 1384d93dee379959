#pragma once
// Plug-ins made by Filter Factory (.8bf): the filter lies in their "PARM" resource 16, read
// from the file's bytes; the plug-in is never loaded as code and never written.
#include <span>
#include <string>

#include "filters/file_system.h"
#include "filters/filter_definition.h"
#include "filters/import_outcome.h"
#include "filters/parm_record.h"

namespace lumen::filters {

constexpr uint16_t kParmResourceId = 16;
inline constexpr const char* kParmResourceType = "PARM";

// Success only for a PE image with the resource, the right record size and no protection.
bool readFfPlugin(std::span<const uint8_t> image, ParmRecord& record);
bool readFfPluginFile(FileSystem& fs, const std::string& path, ParmRecord& record);

// Read, convert and save under the filter file name of its category and title.
ImportOutcome importFfPlugin(FileSystem& fs, const std::string& path, const std::string& databasePath,
                             FilterDefinition& working);

}  // namespace lumen::filters
