#pragma once
// A database directory: one .ffx file per filter and an "index" caching each file's category,
// title and presets flag. Entries are kept sorted; the index is rewritten after every change.
#include <string>
#include <vector>

#include "filters/database_entry.h"
#include "filters/file_system.h"
#include "filters/filter_definition.h"

namespace lumen::filters {

inline constexpr const char* kIndexFileName = "index";
inline constexpr const char* kCopyOfPrefix = "Copy of ";

struct DatabaseOpenResult {
    bool listed = false;     // the directory could be listed; without it nothing was changed
    bool indexRead = false;  // the whole index was read: the path may be remembered
    // A database folder (its name ends in ".db") whose "index" is absent or ours: only then is
    // anything written or tidied up there.
    bool writable = false;
};

// A directory whose name ends in ".db" (any case).
bool isDatabaseDirectoryName(const std::string& path);

class FilterDatabase {
public:
    explicit FilterDatabase(FileSystem& fs) : fs_(fs) {}

    // Index read, directory listed, unknown files read and added, entries of missing files and
    // placeholders dropped, sorted, index written. `working` loses its presets. In a database
    // folder the open also tidies up after killed processes: their temporary files go, and a
    // filter renamed or moved but not yet rewritten gets its old name back.
    DatabaseOpenResult open(const std::string& databasePath, FilterDefinition* working = nullptr);

    const std::string& path() const { return path_; }
    const std::vector<DatabaseEntry>& entries() const { return entries_; }
    std::string filePathOf(const std::string& fileName) const { return path_ + fileName; }
    // The entry of the file the name gives: the one of exactly that name, otherwise the only one
    // whose name differs from it in case alone.
    const DatabaseEntry* entryNamed(const std::string& fileName) const;
    // Why the last operation that failed did, with the file concerned, for the command line.
    const std::string& lastFailure() const { return failure_; }

    bool writeIndex();
    std::vector<std::string> categories() const { return categoriesOf(entries_); }
    // Filters (not placeholders) of exactly this category, in entry order.
    std::vector<DatabaseEntry> filtersOf(const std::string& category) const;

    // Entries are named by file name (see entryNamed). A new filter never replaces a file of its
    // name unless `replace` says so.
    bool newFilter(FilterDefinition& working, const std::string& category, const std::string& title,
                   bool replace = false);
    bool renameFilter(const std::string& fileName, const std::string& newTitle);
    bool moveFilters(const std::vector<std::string>& fileNames, const std::string& newCategory);
    bool renameCategory(const std::string& oldName, const std::string& newName);
    bool newCategory(const std::string& name);
    bool deleteFilters(const std::vector<std::string>& fileNames);
    bool deleteCategory(const std::string& category);
    bool duplicateFilter(FilterDefinition& working);
    // Saves the working filter after a preset was added or deleted, and keeps the entry's
    // presets flag (and so the index) in step with it.
    bool savePresetChange(const FilterDefinition& working);

private:
    DatabaseEntry* findEntry(const std::string& fileName);
    bool fail(std::string why);
    bool fileFailure(const std::string& action, const std::string& fileName);
    void removeStaleTemporaryFiles(const std::vector<DirectoryItem>& listing);
    std::string restoreInterruptedRename(const FilterDefinition& filter, const std::string& file,
                                         std::vector<DatabaseEntry>& vanished);
    // Files renamed and rewritten; stops at the first file error.
    bool moveEntries(const std::vector<std::string>& fileNames, const std::string& newCategory);
    bool removeEntries(const std::vector<std::string>& fileNames);
    void addOrUpdate(DatabaseEntry entry);
    void sortAndWrite();

    FileSystem& fs_;
    std::string path_;
    std::vector<DatabaseEntry> entries_;
    bool writable_ = false;
    std::string failure_;
};

}  // namespace lumen::filters
