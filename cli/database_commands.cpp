// `lumenforge db ...`: the database operations on a database directory. Each opens the
// database (bringing its index in step with the files), runs one operation and prints the
// resulting entries as JSON.
#include <cstdio>
#include <functional>
#include <memory>

#include "commands.h"
#include "file_dump.h"
#include "filters/ffx_file.h"
#include "filters/filter_database.h"
#include "import_commands.h"

namespace lumen::cli {
namespace {

using filters::FilterDatabase;

nlohmann::json entriesToJson(const std::vector<filters::DatabaseEntry>& entries) {
    nlohmann::json json = nlohmann::json::array();
    for (const filters::DatabaseEntry& entry : entries)
        json.push_back({{"category", windows1252ToUtf8(entry.category)},
                        {"title", windows1252ToUtf8(entry.title)},
                        {"fileName", windows1252ToUtf8(entry.fileName)},
                        {"flags", entry.flags}});
    return json;
}

struct DatabaseArguments {
    std::string directory;
    bool replace = false;
};

using Operation = std::function<bool(FilterDatabase&, const std::vector<std::string>&, bool replace)>;

struct OperationSpec {
    const char* name;
    const char* help;
    std::vector<const char*> textNames;
    bool lastIsList = false;
    const char* replaceHelp = nullptr;  // the command takes --replace
    bool changesFiles = true;           // refused where no database is
};

// Names given for files inside the database are names, never paths out of it.
bool namesOnly(const std::vector<std::string>& texts, size_t from) {
    for (size_t i = from; i < texts.size(); ++i) {
        if (filters::isPlainName(texts[i])) continue;
        std::fprintf(stderr, "lumenforge: \"%s\" is not a file name (no directories, \".\" or \"..\")\n",
                     texts[i].c_str());
        return false;
    }
    return true;
}

void addOperation(CLI::App& db, CommandContext& context, const OperationSpec& spec, Operation operation) {
    CLI::App* command = db.add_subcommand(spec.name, spec.help);
    auto arguments = std::make_shared<DatabaseArguments>();
    command->add_option("DIR", arguments->directory, "database directory")->required();
    auto singles = std::make_shared<std::vector<std::string>>(spec.textNames.size());
    auto list = std::make_shared<std::vector<std::string>>();
    for (size_t i = 0; i < spec.textNames.size(); ++i) command->add_option(spec.textNames[i], (*singles)[i])->required();
    if (spec.lastIsList) command->add_option("FILE", *list, "file names of the filters")->required();
    if (spec.replaceHelp) command->add_flag("--replace", arguments->replace, spec.replaceHelp);
    command->callback([&context, arguments, singles, list, operation, spec] {
        FilterDatabase database(filters::nativeFileSystem());
        const filters::DatabaseOpenResult opened = database.open(arguments->directory);
        if (!opened.listed) {
            std::fprintf(stderr, "lumenforge: %s\n", database.lastFailure().c_str());
            context.status = 1;
            return;
        }
        if (spec.changesFiles && !opened.writable) {
            std::fprintf(stderr,
                         "lumenforge: %s is not a database folder (its name must end in .db, and a file "
                         "named index in it must be a database index); nothing was changed\n",
                         arguments->directory.c_str());
            context.status = 1;
            return;
        }
        std::vector<std::string> texts = *singles;
        texts.insert(texts.end(), list->begin(), list->end());
        if (!operation(database, texts, arguments->replace)) {
            if (!database.lastFailure().empty())
                std::fprintf(stderr, "lumenforge: %s\n", database.lastFailure().c_str());
            std::fprintf(stderr, "lumenforge: db %s failed in %s\n", spec.name, arguments->directory.c_str());
            context.status = 1;
            return;
        }
        std::printf("%s\n", entriesToJson(database.entries()).dump(2).c_str());
    });
}

std::vector<std::string> tail(const std::vector<std::string>& texts, size_t from) {
    return {texts.begin() + static_cast<std::ptrdiff_t>(from), texts.end()};
}

void addDatabaseCommands(CLI::App& app, CommandContext& context) {
    CLI::App* db = app.add_subcommand("db", "Filter database operations");
    db->require_subcommand(1);
    using Texts = const std::vector<std::string>&;
    addOperation(*db, context, {"list", "Open the database and print its entries", {}, false, nullptr, false},
                 [](FilterDatabase&, Texts, bool) { return true; });
    addOperation(*db, context,
                 {"new-filter", "Make a new identity filter", {"CATEGORY", "TITLE"}, false,
                  "replace a filter file of the same name (kept otherwise)"},
                 [](FilterDatabase& database, Texts t, bool replace) {
                     filters::FilterDefinition working;
                     return database.newFilter(working, t[0], t[1], replace);
                 });
    addOperation(*db, context, {"rename", "Give a filter a new title (and file name)", {"FILE", "TITLE"}},
                 [](FilterDatabase& database, Texts t, bool) {
                     return namesOnly(t, 0) && database.renameFilter(t[0], t[1]);
                 });
    addOperation(*db, context, {"move", "Move filters to another category", {"CATEGORY"}, true},
                 [](FilterDatabase& database, Texts t, bool) {
                     return namesOnly(t, 1) && database.moveFilters(tail(t, 1), t[0]);
                 });
    addOperation(*db, context, {"delete", "Delete filters", {}, true},
                 [](FilterDatabase& database, Texts t, bool) { return namesOnly(t, 0) && database.deleteFilters(t); });
    addOperation(*db, context, {"duplicate", "Copy a filter under the title \"Copy of ...\"", {"FILE"}},
                 [](FilterDatabase& database, Texts t, bool) {
                     if (!namesOnly(t, 0)) return false;
                     const filters::DatabaseEntry* entry = database.entryNamed(t[0]);
                     if (!entry || entry->isPlaceholder()) {
                         std::fprintf(stderr, "lumenforge: no filter of the file name \"%s\" in %s\n", t[0].c_str(),
                                      database.path().c_str());
                         return false;
                     }
                     filters::FilterDefinition working;
                     const std::string path = database.filePathOf(entry->fileName);
                     if (!filters::loadFfxFile(filters::nativeFileSystem(), path, working)) {
                         std::fprintf(stderr, "lumenforge: cannot read the filter %s\n", path.c_str());
                         return false;
                     }
                     return database.duplicateFilter(working);
                 });
    addOperation(*db, context, {"new-category", "Add an empty category (kept until the next open)", {"NAME"}},
                 [](FilterDatabase& database, Texts t, bool) { return database.newCategory(t[0]); });
    addOperation(*db, context, {"delete-category", "Delete a category with all its filters", {"NAME"}},
                 [](FilterDatabase& database, Texts t, bool) { return database.deleteCategory(t[0]); });
    addOperation(*db, context,
                 {"import", "Import .afs, .8bf, .ffl and .ffx files", {}, true,
                  "copied .ffx files replace filters of their name (otherwise they take a free name)"},
                 [](FilterDatabase& database, Texts t, bool replace) { return importFiles(database, t, replace); });
    addOperation(*db, context, {"create", "Create NAME.db beside the database and open it", {"NAME"}},
                 [](FilterDatabase& database, Texts t, bool) { return createDatabaseBeside(database, t[0]); });
    addOperation(*db, context, {"copy-to", "Copy filters into the database TARGET beside this one", {"TARGET"}, true},
                 [](FilterDatabase& database, Texts t, bool) {
                     return namesOnly(t, 0) && copyFiltersBeside(database, t[0], tail(t, 1));
                 });
}

const CommandRegistration registration{addDatabaseCommands};

}  // namespace
}  // namespace lumen::cli
