#pragma once
// Several databases side by side in the database root: creating, opening, switching and deleting
// them, the list of recently used ones, and copying filters into another database.
#include <functional>
#include <string>
#include <vector>

#include "filters/database_entry.h"
#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "filters/filter_definition.h"
#include "filters/settings_store.h"

namespace lumen::filters {

constexpr size_t kMaxRecentDatabases = 12;
inline constexpr const char* kDatabaseExtension = ".db";

// Why an operation ended without doing its work; each has a message text, shown by the caller.
enum class DatabaseProblem {
    None,
    NothingToDo,          // an empty name: the dialog just stays open
    InvalidCharacter,     // "Invalid character entered"
    CreateFailed,         // "Error creating directory. ..."
    InvalidDatabase,      // "Invalid database selected"
    UnableToOpen,         // "Unable to open selected database"
    DeletingCurrent,      // "You can't delete the currently active database"
    NotConfirmed,         // the user answered No
};
const char* problemMessage(DatabaseProblem problem);

inline constexpr const char* kSelectDatabasePrompt = "Please select a database";
inline constexpr const char* kSelectDatabaseToDeletePrompt = "Please select a database to delete";
inline constexpr const char* kConfirmDeleteDatabaseQuestion = "Are you sure you want to delete the entire database?";

struct RecentDatabaseItem {
    std::string name;
    bool current = false;  // shown checked
    bool exists = false;   // shown greyed when false
};

class DatabaseManager {
public:
    // `database` is the current database, open at its path; `working` the navigator's filter.
    DatabaseManager(FileSystem& fs, SettingsStore& settings, std::string databaseRoot, FilterDatabase& database,
                    FilterDefinition& working);

    // The Database menu's operations. Each saves the recent list afterwards, whatever happened.
    DatabaseProblem createDatabase(const std::string& name);
    DatabaseProblem openDatabase(const std::string& chosenDirectory);
    DatabaseProblem switchDatabase(const std::string& name);
    // `confirm` asks kConfirmDeleteDatabaseQuestion. Links, junctions and other file systems
    // mounted inside are never followed: only what lies in the directory itself is deleted.
    DatabaseProblem deleteDatabase(const std::string& chosenDirectory, const std::function<bool()>& confirm);

    // The recent list as loaded (oldest first): the stored one, or the current database alone.
    const std::vector<std::string>& recentDatabases() const { return recent_; }
    std::vector<RecentDatabaseItem> recentMenu() const;
    // Names the current database's filters can be copied to: existing databases but the current.
    std::vector<std::string> copyTargets() const;
    // Each file copied under the filter file name rule; a failed copy is skipped. The number
    // copied.
    size_t copyFiltersTo(const std::vector<DatabaseEntry>& entries, const std::string& databaseName);

    void remember(const std::string& databasePath);
    void saveRecent();

private:
    bool isCurrent(const std::string& directory) const;
    void openAndRemember(const std::string& databasePath);

    FileSystem& fs_;
    SettingsStore& settings_;
    std::string root_;
    FilterDatabase& database_;
    FilterDefinition& working_;
    std::vector<std::string> recent_;
};

}  // namespace lumen::filters
