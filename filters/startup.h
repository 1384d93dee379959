#pragma once
// What the plug-in settles once when it is loaded: where its databases live, the gradient
// table, and which database is current.
#include <cstdint>
#include <span>
#include <string>

#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "filters/settings_store.h"

namespace lumen::filters {

constexpr int kGradientResourceId = 175;

// Full path of the binary that holds this code (the plug-in, or the program linking it).
std::string moduleFilePath();
// The directory part of a path, with its separator; empty when there is none.
std::string directoryOf(const std::string& path);

struct StartupState {
    std::string databaseRoot;         // the plug-in's folder, ending in a separator
    std::string currentDatabasePath;  // ending in a separator
    std::span<const uint8_t> gradientTable;  // empty when the resource is missing
};

std::string defaultDatabasePath(const std::string& databaseRoot);
// The remembered database when its directory still exists, else the default one (never made).
StartupState startUp(SettingsStore& settings, FileSystem& fs, const std::string& modulePath);

// Opens the database and remembers its path once its index was read whole.
DatabaseOpenResult openCurrentDatabase(FilterDatabase& database, SettingsStore& settings,
                                       const std::string& databasePath,
                                       FilterDefinition* working = nullptr);

}  // namespace lumen::filters
