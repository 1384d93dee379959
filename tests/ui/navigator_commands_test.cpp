#include "ui/model/navigator_commands.h"

#include <deque>

#include "filters/memory_settings.h"
#include "navigator_fixture.h"

namespace lumen::ui::testing {
namespace {

using filters::RecentDatabaseItem;
using Strings = std::vector<std::string>;

std::vector<std::pair<int, bool>> idsAndStates(const std::vector<MenuItem>& items) {
    std::vector<std::pair<int, bool>> states;
    for (const MenuItem& item : items) states.emplace_back(item.id, item.enabled);
    return states;
}

TEST(NavigatorMenus, CategoryMenuEnablesRenameAndDeleteForOneCategory) {
    std::vector<MenuItem> menu = categoryMenu(0);
    EXPECT_EQ(idsAndStates(menu), (std::vector<std::pair<int, bool>>{
                                      {kCategoryNew, true}, {0, true}, {kCategoryRename, false}, {kCategoryDelete, false}}));
    EXPECT_TRUE(menu[1].separator());
    EXPECT_EQ(menu[0].text, "&New...");
    EXPECT_TRUE(categoryMenu(1)[2].enabled && categoryMenu(1)[3].enabled);
}

TEST(NavigatorMenus, FilterMenuStatesFollowTheSelections) {
    // A category holding only its placeholder still offers "&New...".
    std::vector<MenuItem> menu = filterMenu(1, 0, {});
    EXPECT_EQ(idsAndStates(menu), (std::vector<std::pair<int, bool>>{{kFilterNew, true},
                                                                      {kFilterEdit, false},
                                                                      {0, true},
                                                                      {kFilterRename, false},
                                                                      {kFilterDelete, false},
                                                                      {kFilterDuplicate, false},
                                                                      {0, true},
                                                                      {0, true}}));
    EXPECT_EQ(menu.back().text, "&Copy to");
    menu = filterMenu(1, 2, {});
    EXPECT_FALSE(menu[1].enabled || menu[3].enabled || menu[5].enabled);
    EXPECT_TRUE(menu[4].enabled);
    menu = filterMenu(0, 1, {});
    EXPECT_FALSE(menu[0].enabled);
    EXPECT_TRUE(menu[1].enabled && menu[3].enabled && menu[4].enabled && menu[5].enabled);
    EXPECT_TRUE(oneFilterSelected(1));
    EXPECT_FALSE(oneFilterSelected(0) || oneFilterSelected(2));
}

TEST(NavigatorMenus, CopyToKeepsEachDatabasesPlaceInItsIdAndOffersOnlyOthersThatExist) {
    const std::vector<RecentDatabaseItem> recent{
        {"Old.db", false, false}, {"Korvath Filters.db", true, true}, {"Mine.db", false, true}};
    std::vector<MenuItem> items = copyToMenu(recent);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0], MenuItem(20002, "Mine.db"));
    EXPECT_EQ(filterMenu(1, 1, recent).back().submenu, items);
    EXPECT_EQ(copyTarget(20002, recent), "Mine.db");
    EXPECT_EQ(copyTarget(20001, recent), std::nullopt);
    EXPECT_EQ(copyTarget(20003, recent), std::nullopt);

    std::vector<RecentDatabaseItem> many(14, RecentDatabaseItem{"X.db", false, true});
    items = copyToMenu(many);
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items.back().id, kCopyToLast);
}

TEST(NavigatorMenus, DatabaseMenuChecksTheCurrentAndGreysTheMissing) {
    const std::vector<RecentDatabaseItem> recent{{"Gone.db", false, false}, {"Korvath Filters.db", true, true}};
    std::vector<MenuItem> menu = databaseMenu(recent);
    ASSERT_EQ(menu.size(), 5u);
    EXPECT_EQ(menu[0], MenuItem(kDatabaseNew, "New..."));
    EXPECT_EQ(menu[1], MenuItem(kDatabaseOpen, "Open..."));
    EXPECT_EQ(menu[2], MenuItem(kDatabaseDelete, "Delete..."));
    EXPECT_EQ(menu[3], MenuItem(20003, "Gone.db", false, false));
    EXPECT_EQ(menu[4], MenuItem(20004, "Korvath Filters.db", true, true));
    EXPECT_EQ(databaseMenu(std::vector<RecentDatabaseItem>(14)).back().id, kDatabaseLast);
}

class ScriptedDialogs : public DatabaseDialogs {
public:
    bool newDatabase(const std::function<NewDatabaseReply(const std::string&)>& ok) override {
        while (!names.empty()) {
            std::string name = names.front();
            names.pop_front();
            NewDatabaseReply reply = ok(name);
            if (!reply.message.empty()) messages.push_back(reply.message);
            if (reply.close) return true;
        }
        return false;  // Cancel
    }
    std::optional<std::string> browseFolder(const std::string& title, const std::string& root) override {
        titles.push_back(title);
        roots.push_back(root);
        return folder;
    }
    bool confirmDelete(const std::string& question) override {
        questions.push_back(question);
        return yes;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    std::deque<std::string> names;  // typed one after the other, each followed by OK
    std::optional<std::string> folder;
    bool yes = true;
    Strings titles, roots, questions, messages;
};

class DatabaseCommands : public NavigatorTest {
protected:
    void SetUp() override {
        NavigatorTest::SetUp();
        root = filters::withTrailingSeparator(rootDir.path());
        navigator.initialFill("Stone", "Brick");
        view.log.clear();
    }
    filters::DatabaseManager manager() {
        return filters::DatabaseManager(fs, settings, root, database, working);
    }
    Strings savedList() { return filters::readDatabaseList(settings); }

    filters::testing::ScratchDirectory rootDir;
    std::string root;
    filters::MemorySettingsStore settings;
    ScriptedDialogs dialogs;
};

TEST_F(DatabaseCommands, NewDatabaseRefusesBadNamesKeepsTheDialogOpenAndSwitches) {
    filters::DatabaseManager dm = manager();
    dialogs.names = {"", "\xC4pfel", "My-Filters", "Art (old)"};
    runDatabaseCommand(kDatabaseNew, dm, root, dialogs, navigator);
    EXPECT_EQ(dialogs.messages, (Strings{"Invalid character entered", "Invalid character entered"}));
    EXPECT_TRUE(fs.directoryExists(root + "Art (old).db"));
    EXPECT_EQ(database.path(), filters::withTrailingSeparator(root + "Art (old).db"));
    EXPECT_TRUE(view.categories.empty());
    EXPECT_EQ(view.log.front(), "stop");
    EXPECT_EQ(savedList().back(), "Art (old).db");

    // The same name again: the directory exists.
    dialogs.messages.clear();
    dialogs.names = {"Art (old)"};
    runDatabaseCommand(kDatabaseNew, dm, root, dialogs, navigator);
    EXPECT_EQ(dialogs.messages, Strings{"Error creating directory. Maybe a database of this name already exists."});
}

TEST_F(DatabaseCommands, OpenAndDeleteCheckTheFolderAndTheCurrentDatabaseIsKept) {
    filters::DatabaseManager dm = manager();
    dialogs.folder = root + "Plain";
    runDatabaseCommand(kDatabaseOpen, dm, root, dialogs, navigator);
    runDatabaseCommand(kDatabaseDelete, dm, root, dialogs, navigator);
    EXPECT_EQ(dialogs.titles, (Strings{"Please select a database", "Please select a database to delete"}));
    EXPECT_EQ(dialogs.roots, (Strings{root, root}));
    EXPECT_EQ(dialogs.messages, (Strings{"Invalid database selected", "Invalid database selected"}));

    // The current database: opened first (any case of ".db"), then refused for deleting.
    dialogs.messages.clear();
    ASSERT_TRUE(fs.createDirectory(root + "Other.DB"));
    dialogs.folder = root + "Other.DB";
    runDatabaseCommand(kDatabaseOpen, dm, root, dialogs, navigator);
    EXPECT_EQ(database.path(), filters::withTrailingSeparator(root + "Other.DB"));
    runDatabaseCommand(kDatabaseDelete, dm, root, dialogs, navigator);
    EXPECT_EQ(dialogs.messages, Strings{"You can't delete the currently active database"});
    EXPECT_TRUE(fs.directoryExists(root + "Other.DB"));

    // Another one, answered No, then Yes.
    ASSERT_TRUE(fs.createDirectory(root + "Spare.db"));
    dialogs.folder = root + "Spare.db";
    dialogs.yes = false;
    runDatabaseCommand(kDatabaseDelete, dm, root, dialogs, navigator);
    EXPECT_TRUE(fs.directoryExists(root + "Spare.db"));
    dialogs.yes = true;
    runDatabaseCommand(kDatabaseDelete, dm, root, dialogs, navigator);
    EXPECT_FALSE(fs.directoryExists(root + "Spare.db"));
    EXPECT_EQ(dialogs.questions.size(), 2u);
}

TEST_F(DatabaseCommands, SwitchingToAListedDatabaseAndToAMissingOne) {
    ASSERT_TRUE(fs.createDirectory(root + "A.db"));
    ASSERT_TRUE(fs.createDirectory(root + "B.db"));
    filters::FilterDefinition filter = filters::testing::sampleFilter(0);
    filter.category = "Light";
    filter.title = "Glow";
    ASSERT_TRUE(filters::saveFfxAs(fs, filter, root + "B.db/" + filters::filterFileName("Light", "Glow")));
    filters::writeDatabaseList(settings, {"A.db", "B.db", "Gone.db"});
    filters::DatabaseManager dm = manager();

    runDatabaseCommand(kDatabaseFirst + 1, dm, root, dialogs, navigator);
    EXPECT_EQ(database.path(), filters::withTrailingSeparator(root + "B.db"));
    EXPECT_EQ(view.categories, Strings{"Light"});
    EXPECT_EQ(databaseMenu(dm.recentMenu())[4].checked, true);
    EXPECT_EQ(savedList(), (Strings{"A.db", "B.db", "Gone.db"}));  // not reordered

    runDatabaseCommand(kDatabaseFirst + 2, dm, root, dialogs, navigator);
    EXPECT_EQ(dialogs.messages, Strings{"Unable to open selected database"});
    EXPECT_EQ(database.path(), filters::withTrailingSeparator(root + "B.db"));
    EXPECT_FALSE(databaseMenu(dm.recentMenu())[5].enabled);
}

TEST_F(DatabaseCommands, TheRecentListIsSavedAfterEveryUseEvenWhenNothingWasChosen) {
    filters::DatabaseManager dm = manager();
    settings.values.clear();
    runDatabaseCommand(0, dm, root, dialogs, navigator);
    EXPECT_FALSE(savedList().empty());
    settings.values.clear();
    runDatabaseCommand(kDatabaseNew, dm, root, dialogs, navigator);  // cancelled
    EXPECT_FALSE(savedList().empty());
    settings.values.clear();
    runDatabaseCommand(kDatabaseOpen, dm, root, dialogs, navigator);  // no folder chosen
    EXPECT_FALSE(savedList().empty());
    EXPECT_TRUE(view.log.empty());
}

TEST_F(DatabaseCommands, CopyToPutsTheSelectedFilesInTheOtherDatabaseAndLeavesItsIndex) {
    ASSERT_TRUE(fs.createDirectory(root + "B.db"));
    filters::writeDatabaseList(settings, {"B.db", "Gone.db"});
    filters::DatabaseManager dm = manager();
    const std::vector<MenuItem> targets = copyToMenu(dm.recentMenu());
    ASSERT_EQ(targets.size(), 1u);
    EXPECT_EQ(runCopyTo(targets[0].id, {0, 1}, dm, navigator), 2u);
    EXPECT_EQ(filters::testing::readBytes(root + "B.db/Stone - Tiles.ffx"),
              filters::testing::readBytes(dir.file("Stone - Tiles.ffx")));
    EXPECT_TRUE(fs.fileExists(root + "B.db/Stone - Brick.ffx"));
    EXPECT_FALSE(fs.fileExists(root + "B.db/index"));
    // An id the menu did not offer copies nothing.
    EXPECT_EQ(runCopyTo(kCopyToFirst + 1, {0}, dm, navigator), 0u);
}

// Chooses one file of a kind the command skips.
class SkippedFileChosen : public filters::ImportUi {
public:
    filters::FileDialogResult chooseFiles(const std::string&, uint32_t) override {
        return {filters::FileDialogOutcome::Chosen, {"notes.txt"}, 4};
    }
    std::optional<std::vector<size_t>> pickLibraryEntries(const std::string&, const filters::FilterLibrary&) override {
        return std::nullopt;
    }
    void showMessage(const std::string&) override {}
    bool askToContinue(const std::string&) override { return false; }
};

TEST_F(DatabaseCommands, ImportStopsTheRenderFirstAndRefillsTheLists) {
    // A filter file that appeared beside the database is found by the reopen.
    filters::FilterDefinition filter = filters::testing::sampleFilter(0);
    filter.category = "Light";
    filter.title = "Glow";
    ASSERT_TRUE(filters::saveFfxAs(fs, filter, dir.file(filters::filterFileName("Light", "Glow"))));
    SkippedFileChosen ui;
    filters::ImportContext context{fs, settings, database, working, ui};
    runImportCommand(context, navigator);
    EXPECT_EQ(view.log.front(), "stop");
    EXPECT_EQ(view.log.back(), "categories");
    EXPECT_EQ(view.categories, (Strings{"Distort", "Light", "Stone"}));
}

}  // namespace
}  // namespace lumen::ui::testing
