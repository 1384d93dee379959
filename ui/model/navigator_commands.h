#pragma once
// The navigator's menus (the two of menu 134 with the Copy-to list, and the Database button's),
// the enable rules of its buttons, and the commands behind the Database menu and Import.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "filters/database_management.h"
#include "filters/import_command.h"
#include "ui/model/navigator.h"

namespace lumen::ui {

struct MenuItem {
    MenuItem() = default;  // a separator
    MenuItem(int id, std::string text, bool enabled = true, bool checked = false)
        : id(id), text(std::move(text)), enabled(enabled), checked(checked) {}

    int id = 0;  // 0 for a separator or a submenu
    std::string text;
    bool enabled = true;
    bool checked = false;
    std::vector<MenuItem> submenu;
    bool separator() const { return id == 0 && text.empty(); }
    bool operator==(const MenuItem&) const = default;
};

// Menu 134's commands.
constexpr int kCategoryNew = 32774;
constexpr int kCategoryRename = 32773;
constexpr int kCategoryDelete = 32772;
constexpr int kFilterNew = 32778;
constexpr int kFilterEdit = 32779;
constexpr int kFilterRename = 32776;
constexpr int kFilterDelete = 32775;
constexpr int kFilterDuplicate = 32780;
// Copy-to items are 20000 + the database's place in the recent list; the Database menu's
// names are 20003 + that place. Each range is reserved to its full size.
constexpr int kCopyToFirst = 20000;
constexpr int kCopyToLast = 20012;
constexpr int kDatabaseNew = 20000;
constexpr int kDatabaseOpen = 20001;
constexpr int kDatabaseDelete = 20002;
constexpr int kDatabaseFirst = 20003;
constexpr int kDatabaseLast = 20015;

inline constexpr const char* kDatabaseNewText = "New...";
inline constexpr const char* kDatabaseOpenText = "Open...";
inline constexpr const char* kDatabaseDeleteText = "Delete...";

std::vector<MenuItem> categoryMenu(size_t selectedCategories);
// The last item is the "&Copy to" submenu.
std::vector<MenuItem> filterMenu(size_t selectedCategories, size_t selectedFilters,
                                 const std::vector<filters::RecentDatabaseItem>& recent);
// Existing databases of the recent list other than the current one.
std::vector<MenuItem> copyToMenu(const std::vector<filters::RecentDatabaseItem>& recent);
// The database a Copy-to command names, when it still names one the menu offered.
std::optional<std::string> copyTarget(int id, const std::vector<filters::RecentDatabaseItem>& recent);

std::vector<MenuItem> databaseMenu(const std::vector<filters::RecentDatabaseItem>& recent);

// "Filter &Info...", "&Editor...", Randomize and Reset: exactly one filter selected.
bool oneFilterSelected(size_t selectedFilters);

// What the Database menu's commands need of windows; the dialogs implement it, tests script it.
class DatabaseDialogs {
public:
    // What OK in the "New Database" dialog leads to.
    struct NewDatabaseReply {
        bool close = false;
        std::string message;  // shown (OK button only) when not empty; the dialog stays open
    };
    virtual ~DatabaseDialogs() = default;
    // Dialog 150, each OK answered by `ok`; true when it closed through OK.
    virtual bool newDatabase(const std::function<NewDatabaseReply(const std::string&)>& ok) = 0;
    // The folder browser rooted at `root`; the chosen folder's full path.
    virtual std::optional<std::string> browseFolder(const std::string& title, const std::string& root) = 0;
    virtual bool confirmDelete(const std::string& question) = 0;
    virtual void showMessage(const std::string& text) = 0;
};

// The command the Database menu returned (0 when it was dismissed), carried out. The recent
// list is saved in every case.
void runDatabaseCommand(int id, filters::DatabaseManager& manager, const std::string& databaseRoot,
                        DatabaseDialogs& dialogs, Navigator& navigator);

// A Copy-to command on the selected filters; the number of files copied (a failed copy is
// skipped, the target's index is left to its next open).
size_t runCopyTo(int id, const std::vector<size_t>& selected, filters::DatabaseManager& manager,
                 const Navigator& navigator);

// The Import button: the render stopped, the import command run, the lists refilled.
filters::ImportReport runImportCommand(filters::ImportContext& context, Navigator& navigator);

}  // namespace lumen::ui
