#pragma once
// `lumenforge FORMAT dump FILE` for every file format a reader exists for. Each format's file
// registers its dumper with
//   static const FileDumpRegistration registration{"afs", dumpAfs};
// A dumper returns the JSON of what its reader produced, or nothing with `error` set.
#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "filters/filter_definition.h"

namespace lumen::cli {

using FileDumper = std::optional<nlohmann::json> (*)(const std::string& path, std::string& error);

struct FileDumpFormat {
    const char* format;
    FileDumper dump;
};

std::vector<FileDumpFormat>& fileDumpFormats();

struct FileDumpRegistration {
    FileDumpRegistration(const char* format, FileDumper dump) { fileDumpFormats().push_back({format, dump}); }
};

// 8-bit Windows-1252 text as the UTF-8 that JSON needs.
std::string windows1252ToUtf8(const std::string& text);
// The filter's fields under the code's names; presets without thumbnail details.
nlohmann::json filterToJson(const filters::FilterDefinition& filter);

}  // namespace lumen::cli
