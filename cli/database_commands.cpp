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
    std::vector<std::string> texts;
};

using Operation = std::function<bool(FilterDatabase&, const std::vector<std::string>&)>;

void addOperation(CLI::App& db, CommandContext& context, const char* name, const char* help,
                  std::vector<const char*> textNames, bool lastIsList, Operation operation) {
    CLI::App* command = db.add_subcommand(name, help);
    auto arguments = std::make_shared<DatabaseArguments>();
    command->add_option("DIR", arguments->directory, "database directory")->required();
    auto singles = std::make_shared<std::vector<std::string>>(textNames.size());
    auto list = std::make_shared<std::vector<std::string>>();
    for (size_t i = 0; i < textNames.size(); ++i) command->add_option(textNames[i], (*singles)[i])->required();
    if (lastIsList) command->add_option("FILE", *list, "file names of the filters")->required();
    command->callback([&context, arguments, singles, list, operation, name] {
        FilterDatabase database(filters::nativeFileSystem());
        if (!database.open(arguments->directory).listed) {
            std::fprintf(stderr, "lumenforge: cannot list %s\n", arguments->directory.c_str());
            context.status = 1;
            return;
        }
        std::vector<std::string> texts = *singles;
        texts.insert(texts.end(), list->begin(), list->end());
        if (!operation(database, texts)) {
            std::fprintf(stderr, "lumenforge: db %s failed\n", name);
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
    addOperation(*db, context, "list", "Open the database and print its entries", {}, false,
                 [](FilterDatabase&, const std::vector<std::string>&) { return true; });
    addOperation(*db, context, "new-filter", "Make a new identity filter", {"CATEGORY", "TITLE"}, false,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     filters::FilterDefinition working;
                     return database.newFilter(working, t[0], t[1]);
                 });
    addOperation(*db, context, "rename", "Give a filter a new title (and file name)", {"FILE", "TITLE"}, false,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return database.renameFilter(t[0], t[1]);
                 });
    addOperation(*db, context, "move", "Move filters to another category", {"CATEGORY"}, true,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return database.moveFilters(tail(t, 1), t[0]);
                 });
    addOperation(*db, context, "delete", "Delete filters", {}, true,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return database.deleteFilters(t);
                 });
    addOperation(*db, context, "duplicate", "Copy a filter under the title \"Copy of ...\"", {"FILE"}, false,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     filters::FilterDefinition working;
                     return filters::loadFfxFile(filters::nativeFileSystem(), database.filePathOf(t[0]),
                                                 working) &&
                            database.duplicateFilter(working);
                 });
    addOperation(*db, context, "new-category", "Add an empty category (kept until the next open)",
                 {"NAME"}, false, [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return database.newCategory(t[0]);
                 });
    addOperation(*db, context, "delete-category", "Delete a category with all its filters", {"NAME"}, false,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return database.deleteCategory(t[0]);
                 });
    addOperation(*db, context, "import", "Import .afs, .8bf, .ffl and .ffx files", {}, true,
                 [](FilterDatabase& database, const std::vector<std::string>& t) { return importFiles(database, t); });
    addOperation(*db, context, "create", "Create NAME.db beside the database and open it", {"NAME"}, false,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return createDatabaseBeside(database, t[0]);
                 });
    addOperation(*db, context, "copy-to", "Copy filters into the database TARGET beside this one", {"TARGET"}, true,
                 [](FilterDatabase& database, const std::vector<std::string>& t) {
                     return copyFiltersBeside(database, t[0], tail(t, 1));
                 });
}

const CommandRegistration registration{addDatabaseCommands};

}  // namespace
}  // namespace lumen::cli
