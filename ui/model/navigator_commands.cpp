#include "ui/model/navigator_commands.h"

namespace lumen::ui {

using filters::DatabaseProblem;
using filters::RecentDatabaseItem;

std::vector<MenuItem> categoryMenu(size_t selectedCategories) {
    const bool one = selectedCategories == 1;
    return {{kCategoryNew, "&New..."}, {}, {kCategoryRename, "&Rename", one}, {kCategoryDelete, "&Delete", one}};
}

std::vector<MenuItem> filterMenu(size_t selectedCategories, size_t selectedFilters,
                                 const std::vector<RecentDatabaseItem>& recent) {
    const bool one = selectedFilters == 1;
    MenuItem copyTo{0, "&Copy to"};
    copyTo.submenu = copyToMenu(recent);
    return {{kFilterNew, "&New...", selectedCategories == 1},
            {kFilterEdit, "&Edit...", one},
            {},
            {kFilterRename, "&Rename", one},
            {kFilterDelete, "&Delete", selectedFilters >= 1},
            {kFilterDuplicate, "D&uplicate", one},
            {},
            copyTo};
}

std::vector<MenuItem> copyToMenu(const std::vector<RecentDatabaseItem>& recent) {
    std::vector<MenuItem> items;
    for (size_t i = 0; i < recent.size() && kCopyToFirst + int(i) <= kCopyToLast; ++i)
        if (!recent[i].current && recent[i].exists) items.push_back({kCopyToFirst + int(i), recent[i].name});
    return items;
}

std::optional<std::string> copyTarget(int id, const std::vector<RecentDatabaseItem>& recent) {
    for (const MenuItem& item : copyToMenu(recent))
        if (item.id == id) return item.text;
    return std::nullopt;
}

std::vector<MenuItem> databaseMenu(const std::vector<RecentDatabaseItem>& recent) {
    std::vector<MenuItem> items{
        {kDatabaseNew, kDatabaseNewText}, {kDatabaseOpen, kDatabaseOpenText}, {kDatabaseDelete, kDatabaseDeleteText}};
    for (size_t i = 0; i < recent.size() && kDatabaseFirst + int(i) <= kDatabaseLast; ++i)
        items.push_back({kDatabaseFirst + int(i), recent[i].name, recent[i].exists, recent[i].current});
    return items;
}

bool oneFilterSelected(size_t selectedFilters) { return selectedFilters == 1; }

namespace {

void report(DatabaseProblem problem, DatabaseDialogs& dialogs) {
    const std::string message = filters::problemMessage(problem);
    if (!message.empty()) dialogs.showMessage(message);
}

}  // namespace

void runDatabaseCommand(int id, filters::DatabaseManager& manager, const std::string& databaseRoot,
                        DatabaseDialogs& dialogs, Navigator& navigator) {
    if (id == kDatabaseNew) {
        const bool created = dialogs.newDatabase([&](const std::string& name) {
            // Creating one saves and clears the working filter, which a render may be reading.
            if (!name.empty()) navigator.stopRender();
            const DatabaseProblem problem = manager.createDatabase(name);
            return DatabaseDialogs::NewDatabaseReply{problem == DatabaseProblem::None,
                                                     filters::problemMessage(problem)};
        });
        if (created)
            navigator.databaseReplaced();
        else
            manager.saveRecent();
        return;
    }
    if (id == kDatabaseOpen || id == kDatabaseDelete) {
        const bool open = id == kDatabaseOpen;
        const std::optional<std::string> folder = dialogs.browseFolder(
            open ? filters::kSelectDatabasePrompt : filters::kSelectDatabaseToDeletePrompt, databaseRoot);
        if (!folder) {
            manager.saveRecent();
            return;
        }
        if (!open) {
            report(manager.deleteDatabase(
                       *folder, [&] { return dialogs.confirmDelete(filters::kConfirmDeleteDatabaseQuestion); }),
                   dialogs);
            return;
        }
        navigator.stopRender();
        const DatabaseProblem problem = manager.openDatabase(*folder);
        report(problem, dialogs);
        if (problem == DatabaseProblem::None) navigator.databaseReplaced();
        return;
    }
    const std::vector<std::string>& recent = manager.recentDatabases();
    if (id >= kDatabaseFirst && id <= kDatabaseLast && size_t(id - kDatabaseFirst) < recent.size()) {
        navigator.stopRender();
        const DatabaseProblem problem = manager.switchDatabase(recent[size_t(id - kDatabaseFirst)]);
        report(problem, dialogs);
        if (problem == DatabaseProblem::None) navigator.databaseReplaced();
        return;
    }
    manager.saveRecent();
}

size_t runCopyTo(int id, const std::vector<size_t>& selected, filters::DatabaseManager& manager,
                 const Navigator& navigator) {
    const std::optional<std::string> target = copyTarget(id, manager.recentMenu());
    if (!target) return 0;
    std::vector<filters::DatabaseEntry> entries;
    for (size_t item : selected)
        if (item < navigator.filters().size()) entries.push_back(navigator.filters()[item]);
    return manager.copyFiltersTo(entries, *target);
}

filters::ImportReport runImportCommand(filters::ImportContext& context, Navigator& navigator) {
    // The command clears the working filter before it imports into it.
    navigator.stopRender();
    filters::ImportReport report = filters::runImport(context);
    navigator.databaseReplaced();
    return report;
}

}  // namespace lumen::ui
