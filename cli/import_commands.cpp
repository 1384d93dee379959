// `lumenforge afs|8bf|ffl dump` and the import operations of `lumenforge db`.
#include "import_commands.h"

#include <cstdio>

#include "file_dump.h"
#include "filters/afs_file.h"
#include "filters/database_management.h"
#include "filters/ff_plugin.h"
#include "filters/ffl_file.h"
#include "filters/import_command.h"
#include "filters/memory_settings.h"
#include "filters/startup.h"

namespace lumen::cli {
namespace {

nlohmann::json textsToJson(std::span<const std::string> texts) {
    nlohmann::json json = nlohmann::json::array();
    for (const std::string& text : texts) json.push_back(windows1252ToUtf8(text));
    return json;
}

nlohmann::json recordToJson(const filters::ParmRecord& record, const filters::FilterDefinition& converted) {
    return {{"recordSize", record.recordSize},
            {"values", record.values},
            {"showDialog", record.showDialog},
            {"controlInUse", record.controlInUse},
            {"category", windows1252ToUtf8(record.category)},
            {"protectedFlag", record.protectedFlag},
            {"title", windows1252ToUtf8(record.title)},
            {"controlLabel", textsToJson(record.controlLabel)},
            {"formula", textsToJson(record.formula)},
            {"filter", filterToJson(converted)}};
}

// The file's bytes, or nothing with `error` saying why they could not be read.
std::optional<std::vector<uint8_t>> readForDump(const std::string& path, std::string& error) {
    std::optional<std::vector<uint8_t>> bytes = filters::nativeFileSystem().readFile(path);
    if (!bytes) error = filters::unreadableFile(path).detail;
    return bytes;
}

std::optional<nlohmann::json> dumpAfs(const std::string& path, std::string& error) {
    const std::optional<std::vector<uint8_t>> bytes = readForDump(path, error);
    if (!bytes) return std::nullopt;
    filters::ParmRecord record;
    if (!filters::readAfs(*bytes, record)) {
        error = path + ": " + filters::kInvalidAfsReason;
        return std::nullopt;
    }
    filters::FilterDefinition filter;
    filters::convertParmRecord(record, filter);
    filter.category = filters::kAfsImportCategory;
    filter.title = filters::fileTitleOf(path);
    return recordToJson(record, filter);
}

std::optional<nlohmann::json> dumpFfPlugin(const std::string& path, std::string& error) {
    const std::optional<std::vector<uint8_t>> bytes = readForDump(path, error);
    if (!bytes) return std::nullopt;
    filters::ParmRecord record;
    if (!filters::readFfPlugin(*bytes, record)) {
        error = path + ": " + filters::kInvalidPluginReason;
        return std::nullopt;
    }
    filters::FilterDefinition filter;
    filters::convertParmRecord(record, filter);
    return recordToJson(record, filter);
}

std::optional<nlohmann::json> dumpFfl(const std::string& path, std::string& error) {
    const filters::FilterLibrary library = filters::loadFilterLibrary(filters::nativeFileSystem(), path);
    if (library.status != filters::LibraryStatus::Loaded) {
        error = filters::libraryProblem(path, library);
        return std::nullopt;
    }
    nlohmann::json entries = nlohmann::json::array();
    for (size_t i = 0; i < library.entries.size(); ++i) {
        const filters::FilterLibraryEntry& entry = library.entries[i];
        entries.push_back({{"number", filters::libraryRowNumber(i)},
                           {"sourceName", windows1252ToUtf8(entry.sourceName)},
                           {"category", windows1252ToUtf8(entry.category)},
                           {"title", windows1252ToUtf8(entry.title)},
                           {"author", windows1252ToUtf8(entry.author)},
                           {"copyright", windows1252ToUtf8(entry.copyright)},
                           {"mapName", textsToJson(entry.mapName)},
                           {"controlLabel", textsToJson(entry.controlLabel)},
                           {"controlValue", entry.controlValue},
                           {"formula", textsToJson(entry.formula)}});
    }
    return nlohmann::json{{"entries", entries}};
}

const FileDumpRegistration afsDump{"afs", dumpAfs};
const FileDumpRegistration ffPluginDump{"8bf", dumpFfPlugin};
const FileDumpRegistration fflDump{"ffl", dumpFfl};

// The user of a command line: the files given, every entry of a library that could be read, and
// always on. The dialogs' messages are not shown; each failed file's detail is printed instead.
class BatchImportUi final : public filters::ImportUi {
public:
    explicit BatchImportUi(std::vector<std::string> paths) : paths_(std::move(paths)) {}

    filters::FileDialogResult chooseFiles(const std::string&, uint32_t) override {
        return {filters::FileDialogOutcome::Chosen, paths_, 0};
    }
    std::optional<std::vector<size_t>> pickLibraryEntries(const std::string&,
                                                          const filters::FilterLibrary& library) override {
        // The dialog of a library it could not read offers only Cancel.
        if (library.status != filters::LibraryStatus::Loaded) return std::nullopt;
        std::vector<size_t> all(library.entries.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        return all;
    }
    void showMessage(const std::string&) override {}
    bool askToContinue(const std::string&) override { return true; }

private:
    std::vector<std::string> paths_;
};

std::string databaseRootOf(const filters::FilterDatabase& database) {
    std::string path = database.path();
    if (!path.empty()) path.pop_back();
    return filters::directoryOf(path);
}

}  // namespace

bool importFiles(filters::FilterDatabase& database, const std::vector<std::string>& paths, bool replace) {
    filters::MemorySettingsStore settings;
    filters::FilterDefinition working;
    BatchImportUi ui(paths);
    filters::ImportContext context{filters::nativeFileSystem(), settings, database, working, ui, replace};
    const filters::ImportReport report = filters::runImport(context);
    bool ok = true;
    for (const filters::FileImportResult& file : report.files) {
        if (file.kind == filters::ImportKind::Skipped) {
            std::fprintf(stderr, "lumenforge: skipped %s (not .afs, .8bf, .ffl or .ffx)\n", file.path.c_str());
        } else if (!file.succeeded) {
            std::fprintf(stderr, "lumenforge: %s\n", file.detail.c_str());
            ok = false;
        }
    }
    return ok;
}

bool createDatabaseBeside(filters::FilterDatabase& database, const std::string& name) {
    filters::MemorySettingsStore settings;
    filters::FilterDefinition working;
    filters::DatabaseManager manager(filters::nativeFileSystem(), settings, databaseRootOf(database), database, working);
    const filters::DatabaseProblem problem = manager.createDatabase(name);
    if (problem != filters::DatabaseProblem::None && *filters::problemMessage(problem))
        std::fprintf(stderr, "lumenforge: %s\n", filters::problemMessage(problem));
    return problem == filters::DatabaseProblem::None;
}

bool copyFiltersBeside(filters::FilterDatabase& database, const std::string& target,
                       const std::vector<std::string>& fileNames) {
    std::vector<filters::DatabaseEntry> entries;
    for (const std::string& name : fileNames)
        if (const filters::DatabaseEntry* entry = database.entryNamed(name); entry && !entry->isPlaceholder())
            entries.push_back(*entry);
    if (!filters::isDatabaseDirectoryName(target)) {
        std::fprintf(stderr, "lumenforge: \"%s\" is not a database name (NAME.db)\n", target.c_str());
        return false;
    }
    const std::string targetPath = filters::joinPath(databaseRootOf(database), target);
    if (!filters::nativeFileSystem().directoryExists(targetPath)) {
        std::fprintf(stderr, "lumenforge: no database %s beside %s\n", targetPath.c_str(), database.path().c_str());
        return false;
    }
    if (entries.size() != fileNames.size()) {
        std::fprintf(stderr, "lumenforge: not every file name given names a filter in %s\n", database.path().c_str());
        return false;
    }
    filters::MemorySettingsStore settings;
    filters::FilterDefinition working;
    filters::DatabaseManager manager(filters::nativeFileSystem(), settings, databaseRootOf(database), database, working);
    const size_t copied = manager.copyFiltersTo(entries, target);
    if (copied != entries.size())
        std::fprintf(stderr, "lumenforge: %zu of %zu filters could not be copied to %s\n", entries.size() - copied,
                     entries.size(), targetPath.c_str());
    return copied == entries.size();
}

}  // namespace lumen::cli
