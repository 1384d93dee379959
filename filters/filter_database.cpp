#include "filters/filter_database.h"

#include <algorithm>
#include <unordered_set>

#include "filters/ffx_file.h"
#include "filters/ffx_format.h"

namespace lumen::filters {
namespace {

std::string foldedName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = foldCase(c);
    return folded;
}

bool isFfxFileName(const std::string& name) {
    return name.size() > 4 && equalsIgnoringCase(std::string_view(name).substr(name.size() - 4), ".ffx");
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

DatabaseOpenResult FilterDatabase::open(const std::string& databasePath, FilterDefinition* working) {
    DatabaseOpenResult result;
    std::optional<std::vector<DirectoryItem>> listing =
        fs_.listDirectory(withTrailingSeparator(databasePath));
    if (!listing) return result;
    result.listed = true;
    entries_.clear();
    if (working) working->presets.clear();
    path_ = withTrailingSeparator(databasePath);

    if (std::optional<std::vector<uint8_t>> index = fs_.readFile(path_ + kIndexFileName))
        result.indexRead = parseIndex(*index, entries_);

    std::unordered_set<std::string> listed, known;
    for (const DatabaseEntry& entry : entries_) known.insert(foldedName(entry.fileName));
    for (const DirectoryItem& item : *listing) {
        if (item.isDirectory || !isFfxFileName(item.name)) continue;
        listed.insert(foldedName(item.name));
        if (known.count(foldedName(item.name))) continue;
        FilterDefinition filter;
        if (!loadFfxFile(fs_, path_ + item.name, filter)) continue;
        entries_.push_back({filter.presets.empty() ? 0u : kEntryHasPresets, filter.category,
                            filter.title, item.name});
        known.insert(foldedName(item.name));
    }
    // Entries of files that are gone (placeholders among them) go, and so does any second entry
    // an index holds for one file.
    std::unordered_set<std::string> kept;
    std::erase_if(entries_, [&](const DatabaseEntry& entry) {
        std::string name = foldedName(entry.fileName);
        return !listed.count(name) || !kept.insert(name).second;
    });
    sortAndWrite();
    return result;
}

bool FilterDatabase::writeIndex() {
    if (path_.empty()) return false;
    return fs_.writeFileAtomic(path_ + kIndexFileName, serializeIndex(entries_));
}

std::vector<DatabaseEntry> FilterDatabase::filtersOf(const std::string& category) const {
    std::vector<DatabaseEntry> filters;
    for (const DatabaseEntry& entry : entries_)
        if (entry.category == category && !entry.title.empty()) filters.push_back(entry);
    return filters;
}

DatabaseEntry* FilterDatabase::findEntry(const std::string& fileName) {
    if (fileName.empty()) return nullptr;
    for (DatabaseEntry& entry : entries_)
        if (equalsIgnoringCase(entry.fileName, fileName)) return &entry;
    return nullptr;
}

void FilterDatabase::addOrUpdate(DatabaseEntry entry) {
    // One entry per file: saving over an existing file updates its entry.
    if (DatabaseEntry* existing = findEntry(entry.fileName))
        *existing = std::move(entry);
    else
        entries_.push_back(std::move(entry));
}

void FilterDatabase::sortAndWrite() {
    sortEntries(entries_);
    // A failed index write is repaired by the next open; the files are what counts.
    writeIndex();
}

bool FilterDatabase::newFilter(FilterDefinition& working, const std::string& category,
                               const std::string& title) {
    if (title.empty() || path_.empty()) return false;
    std::string fileName = filterFileName(category, title);
    working.fillAsNew(category, title, path_ + fileName);
    if (!writeFfxFile(fs_, working)) return false;
    addOrUpdate({0, category, title, fileName});
    sortAndWrite();
    return true;
}

bool FilterDatabase::renameFilter(const std::string& fileName, const std::string& newTitle) {
    DatabaseEntry* entry = findEntry(fileName);
    if (!entry || newTitle.empty() || newTitle.size() > kMaxFfxStringLength) return false;
    std::string newFileName = filterFileName(entry->category, newTitle);
    if (newFileName != entry->fileName &&
        !fs_.renameNoReplace(path_ + entry->fileName, path_ + newFileName))
        return false;
    entry->title = newTitle;
    entry->fileName = newFileName;
    bool ok = rewriteFfxTitleAndCategory(fs_, path_ + newFileName, newTitle, entry->category);
    sortAndWrite();
    return ok;
}

bool FilterDatabase::moveEntries(const std::vector<std::string>& fileNames,
                                 const std::string& newCategory) {
    if (newCategory.size() > kMaxFfxStringLength) return false;
    for (const std::string& fileName : fileNames) {
        DatabaseEntry* entry = findEntry(fileName);
        if (!entry) return false;
        std::string newFileName = filterFileName(newCategory, entry->title);
        if (newFileName != entry->fileName &&
            !fs_.renameNoReplace(path_ + entry->fileName, path_ + newFileName))
            return false;
        entry->category = newCategory;
        entry->fileName = newFileName;
        if (!rewriteFfxTitleAndCategory(fs_, path_ + newFileName, entry->title, newCategory))
            return false;
    }
    return true;
}

bool FilterDatabase::moveFilters(const std::vector<std::string>& fileNames,
                                 const std::string& newCategory) {
    if (!moveEntries(fileNames, newCategory)) return false;
    sortAndWrite();
    return true;
}

bool FilterDatabase::renameCategory(const std::string& oldName, const std::string& newName) {
    if (newName.empty()) return false;
    std::vector<std::string> fileNames;
    for (const DatabaseEntry& entry : filtersOf(oldName)) fileNames.push_back(entry.fileName);
    if (!moveEntries(fileNames, newName)) return false;
    for (DatabaseEntry& entry : entries_)
        if (entry.category == oldName) entry.category = newName;
    sortAndWrite();
    return true;
}

bool FilterDatabase::newCategory(const std::string& name) {
    if (name.empty() || name.size() > kMaxFfxStringLength) return false;
    std::vector<std::string> existing = categories();
    if (std::find(existing.begin(), existing.end(), name) != existing.end()) return false;
    entries_.push_back({0, name, "", ""});
    sortAndWrite();
    return true;
}

bool FilterDatabase::removeEntries(const std::vector<std::string>& fileNames) {
    for (const std::string& fileName : fileNames) {
        DatabaseEntry* entry = findEntry(fileName);
        if (!entry || !fs_.removeFile(path_ + entry->fileName)) return false;
        entries_.erase(entries_.begin() + (entry - entries_.data()));
    }
    return true;
}

bool FilterDatabase::deleteFilters(const std::vector<std::string>& fileNames) {
    if (!removeEntries(fileNames)) return false;
    sortAndWrite();
    return true;
}

bool FilterDatabase::deleteCategory(const std::string& category) {
    std::vector<std::string> fileNames;
    for (const DatabaseEntry& entry : filtersOf(category)) fileNames.push_back(entry.fileName);
    if (!removeEntries(fileNames)) return false;
    std::erase_if(entries_, [&](const DatabaseEntry& entry) { return entry.category == category; });
    sortAndWrite();
    return true;
}

bool FilterDatabase::duplicateFilter(FilterDefinition& working) {
    if (path_.empty()) return false;
    std::string oldTitle = working.title, oldPath = working.filePath;
    working.title = kCopyOfPrefix + oldTitle;
    std::string fileName = filterFileName(working.category, working.title);
    if (!saveFfxAs(fs_, working, path_ + fileName)) {
        working.title = oldTitle;
        working.filePath = oldPath;
        return false;
    }
    addOrUpdate({working.presets.empty() ? 0u : kEntryHasPresets, working.category, working.title,
                 fileName});
    sortAndWrite();
    return true;
}

bool FilterDatabase::savePresetChange(const FilterDefinition& working) {
    if (!writeFfxFile(fs_, working)) return false;
    DatabaseEntry* entry = findEntry(baseName(working.filePath));
    if (!entry) return true;
    uint32_t flags = working.presets.empty() ? entry->flags & ~kEntryHasPresets
                                             : entry->flags | kEntryHasPresets;
    if (flags != entry->flags) {
        entry->flags = flags;
        writeIndex();
    }
    return true;
}

}  // namespace lumen::filters
