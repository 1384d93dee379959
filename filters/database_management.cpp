#include "filters/database_management.h"

#include <algorithm>

#include "filters/ffx_file.h"
#include "filters/startup.h"

namespace lumen::filters {

namespace {

std::string withoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && (path.back() == kPathSeparator || path.back() == '/')) path.pop_back();
    return path;
}

void dropOldest(std::vector<std::string>& names) {
    if (names.size() > kMaxRecentDatabases)
        names.erase(names.begin(), names.end() - static_cast<std::ptrdiff_t>(kMaxRecentDatabases));
}

}  // namespace

const char* problemMessage(DatabaseProblem problem) {
    switch (problem) {
    case DatabaseProblem::InvalidCharacter:
        return "Invalid character entered";
    case DatabaseProblem::CreateFailed:
        return "Error creating directory. Maybe a database of this name already exists.";
    case DatabaseProblem::InvalidDatabase:
        return "Invalid database selected";
    case DatabaseProblem::UnableToOpen:
        return "Unable to open selected database";
    case DatabaseProblem::DeletingCurrent:
        return "You can't delete the currently active database";
    case DatabaseProblem::None:
    case DatabaseProblem::NothingToDo:
    case DatabaseProblem::NotConfirmed:
        break;
    }
    return "";
}

DatabaseManager::DatabaseManager(FileSystem& fs, SettingsStore& settings, std::string databaseRoot,
                                 FilterDatabase& database, FilterDefinition& working)
    : fs_(fs), settings_(settings), root_(withTrailingSeparator(std::move(databaseRoot))), database_(database),
      working_(working), recent_(readDatabaseList(settings)) {
    if (recent_.empty()) remember(database_.path());
    dropOldest(recent_);
}

void DatabaseManager::remember(const std::string& databasePath) {
    std::string name = "???";
    if (databasePath.size() >= root_.size() && !databasePath.empty()) {
        name = databasePath.substr(root_.size());
        if (!name.empty()) name.pop_back();
    }
    std::erase_if(recent_, [&](const std::string& known) { return equalsIgnoringCase(known, name); });
    recent_.push_back(name);
}

void DatabaseManager::saveRecent() {
    dropOldest(recent_);
    writeDatabaseList(settings_, recent_);
}

void DatabaseManager::openAndRemember(const std::string& databasePath) {
    openCurrentDatabase(database_, settings_, databasePath, &working_);
    remember(database_.path());
}

DatabaseProblem DatabaseManager::createDatabase(const std::string& name) {
    DatabaseProblem problem = DatabaseProblem::None;
    if (name.empty())
        problem = DatabaseProblem::NothingToDo;
    else if (!std::all_of(name.begin(), name.end(), inFileNameAlphabet))
        problem = DatabaseProblem::InvalidCharacter;
    else if (!fs_.createDirectory(root_ + name + kDatabaseExtension))
        problem = DatabaseProblem::CreateFailed;
    if (problem == DatabaseProblem::None) {
        if (!working_.filePath.empty()) writeFfxFile(fs_, working_, true);
        database_.writeIndex();
        working_.clear();
        openAndRemember(withTrailingSeparator(root_ + name + kDatabaseExtension));
    }
    saveRecent();
    return problem;
}

DatabaseProblem DatabaseManager::openDatabase(const std::string& chosenDirectory) {
    const std::string directory = withoutTrailingSeparators(chosenDirectory);
    DatabaseProblem problem = isDatabaseDirectoryName(directory) ? DatabaseProblem::None : DatabaseProblem::InvalidDatabase;
    if (problem == DatabaseProblem::None) openAndRemember(withTrailingSeparator(directory));
    saveRecent();
    return problem;
}

DatabaseProblem DatabaseManager::switchDatabase(const std::string& name) {
    const std::string path = withTrailingSeparator(root_ + name);
    DatabaseProblem problem = DatabaseProblem::UnableToOpen;
    if (fs_.directoryExists(path)) {
        openCurrentDatabase(database_, settings_, path, &working_);
        problem = DatabaseProblem::None;
    }
    saveRecent();
    return problem;
}

bool DatabaseManager::isCurrent(const std::string& directory) const {
    return equalsIgnoringCase(withoutTrailingSeparators(database_.path()), withoutTrailingSeparators(directory));
}

DatabaseProblem DatabaseManager::deleteDatabase(const std::string& chosenDirectory,
                                                const std::function<bool()>& confirm) {
    const std::string directory = withoutTrailingSeparators(chosenDirectory);
    DatabaseProblem problem = DatabaseProblem::None;
    if (!isDatabaseDirectoryName(directory))
        problem = DatabaseProblem::InvalidDatabase;
    else if (isCurrent(directory))
        problem = DatabaseProblem::DeletingCurrent;
    else if (!confirm())
        problem = DatabaseProblem::NotConfirmed;
    else
        fs_.removeTree(directory);  // errors are not reported
    saveRecent();
    return problem;
}

std::vector<RecentDatabaseItem> DatabaseManager::recentMenu() const {
    std::vector<RecentDatabaseItem> items;
    for (const std::string& name : recent_) {
        const std::string path = root_ + name;
        items.push_back({name, isCurrent(path), fs_.directoryExists(path)});
    }
    return items;
}

std::vector<std::string> DatabaseManager::copyTargets() const {
    std::vector<std::string> names;
    for (const RecentDatabaseItem& item : recentMenu())
        if (!item.current && item.exists) names.push_back(item.name);
    return names;
}

size_t DatabaseManager::copyFiltersTo(const std::vector<DatabaseEntry>& entries, const std::string& databaseName) {
    size_t copied = 0;
    // A name from the list beside the current one, never a way out of the root.
    if (!isPlainName(databaseName) || !isDatabaseDirectoryName(databaseName)) return copied;
    const std::string target = withTrailingSeparator(root_ + databaseName);
    for (const DatabaseEntry& entry : entries) {
        const std::optional<std::vector<uint8_t>> bytes = fs_.readFile(database_.filePathOf(entry.fileName));
        if (bytes && fs_.writeFileAtomic(target + filterFileName(entry.category, entry.title), *bytes)) ++copied;
    }
    return copied;
}

}  // namespace lumen::filters
