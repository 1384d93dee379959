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

std::optional<nlohmann::json> dumpAfs(const std::string& path, std::string& error) {
    filters::ParmRecord record;
    if (!filters::readAfsFile(filters::nativeFileSystem(), path, record)) {
        error = filters::kInvalidAfsReason;
        return std::nullopt;
    }
    filters::FilterDefinition filter;
    filters::convertParmRecord(record, filter);
    filter.category = filters::kAfsImportCategory;
    filter.title = filters::fileTitleOf(path);
    return recordToJson(record, filter);
}

std::optional<nlohmann::json> dumpFfPlugin(const std::string& path, std::string& error) {
    filters::ParmRecord record;
    if (!filters::readFfPluginFile(filters::nativeFileSystem(), path, record)) {
        error = filters::kInvalidPluginReason;
        return std::nullopt;
    }
    filters::FilterDefinition filter;
    filters::convertParmRecord(record, filter);
    return recordToJson(record, filter);
}

std::optional<nlohmann::json> dumpFfl(const std::string& path, std::string& error) {
    const filters::FilterLibrary library = filters::loadFilterLibrary(filters::nativeFileSystem(), path);
    if (library.status != filters::LibraryStatus::Loaded) {
        error = library.status == filters::LibraryStatus::Unsupported ? filters::kUnsupportedLibraryMessage
                                                                       : filters::kErrorReadingFileMessage;
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

// The user of a command line: the files given, every library entry, and always on.
class BatchImportUi final : public filters::ImportUi {
public:
    explicit BatchImportUi(std::vector<std::string> paths) : paths_(std::move(paths)) {}

    filters::FileDialogResult chooseFiles(const std::string&, uint32_t) override {
        return {filters::FileDialogOutcome::Chosen, paths_, 0};
    }
    std::optional<std::vector<size_t>> pickLibraryEntries(const std::string&,
                                                          const filters::FilterLibrary& library) override {
        std::vector<size_t> all(library.entries.size());
        for (size_t i = 0; i < all.size(); ++i) all[i] = i;
        return all;
    }
    void showMessage(const std::string& text) override { std::fprintf(stderr, "lumenforge: %s\n", text.c_str()); }
    bool askToContinue(const std::string& question) override {
        std::fprintf(stderr, "lumenforge: %s\n", question.c_str());
        return true;
    }

private:
    std::vector<std::string> paths_;
};

std::string databaseRootOf(const filters::FilterDatabase& database) {
    std::string path = database.path();
    if (!path.empty()) path.pop_back();
    return filters::directoryOf(path);
}

}  // namespace

bool importFiles(filters::FilterDatabase& database, const std::vector<std::string>& paths) {
    filters::MemorySettingsStore settings;
    filters::FilterDefinition working;
    BatchImportUi ui(paths);
    filters::ImportContext context{filters::nativeFileSystem(), settings, database, working, ui};
    const filters::ImportReport report = filters::runImport(context);
    bool ok = true;
    for (const filters::FileImportResult& file : report.files) ok = ok && file.reason.empty();
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
        for (const filters::DatabaseEntry& entry : database.entries())
            if (!entry.isPlaceholder() && filters::equalsIgnoringCase(entry.fileName, name)) entries.push_back(entry);
    filters::MemorySettingsStore settings;
    filters::FilterDefinition working;
    filters::DatabaseManager manager(filters::nativeFileSystem(), settings, databaseRootOf(database), database, working);
    return manager.copyFiltersTo(entries, target) == fileNames.size();
}

}  // namespace lumen::cli
