#include "filters/filter_database.h"

#include <algorithm>
#include <unordered_map>
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

}  // namespace

bool isDatabaseDirectoryName(const std::string& path) {
    std::string_view name = path;
    while (!name.empty() && (name.back() == kPathSeparator || name.back() == '/')) name.remove_suffix(1);
    return name.size() >= 3 && equalsIgnoringCase(name.substr(name.size() - 3), ".db");
}

DatabaseOpenResult FilterDatabase::open(const std::string& databasePath, FilterDefinition* working) {
    DatabaseOpenResult result;
    failure_.clear();
    std::optional<std::vector<DirectoryItem>> listing =
        fs_.listDirectory(withTrailingSeparator(databasePath));
    if (!listing) {
        fail("cannot list " + databasePath + ": " + lastFileError());
        return result;
    }
    result.listed = true;
    entries_.clear();
    if (working) working->presets.clear();
    path_ = withTrailingSeparator(databasePath);

    // A file named "index" that is not one of ours (a pipe, git's index) is neither trusted nor
    // ever replaced. A partly readable one is ours: an older writer could leave it cut short.
    bool indexOurs = true;
    auto indexItem = std::find_if(listing->begin(), listing->end(),
                                  [](const DirectoryItem& item) { return item.name == kIndexFileName; });
    if (indexItem != listing->end()) {
        std::optional<std::vector<uint8_t>> index;
        if (indexItem->isRegularFile) index = fs_.readFile(path_ + kIndexFileName);
        if (index) result.indexRead = parseIndex(*index, entries_);
        indexOurs = index && (result.indexRead || index->empty() || !entries_.empty());
        if (!indexOurs) entries_.clear();
    }
    writable_ = result.writable = isDatabaseDirectoryName(path_) && indexOurs;
    if (writable_) removeStaleTemporaryFiles(*listing);

    std::vector<std::string> files;
    for (const DirectoryItem& item : *listing)
        if (item.isRegularFile && isFfxFileName(item.name)) files.push_back(item.name);
    const std::unordered_set<std::string> present(files.begin(), files.end());

    // Each file has at most one entry. An entry names its file exactly; only one that names no
    // file may take a file whose name differs in case alone (an index written on Windows).
    std::unordered_set<std::string> claimed;
    std::vector<bool> kept(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i)
        kept[i] = present.count(entries_[i].fileName) && claimed.insert(entries_[i].fileName).second;
    std::unordered_multimap<std::string, const std::string*> byFoldedName;
    for (const std::string& file : files)
        if (!claimed.count(file)) byFoldedName.emplace(foldedName(file), &file);
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (kept[i] || entries_[i].isPlaceholder()) continue;
        auto [first, last] = byFoldedName.equal_range(foldedName(entries_[i].fileName));
        for (auto candidate = first; candidate != last; ++candidate) {
            if (!claimed.insert(*candidate->second).second) continue;
            entries_[i].fileName = *candidate->second;
            kept[i] = true;
            break;
        }
    }
    std::vector<DatabaseEntry> vanished, entries;
    for (size_t i = 0; i < entries_.size(); ++i)
        (kept[i] ? entries : vanished).push_back(std::move(entries_[i]));
    entries_ = std::move(entries);

    for (const std::string& file : files) {
        if (claimed.count(file)) continue;
        FilterDefinition filter;
        if (!loadFfxFile(fs_, path_ + file, filter)) continue;
        std::string name = file;
        if (writable_) name = restoreInterruptedRename(filter, file, vanished);
        entries_.push_back({filter.presets.empty() ? 0u : kEntryHasPresets, filter.category, filter.title, name});
    }
    sortAndWrite();
    return result;
}

// A rename or move renames the file, then rewrites the title or category inside it. Killed in
// between, it leaves a file under its new name that still holds the old title and category,
// while the index still has them under the old name: the file gets that old name back.
std::string FilterDatabase::restoreInterruptedRename(const FilterDefinition& filter, const std::string& file,
                                                     std::vector<DatabaseEntry>& vanished) {
    for (auto entry = vanished.begin(); entry != vanished.end(); ++entry) {
        if (entry->isPlaceholder() || entry->category != filter.category || entry->title != filter.title ||
            entry->fileName == file || !isPlainName(entry->fileName) || !isFfxFileName(entry->fileName))
            continue;
        // Renamed: the category's part of the name is the old one; moved: the title's part is.
        const std::string categoryPart = filterFileName(entry->category, "");
        const std::string titlePart = filterFileName("", entry->title);
        const bool renamed = file.starts_with(categoryPart.substr(0, categoryPart.size() - 4));
        const bool moved = file.ends_with(titlePart);
        if (!renamed && !moved) continue;
        if (!fs_.renameNoReplace(path_ + file, path_ + entry->fileName)) return file;
        std::string restored = entry->fileName;
        vanished.erase(entry);
        return restored;
    }
    return file;
}

void FilterDatabase::removeStaleTemporaryFiles(const std::vector<DirectoryItem>& listing) {
    for (const DirectoryItem& item : listing) {
        const std::optional<uint32_t> owner = temporaryFileOwner(item.name);
        if (item.isRegularFile && owner && !processIsRunning(*owner)) fs_.removeFile(path_ + item.name);
    }
}

bool FilterDatabase::fail(std::string why) {
    failure_ = std::move(why);
    return false;
}

bool FilterDatabase::fileFailure(const std::string& action, const std::string& fileName) {
    return fail("cannot " + action + " " + path_ + fileName + ": " + lastFileError());
}

bool FilterDatabase::writeIndex() {
    if (path_.empty() || !writable_) return false;
    return fs_.writeFileAtomic(path_ + kIndexFileName, serializeIndex(entries_));
}

std::vector<DatabaseEntry> FilterDatabase::filtersOf(const std::string& category) const {
    std::vector<DatabaseEntry> filters;
    for (const DatabaseEntry& entry : entries_)
        if (entry.category == category && !entry.title.empty()) filters.push_back(entry);
    return filters;
}

const DatabaseEntry* FilterDatabase::entryNamed(const std::string& fileName) const {
    if (fileName.empty()) return nullptr;
    const DatabaseEntry* differingInCase = nullptr;
    int caseMatches = 0;
    for (const DatabaseEntry& entry : entries_) {
        if (entry.fileName == fileName) return &entry;
        if (equalsIgnoringCase(entry.fileName, fileName)) {
            differingInCase = &entry;
            ++caseMatches;
        }
    }
    return caseMatches == 1 ? differingInCase : nullptr;
}

DatabaseEntry* FilterDatabase::findEntry(const std::string& fileName) {
    DatabaseEntry* entry = const_cast<DatabaseEntry*>(entryNamed(fileName));
    if (!entry) fail("no filter of the file name \"" + fileName + "\" in " + path_);
    return entry;
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
                               const std::string& title, bool replace) {
    if (path_.empty()) return false;
    if (title.empty()) return fail("a filter's title must not be empty");
    std::string fileName = filterFileName(category, title);
    if (!replace && fs_.fileExists(path_ + fileName))
        return fail(path_ + fileName + " exists already (a filter of that file name is kept)");
    working.fillAsNew(category, title, path_ + fileName);
    if (!(replace ? writeFfxFile(fs_, working) : writeNewFfxFile(fs_, working))) return fileFailure("write", fileName);
    addOrUpdate({0, category, title, fileName});
    sortAndWrite();
    return true;
}

bool FilterDatabase::renameFilter(const std::string& fileName, const std::string& newTitle) {
    DatabaseEntry* entry = findEntry(fileName);
    if (!entry) return false;
    if (newTitle.empty() || newTitle.size() > kMaxFfxStringLength)
        return fail("a title must have 1 to " + std::to_string(kMaxFfxStringLength) + " characters");
    std::string newFileName = filterFileName(entry->category, newTitle);
    if (newFileName != entry->fileName &&
        !fs_.renameNoReplace(path_ + entry->fileName, path_ + newFileName))
        return fileFailure("rename " + path_ + entry->fileName + " to", newFileName);
    entry->title = newTitle;
    entry->fileName = newFileName;
    bool ok = rewriteFfxTitleAndCategory(fs_, path_ + newFileName, newTitle, entry->category) ||
              fileFailure("rewrite the title in", newFileName);
    sortAndWrite();
    return ok;
}

bool FilterDatabase::moveEntries(const std::vector<std::string>& fileNames,
                                 const std::string& newCategory) {
    if (newCategory.size() > kMaxFfxStringLength)
        return fail("a category must have at most " + std::to_string(kMaxFfxStringLength) + " characters");
    for (const std::string& fileName : fileNames) {
        DatabaseEntry* entry = findEntry(fileName);
        if (!entry) return false;
        std::string newFileName = filterFileName(newCategory, entry->title);
        if (newFileName != entry->fileName &&
            !fs_.renameNoReplace(path_ + entry->fileName, path_ + newFileName))
            return fileFailure("rename " + path_ + entry->fileName + " to", newFileName);
        entry->category = newCategory;
        entry->fileName = newFileName;
        if (!rewriteFfxTitleAndCategory(fs_, path_ + newFileName, entry->title, newCategory))
            return fileFailure("rewrite the category in", newFileName);
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
    if (newName.empty()) return fail("a category's name must not be empty");
    std::vector<std::string> fileNames;
    for (const DatabaseEntry& entry : filtersOf(oldName)) fileNames.push_back(entry.fileName);
    if (!moveEntries(fileNames, newName)) return false;
    for (DatabaseEntry& entry : entries_)
        if (entry.category == oldName) entry.category = newName;
    sortAndWrite();
    return true;
}

bool FilterDatabase::newCategory(const std::string& name) {
    if (name.empty() || name.size() > kMaxFfxStringLength)
        return fail("a category's name must have 1 to " + std::to_string(kMaxFfxStringLength) + " characters");
    std::vector<std::string> existing = categories();
    if (std::find(existing.begin(), existing.end(), name) != existing.end())
        return fail("the category \"" + name + "\" exists already");
    entries_.push_back({0, name, "", ""});
    sortAndWrite();
    return true;
}

bool FilterDatabase::removeEntries(const std::vector<std::string>& fileNames) {
    for (const std::string& fileName : fileNames) {
        DatabaseEntry* entry = findEntry(fileName);
        if (!entry) return false;
        if (!fs_.removeFile(path_ + entry->fileName)) return fileFailure("delete", entry->fileName);
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
        return fileFailure("write", fileName);
    }
    addOrUpdate({working.presets.empty() ? 0u : kEntryHasPresets, working.category, working.title,
                 fileName});
    sortAndWrite();
    return true;
}

bool FilterDatabase::savePresetChange(const FilterDefinition& working) {
    if (!writeFfxFile(fs_, working)) return fail("cannot write " + working.filePath + ": " + lastFileError());
    DatabaseEntry* entry = const_cast<DatabaseEntry*>(entryNamed(fileNameOf(working.filePath)));
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
