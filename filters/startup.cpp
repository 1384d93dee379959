#include "filters/startup.h"

#include "imaging/module_resources.h"

namespace lumen::filters {

std::string directoryOf(const std::string& path) {
    size_t slash = path.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string defaultDatabasePath(const std::string& databaseRoot) {
    return withTrailingSeparator(databaseRoot + kDefaultDatabaseName);
}

StartupState startUp(SettingsStore& settings, FileSystem& fs, const std::string& modulePath) {
    StartupState state;
    state.gradientTable = imaging::findModuleResource("GRAD", kGradientResourceId);
    state.databaseRoot = directoryOf(modulePath);
    std::string fallback = defaultDatabasePath(state.databaseRoot);
    std::string remembered = readStringSetting(settings, kDatabasePathValue, fallback);
    state.currentDatabasePath =
        fs.directoryExists(remembered) ? withTrailingSeparator(remembered) : fallback;
    return state;
}

DatabaseOpenResult openCurrentDatabase(FilterDatabase& database, SettingsStore& settings,
                                       const std::string& databasePath, FilterDefinition* working) {
    DatabaseOpenResult result = database.open(databasePath, working);
    if (result.indexRead) writeStringSetting(settings, kDatabasePathValue, database.path());
    return result;
}

}  // namespace lumen::filters
