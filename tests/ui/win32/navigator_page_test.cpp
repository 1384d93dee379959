// The navigator page on a copy of the default database, driven as a user drives it: the lists,
// their menus and label edits, a drag onto a category, the Database menu with its dialogs, and
// an import of Filter Factory files of every kind.
#include "ui/win32/navigator_page.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "../../filters/import_fixtures.h"
#include "filters/ffx_file.h"
#include "filters/settings_store.h"
#include "filters/startup.h"
#include "resources/resource_ids.h"
#include "ui/win32/main_dialog_window.h"
#include "ui/win32/messages.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;
namespace fs = std::filesystem;

constexpr const char* kTestDatabase = "Navigator Test.db";
constexpr const char* kSecondDatabase = "Second Test.db";

std::string textOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> itemsOf(HWND list) {
    std::vector<std::string> items;
    const auto count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        items.emplace_back(text);
    }
    return items;
}

std::vector<int> selectionOf(HWND list) {
    std::vector<int> selected;
    for (int at = -1; (at = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED))) >= 0;)
        selected.push_back(at);
    return selected;
}

void select(HWND list, std::initializer_list<int> items) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    for (int index : items) {
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
    }
}

int indexOf(HWND list, const std::string& text) {
    const std::vector<std::string> items = itemsOf(list);
    auto found = std::find(items.begin(), items.end(), text);
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The page follows the lists in the update before each message of the modal loop: keep the
// loop turning until the condition holds.
bool settle(HWND dialog, const std::function<bool()>& condition) {
    return waitUntil([&] {
        PostMessageA(dialog, WM_NULL, 0, 0);
        SendMessageA(dialog, WM_NULL, 0, 0);
        return condition();
    });
}

// A label edit the page started, given `text` and ended with Enter.
void typeLabel(HWND list, const std::string& text, const std::string& screenshotOf = {}, HWND dialog = nullptr) {
    HWND edit = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (edit = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0))); }));
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // The edit is the list's child: painted after the list, over it.
    if (!screenshotOf.empty()) saveScreenshot(dialog, screenshotOf, edit);
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
}

class NavigatorPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = filters::directoryOf(filters::moduleFilePath());
        removeDatabases();
        std::error_code error;
        fs::copy(fs::path(LUMEN_BINARY_DIR) / "Korvath Filters.db", path(kTestDatabase), fs::copy_options::recursive,
                 error);
        ASSERT_FALSE(error) << error.message();
        settings_ = filters::openUserSettings();
        ASSERT_TRUE(settings_);
        for (const char* value : {filters::kDatabasePathValue, filters::kDatabaseListValue}) saved_.push_back(settings_->read(value));
        filters::writeStringSetting(*settings_, filters::kDatabasePathValue, path(kTestDatabase) + "\\");
        filters::writeDatabaseList(*settings_, {kTestDatabase});
        dialog_.navigator().setSystemDialogs(
            {[this](HWND, const std::string&, uint32_t) {
                 filters::FileDialogResult result;
                 if (!chosenFiles.empty()) {
                     result.outcome = filters::FileDialogOutcome::Chosen;
                     result.paths = chosenFiles;
                     result.fileType = 4;
                 }
                 return result;
             },
             [this](HWND, const std::string& title, const std::string& root) -> std::optional<std::string> {
                 browsed.push_back(title + " @ " + root);
                 if (folders.empty()) return std::nullopt;
                 std::string folder = folders.front();
                 folders.pop_front();
                 return folder;
             }});
    }
    void TearDown() override {
        const char* names[] = {filters::kDatabasePathValue, filters::kDatabaseListValue};
        for (size_t i = 0; i < saved_.size(); ++i)
            if (saved_[i])
                settings_->write(names[i], *saved_[i]);
            else if (i == 0)
                filters::writeStringSetting(*settings_, names[i], "");
            else
                filters::writeDatabaseList(*settings_, {});
        removeDatabases();
    }
    void removeDatabases() {
        std::error_code ignored;
        for (const char* name : {kTestDatabase, kSecondDatabase}) fs::remove_all(path(name), ignored);
    }
    std::string path(const std::string& name) const { return root_ + name; }

    // The dialog runs; `drive` gets the main dialog, the page and its two lists once they are up.
    void run(const std::function<void(DWORD ui, HWND dialog, HWND categories, HWND filters)>& drive) {
        runDriven([&] { dialog_.runModal(); },
                  [&](DWORD ui) {
                      HWND window = waitForWindowWith(ui, kMainTabs);
                      ASSERT_TRUE(window);
                      page = pageWith(window, kNavCategoryList);
                      ASSERT_TRUE(page);
                      HWND categories = GetDlgItem(page, kNavCategoryList), filters = GetDlgItem(page, kNavFilterList);
                      ASSERT_TRUE(settle(window, [&] { return SendMessageA(categories, LVM_GETITEMCOUNT, 0, 0) > 0; }));
                      drive(ui, window, categories, filters);
                      pressButton(window, kMainCancel);
                  });
    }
    // Menu 134's category (1016) or filter (1020) menu opened over `list`, as by a right click.
    HWND openMenu(DWORD ui, HWND list, int command) {
        RECT rect;
        GetWindowRect(list, &rect);
        SetCursorPos(rect.left + 20, rect.top + 30);
        PostMessageA(page, WM_COMMAND, command, 0);
        return waitForMenu(ui);
    }
    HWND openDatabaseMenu(DWORD ui) {
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(kNavDatabaseButton, BN_CLICKED), 0);
        return waitForMenu(ui);
    }
    // The Database menu's item `index` (from 0: New, Open, Delete, then the databases) chosen.
    void chooseDatabaseItem(DWORD ui, int index) {
        HWND menu = openDatabaseMenu(ui);
        ASSERT_TRUE(menu);
        for (int i = 0; i <= index; ++i) menuKey(menu, VK_DOWN);
        menuKey(menu, VK_RETURN);
        waitUntil([&] { return !IsWindowVisible(menu); });
    }
    std::string workingTitle() { return dialog_.navigator().workingFilter().title; }
    std::string fileIn(const std::string& database, const std::string& file) const {
        return path(database) + "\\" + file;
    }

    std::string root_;
    std::unique_ptr<filters::SettingsStore> settings_;
    std::vector<std::optional<filters::SettingsValue>> saved_;
    MainDialogWindow dialog_{nullptr};
    HWND page = nullptr;
    std::vector<std::string> chosenFiles;
    std::deque<std::string> folders;
    std::vector<std::string> browsed;
};

TEST_F(NavigatorPageTest, SelectingCategoryAndFilterLoadsItAndTheStatusLineCounts) {
    run([&](DWORD, HWND dialog, HWND categories, HWND filters) {
        const std::vector<std::string> names = itemsOf(categories);
        ASSERT_GE(names.size(), 3u);
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
        EXPECT_TRUE(settle(dialog, [&] { return textOf(GetDlgItem(dialog, kMainDatabaseName)) == "Navigator Test"; }));
        EXPECT_EQ(textOf(GetDlgItem(dialog, kMainFilterCount)), std::to_string(dialog_.database().entries().size()));

        select(categories, {1});
        ASSERT_TRUE(settle(dialog, [&] { return SendMessageA(filters, LVM_GETITEMCOUNT, 0, 0) > 1; }));
        const std::vector<std::string> titles = itemsOf(filters);
        // The first filter of the category is selected and loaded.
        EXPECT_TRUE(settle(dialog, [&] { return workingTitle() == titles[0]; })) << workingTitle();
        EXPECT_EQ(selectionOf(filters), std::vector<int>{0});
        EXPECT_EQ(dialog_.navigator().workingFilter().category, names[1]);
        EXPECT_EQ(dialog_.runner().filter().title, titles[0]);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, kNavInfoButton)));
        saveScreenshot(dialog, "navigator-default-database");

        select(filters, {1});
        EXPECT_TRUE(settle(dialog, [&] { return workingTitle() == titles[1]; }));
        // Two filters selected: no filter loaded, the one-filter buttons greyed.
        select(filters, {0, 1});
        EXPECT_TRUE(settle(dialog, [&] { return !IsWindowEnabled(GetDlgItem(page, kNavInfoButton)); }));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, kNavEditorButton)));

        select(filters, {0});
        ASSERT_TRUE(settle(dialog, [&] { return workingTitle() == titles[0]; }));
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(kNavInfoButton, BN_CLICKED), 0);
        HWND info = waitForWindowWith(GetWindowThreadProcessId(dialog, nullptr), kInfoTitle);
        ASSERT_TRUE(info);
        EXPECT_EQ(textOf(GetDlgItem(info, kInfoTitle)), titles[0]);
        EXPECT_EQ(textOf(GetDlgItem(info, kInfoCategory)), names[1]);
        EXPECT_EQ(textOf(GetDlgItem(info, kInfoFileName)), names[1] + " - " + titles[0] + ".ffx");
        saveScreenshot(info, "navigator-filter-info");
        pressButton(info, IDOK);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(info); }));

        // A right click on a list opens its menu; a double click on a filter shows the presets.
        RECT rect;
        GetWindowRect(categories, &rect);
        SetCursorPos(rect.left + 20, rect.top + 30);
        NMITEMACTIVATE click{};
        click.hdr = {categories, static_cast<UINT_PTR>(kNavCategoryList), static_cast<UINT>(NM_RCLICK)};
        click.iItem = 0;
        PostMessageA(page, WM_NOTIFY, kNavCategoryList, reinterpret_cast<LPARAM>(&click));
        HWND menu = waitForMenu(GetWindowThreadProcessId(dialog, nullptr));
        ASSERT_TRUE(menu);
        HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        EXPECT_EQ(GetMenuItemID(items, 0), static_cast<UINT>(kMenuCategoryNew));
        menuKey(menu, VK_ESCAPE);
        ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(menu); }));
        click.hdr = {filters, static_cast<UINT_PTR>(kNavFilterList), static_cast<UINT>(NM_DBLCLK)};
        SendMessageA(page, WM_NOTIFY, kNavFilterList, reinterpret_cast<LPARAM>(&click));
        EXPECT_TRUE(settle(dialog, [&] { return SendMessageA(GetDlgItem(dialog, kMainTabs), TCM_GETCURSEL, 0, 0) == 1; }));
        EXPECT_FALSE(IsWindowVisible(page));
    });
}

TEST_F(NavigatorPageTest, OpensOnTheRestoredFilterWithItsValuesUntilAnotherIsChosen) {
    plugin::CurrentFilter restored;
    restored.category = "Color";
    restored.title = "Negative";
    restored.code = {"0", "255-r", "255-g", "255-b", "a"};
    restored.controlValue[0] = 77;
    dialog_.runner().setFilter(restored);
    run([&](DWORD, HWND dialog, HWND categories, HWND filters) {
        ASSERT_TRUE(settle(dialog, [&] { return indexOf(filters, "Negative") >= 0; }));
        EXPECT_EQ(selectionOf(categories), std::vector<int>{indexOf(categories, "Color")});
        EXPECT_EQ(selectionOf(filters), std::vector<int>{indexOf(filters, "Negative")});
        // The previous run's values stay; the file lends what the block does not carry.
        const filters::FilterDefinition& working = dialog_.navigator().workingFilter();
        EXPECT_EQ(working.controlValue[0], 77);
        EXPECT_FALSE(working.author.empty());
        EXPECT_EQ(dialog_.runner().filter().controlValue[0], 77);

        select(filters, {indexOf(filters, "Negative") == 0 ? 1 : 0});
        ASSERT_TRUE(settle(dialog, [&] { return workingTitle() != "Negative"; }));
        select(filters, {indexOf(filters, "Negative")});
        ASSERT_TRUE(settle(dialog, [&] { return workingTitle() == "Negative"; }));
        EXPECT_NE(dialog_.navigator().workingFilter().controlValue[0], 77);
    });
}

TEST_F(NavigatorPageTest, LabelEditsRenameAndCreateFiltersAndCategories) {
    run([&](DWORD ui, HWND dialog, HWND categories, HWND filters) {
        select(categories, {0});
        ASSERT_TRUE(settle(dialog, [&] { return !workingTitle().empty(); }));
        const std::string category = itemsOf(categories)[0];
        const std::string title = itemsOf(filters)[0];

        HWND menu = openMenu(ui, filters, kCmdFilterMenu);
        ASSERT_TRUE(menu);
        saveScreenshot(dialog, "navigator-filter-menu", menu);
        menuChar(menu, 'r');
        typeLabel(filters, "Renamed One", "navigator-label-edit", dialog);
        EXPECT_TRUE(settle(dialog, [&] { return indexOf(filters, "Renamed One") >= 0; }));
        EXPECT_TRUE(fs::exists(fileIn(kTestDatabase, category + " - Renamed One.ffx")));
        EXPECT_FALSE(fs::exists(fileIn(kTestDatabase, category + " - " + title + ".ffx")));

        menu = openMenu(ui, categories, kCmdCategoryMenu);
        ASSERT_TRUE(menu);
        saveScreenshot(dialog, "navigator-category-menu", menu);
        menuChar(menu, 'r');
        typeLabel(categories, "Aaa Renamed");
        ASSERT_TRUE(settle(dialog, [&] { return indexOf(categories, "Aaa Renamed") == 0; }));
        EXPECT_EQ(indexOf(categories, category), -1);
        EXPECT_TRUE(fs::exists(fileIn(kTestDatabase, "Aaa Renamed - Renamed One.ffx")));

        // A new category, then a filter in it.
        menu = openMenu(ui, categories, kCmdCategoryMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'n');
        typeLabel(categories, "Zz New");
        ASSERT_TRUE(settle(dialog, [&] { return selectionOf(categories) == std::vector<int>{indexOf(categories, "Zz New")}; }));
        EXPECT_TRUE(settle(dialog, [&] { return SendMessageA(filters, LVM_GETITEMCOUNT, 0, 0) == 0; }));
        menu = openMenu(ui, filters, kCmdFilterMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'n');
        typeLabel(filters, "Fresh");
        EXPECT_TRUE(settle(dialog, [&] { return itemsOf(filters) == std::vector<std::string>{"Fresh"}; }));
        EXPECT_TRUE(fs::exists(fileIn(kTestDatabase, "Zz New - Fresh.ffx")));
        EXPECT_EQ(workingTitle(), "Fresh");

        // A new category named like an existing one goes without a trace.
        const size_t before = itemsOf(categories).size();
        menu = openMenu(ui, categories, kCmdCategoryMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'n');
        typeLabel(categories, "Zz New");
        EXPECT_TRUE(settle(dialog, [&] { return itemsOf(categories).size() == before; }));
    });
}

TEST_F(NavigatorPageTest, DraggingTwoFiltersOntoACategoryMovesTheirFiles) {
    run([&](DWORD, HWND dialog, HWND categories, HWND filters) {
        select(categories, {0});
        ASSERT_TRUE(settle(dialog, [&] { return SendMessageA(filters, LVM_GETITEMCOUNT, 0, 0) >= 2; }));
        const std::vector<std::string> titles = itemsOf(filters);
        const std::string from = itemsOf(categories)[0], to = itemsOf(categories)[2];
        select(filters, {0, 1});
        settle(dialog, [&] { return !IsWindowEnabled(GetDlgItem(page, kNavInfoButton)); });

        NMLISTVIEW begin{};
        begin.hdr = {filters, static_cast<UINT_PTR>(kNavFilterList), static_cast<UINT>(LVN_BEGINDRAG)};
        begin.iItem = 0;
        SendMessageA(page, WM_NOTIFY, kNavFilterList, reinterpret_cast<LPARAM>(&begin));
        RECT label{};
        label.left = LVIR_LABEL;
        SendMessageA(categories, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&label));
        POINT over{label.left + 5, (label.top + label.bottom) / 2};
        MapWindowPoints(categories, page, &over, 1);
        postMouse(page, WM_MOUSEMOVE, MK_LBUTTON, over.x, over.y);
        ASSERT_TRUE(settle(dialog, [&] {
            return SendMessageA(categories, LVM_GETITEMSTATE, 2, LVIS_FOCUSED) == LVIS_FOCUSED;
        }));
        EXPECT_EQ(selectionOf(categories), std::vector<int>{0});
        saveScreenshot(dialog, "navigator-drag");
        postMouse(page, WM_LBUTTONUP, 0, over.x, over.y);

        ASSERT_TRUE(settle(dialog, [&] { return selectionOf(categories) == std::vector<int>{indexOf(categories, to)}; }));
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(fs::exists(fileIn(kTestDatabase, to + " - " + titles[size_t(i)] + ".ffx"))) << titles[size_t(i)];
            EXPECT_FALSE(fs::exists(fileIn(kTestDatabase, from + " - " + titles[size_t(i)] + ".ffx")));
        }
        EXPECT_TRUE(settle(dialog, [&] { return indexOf(filters, titles[0]) >= 0 && indexOf(filters, titles[1]) >= 0; }));
        // The index was rewritten: a fresh open lists the moved filters under their new category.
        filters::FilterDatabase reopened{filters::nativeFileSystem()};
        ASSERT_TRUE(reopened.open(path(kTestDatabase) + "\\").listed);
        EXPECT_EQ(reopened.filtersOf(to).size(), dialog_.database().filtersOf(to).size());
    });
}

TEST_F(NavigatorPageTest, DeleteAsksAndDuplicateCopiesTheLoadedFilter) {
    run([&](DWORD ui, HWND dialog, HWND categories, HWND filters) {
        select(categories, {0});
        ASSERT_TRUE(settle(dialog, [&] { return !workingTitle().empty(); }));
        const std::string category = itemsOf(categories)[0];
        const std::string title = itemsOf(filters)[0];
        const std::string file = fileIn(kTestDatabase, category + " - " + title + ".ffx");

        HWND menu = openMenu(ui, filters, kCmdFilterMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'd');
        EXPECT_EQ(answerMessageBox(ui, "Confirm delete", IDNO), "Are you sure you want to delete all selected filters?");
        EXPECT_TRUE(fs::exists(file));

        menu = openMenu(ui, filters, kCmdFilterMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'u');
        EXPECT_TRUE(settle(dialog, [&] { return workingTitle() == "Copy of " + title; })) << workingTitle();
        EXPECT_TRUE(fs::exists(fileIn(kTestDatabase, category + " - Copy of " + title + ".ffx")));
        EXPECT_TRUE(settle(dialog, [&] { return indexOf(filters, "Copy of " + title) >= 0; }));

        select(filters, {indexOf(filters, title)});
        ASSERT_TRUE(settle(dialog, [&] { return workingTitle() == title; }));
        menu = openMenu(ui, filters, kCmdFilterMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'd');
        EXPECT_TRUE(answerMessageBox(ui, "Confirm delete", IDYES));
        EXPECT_TRUE(settle(dialog, [&] { return !fs::exists(file); }));
        EXPECT_TRUE(settle(dialog, [&] { return indexOf(filters, title) < 0 && indexOf(filters, "Copy of " + title) >= 0; }));

        // The category goes with all its filters after Yes.
        menu = openMenu(ui, categories, kCmdCategoryMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'd');
        EXPECT_EQ(answerMessageBox(ui, "Confirm delete", IDYES),
                  "Are you sure you want to delete all filters of the selected category?");
        EXPECT_TRUE(settle(dialog, [&] { return indexOf(categories, category) < 0; }));
        EXPECT_TRUE(dialog_.database().filtersOf(category).empty());
        EXPECT_FALSE(fs::exists(fileIn(kTestDatabase, category + " - Copy of " + title + ".ffx")));
    });
}

TEST_F(NavigatorPageTest, DatabaseMenuCreatesSwitchesCopiesOpensAndDeletes) {
    run([&](DWORD ui, HWND dialog, HWND categories, HWND filters) {
        // New, with two names refused first.
        chooseDatabaseItem(ui, 0);
        HWND create = waitForWindowWith(ui, kNewDatabaseName);
        ASSERT_TRUE(create);
        ASSERT_EQ(textOf(create), "New Database");
        saveScreenshot(create, "navigator-new-database");
        for (const char* refused : {"Caf\xC4", "Second-Test"}) {
            SetDlgItemTextA(create, kNewDatabaseName, refused);
            pressButton(create, IDOK);
            EXPECT_EQ(answerMessageBox(ui, "Lumenforge", IDOK), "Invalid character entered") << refused;
            EXPECT_TRUE(IsWindowVisible(create));
        }
        SetDlgItemTextA(create, kNewDatabaseName, "Second Test");
        pressButton(create, IDOK);
        ASSERT_TRUE(settle(dialog, [&] { return textOf(GetDlgItem(dialog, kMainDatabaseName)) == "Second Test"; }));
        EXPECT_TRUE(fs::is_directory(path(kSecondDatabase)));
        EXPECT_EQ(SendMessageA(categories, LVM_GETITEMCOUNT, 0, 0), 0);

        // Back to the first through its item in the list, then a filter copied to the second.
        chooseDatabaseItem(ui, 3);
        ASSERT_TRUE(settle(dialog, [&] { return textOf(GetDlgItem(dialog, kMainDatabaseName)) == "Navigator Test"; }));
        select(categories, {0});
        ASSERT_TRUE(settle(dialog, [&] { return !workingTitle().empty(); }));
        const std::string copied = itemsOf(categories)[0] + " - " + itemsOf(filters)[0] + ".ffx";
        const std::string index = readAll(fileIn(kSecondDatabase, "index"));
        HWND menu = openMenu(ui, filters, kCmdFilterMenu);
        ASSERT_TRUE(menu);
        menuChar(menu, 'c');
        menuKey(menu, VK_RETURN);
        EXPECT_TRUE(settle(dialog, [&] { return fs::exists(fileIn(kSecondDatabase, copied)); }));
        // The target's index is left to its next open.
        EXPECT_EQ(readAll(fileIn(kSecondDatabase, "index")), index);

        // Open: a folder not ending in .db is refused, the second database is opened.
        folders = {root_ + "Somewhere", path(kSecondDatabase)};
        chooseDatabaseItem(ui, 1);
        EXPECT_EQ(answerMessageBox(ui, "Lumenforge", IDOK), "Invalid database selected");
        chooseDatabaseItem(ui, 1);
        ASSERT_TRUE(settle(dialog, [&] { return textOf(GetDlgItem(dialog, kMainDatabaseName)) == "Second Test"; }));
        EXPECT_TRUE(settle(dialog, [&] { return SendMessageA(categories, LVM_GETITEMCOUNT, 0, 0) == 1; }));
        ASSERT_FALSE(browsed.empty());
        EXPECT_EQ(browsed[0], "Please select a database @ " + root_);

        // Delete: the active one is refused; another goes after Yes and stays listed, greyed.
        folders = {path(kSecondDatabase), path(kTestDatabase)};
        chooseDatabaseItem(ui, 2);
        EXPECT_EQ(answerMessageBox(ui, "Lumenforge", IDOK), "You can't delete the currently active database");
        chooseDatabaseItem(ui, 3);
        ASSERT_TRUE(settle(dialog, [&] { return textOf(GetDlgItem(dialog, kMainDatabaseName)) == "Navigator Test"; }));
        folders = {path(kSecondDatabase)};
        chooseDatabaseItem(ui, 2);
        EXPECT_EQ(answerMessageBox(ui, "Confirm delete", IDYES), "Are you sure you want to delete the entire database?");
        EXPECT_TRUE(settle(dialog, [&] { return !fs::exists(path(kSecondDatabase)); }));

        menu = openDatabaseMenu(ui);
        ASSERT_TRUE(menu);
        HMENU items = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        ASSERT_TRUE(items);
        EXPECT_EQ(GetMenuItemCount(items), 5);
        EXPECT_TRUE(GetMenuState(items, kMenuDatabaseFirst, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_TRUE(GetMenuState(items, kMenuDatabaseFirst + 1, MF_BYCOMMAND) & MF_GRAYED);
        saveScreenshot(dialog, "navigator-database-menu", menu);
        menuKey(menu, VK_ESCAPE);
        EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(menu); }));
        EXPECT_EQ(filters::readDatabaseList(*settings_), (std::vector<std::string>{kTestDatabase, kSecondDatabase}));
    });
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST_F(NavigatorPageTest, ImportOfEveryKindStopsAtTheBrokenFileWhenTheUserSaysNo) {
    const fs::path scratch = fs::path(path(kTestDatabase)).parent_path() / "navigator-import";
    fs::remove_all(scratch);
    fs::create_directories(scratch);
    filters::ParmRecord record = filters::testing::sampleParmRecord();
    writeFile((scratch / "plugin.8bf").string(), filters::testing::buildFfPlugin(filters::testing::encodeParmRecord(record)));
    std::string library = "FFL1.0\r\n2\r\n";
    for (const char* title : {"Lib One", "Lib Two"}) {
        library += std::string("src\r\nLibrary\r\n") + title + "\r\n";
        for (int line = 4; line <= 29; ++line) library += line >= 26 ? "r\r\n" : "\r\n";
    }
    writeFile((scratch / "set.ffl").string(), std::vector<uint8_t>(library.begin(), library.end()));
    filters::FilterDefinition own;
    own.category = "Own";
    own.title = "Kept Name";
    own.code = {"0", "r", "g", "b", "a"};
    ASSERT_TRUE(filters::saveFfxAs(filters::nativeFileSystem(), own, (scratch / "any name.ffx").string()));
    const std::string corpus = LUMEN_CORPUS_DIR "/afs/";
    if (!fs::exists(corpus + "algebra.afs")) GTEST_SKIP() << "no corpus";
    chosenFiles = {(scratch / "plugin.8bf").string(), (scratch / "any name.ffx").string(),
                   (scratch / "set.ffl").string(), corpus + "algebra.afs", corpus + "bad1.afs", corpus + "c2dm.afs"};

    run([&](DWORD ui, HWND dialog, HWND categories, HWND) {
        const size_t before = dialog_.database().entries().size();
        PostMessageA(page, WM_COMMAND, MAKEWPARAM(kNavImportButton, BN_CLICKED), 0);
        HWND pick = waitForWindowWith(ui, kLibraryList);
        ASSERT_TRUE(pick);
        HWND rows = GetDlgItem(pick, kLibraryList);
        ASSERT_TRUE(waitUntil([&] { return SendMessageA(rows, LVM_GETITEMCOUNT, 0, 0) == 2; }));
        pressButton(pick, kLibrarySelectAll);
        ASSERT_TRUE(waitUntil([&] { return selectionOf(rows).size() == 2; }));
        saveScreenshot(pick, "navigator-library-import");
        pressButton(pick, IDOK);

        const std::optional<std::string> question = answerMessageBox(ui, "Import", IDNO);
        ASSERT_TRUE(question);
        EXPECT_NE(question->find("bad1.afs"), std::string::npos) << *question;
        EXPECT_NE(question->find("Invalid AFS format."), std::string::npos) << *question;
        EXPECT_NE(question->find("Do you want to continue importing files?"), std::string::npos);

        // Reopened: the plug-in's filter, the copied file, both library rows and the first .afs.
        ASSERT_TRUE(settle(dialog, [&] { return dialog_.database().entries().size() == before + 5; }))
            << dialog_.database().entries().size() - before;
        EXPECT_TRUE(fs::exists(fileIn(kTestDatabase, "any name.ffx")));
        EXPECT_GE(indexOf(categories, "Library"), 0);
        EXPECT_GE(indexOf(categories, "Own"), 0);
        EXPECT_GE(indexOf(categories, record.category), 0);
    });
    EXPECT_EQ(filters::readStringSetting(*settings_, filters::kRecentImportPathValue), chosenFiles.back());
    fs::remove_all(scratch);
}

TEST_F(NavigatorPageTest, TheEditorButtonEditsTheFilterAndSaveKeepsTheEditsOnDiskButNotTheTitle) {
    run([&](DWORD ui, HWND dialog, HWND categories, HWND filters) {
        const std::vector<std::string> names = itemsOf(categories);
        select(categories, {1});
        ASSERT_TRUE(settle(dialog, [&] { return SendMessageA(filters, LVM_GETITEMCOUNT, 0, 0) > 0; }));
        const std::string title = itemsOf(filters)[0];
        ASSERT_TRUE(settle(dialog, [&] { return workingTitle() == title; }));
        const std::string before = dialog_.navigator().workingFilter().code[1];

        PostMessageA(page, WM_COMMAND, MAKEWPARAM(kNavEditorButton, BN_CLICKED), 0);
        HWND editor = waitForWindowWith(ui, kEditSourceG);
        ASSERT_TRUE(editor);
        EXPECT_EQ(textOf(GetDlgItem(editor, kEditTitle)), title);
        SetDlgItemTextA(editor, kEditSourceR, "255-r");
        saveScreenshot(editor, "editor-shipped-filter");
        SendDlgItemMessageA(editor, kEditRandomize, BM_CLICK, 0, 0);
        const auto randomized = static_cast<int32_t>(SendDlgItemMessageA(editor, kEditSlider0, kSliderGetValue, 0, 0));
        pressButton(editor, IDOK);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(editor); }));

        EXPECT_TRUE(settle(dialog, [&] { return dialog_.navigator().workingFilter().code[1] == "255-r"; })) << before;
        EXPECT_EQ(dialog_.runner().filter().code[1], "255-r");
        filters::FilterDefinition saved;
        ASSERT_TRUE(filters::loadFfxFile(filters::nativeFileSystem(),
                                         fileIn(kTestDatabase, names[1] + " - " + title + ".ffx"), saved));
        EXPECT_EQ(saved.code[1], "255-r");
        EXPECT_EQ(saved.title, title);
        EXPECT_EQ(saved.controlValue[0], randomized);
        // The control panel shows the saved values.
        HWND panel = pageWith(dialog, kPanelReset);
        EXPECT_TRUE(settle(dialog, [&] {
            return SendDlgItemMessageA(panel, kPanelSliderIds[0], kSliderGetValue, 0, 0) == randomized;
        }));
    });
}

}  // namespace
}  // namespace lumen::ui
