#include "filters/database_management.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef __linux__
#include <sys/mount.h>
#include <unistd.h>
#endif

#include "filters/ffx_file.h"
#include "filters/memory_settings.h"
#include "test_support.h"

using namespace lumen::filters;
using namespace lumen::filters::testing;
namespace stdfs = std::filesystem;

namespace {

class DatabaseManagement : public ::testing::Test {
protected:
    void SetUp() override {
        root = withTrailingSeparator(scratch.path());
        ASSERT_TRUE(fs.createDirectory(root + "Korvath Filters.db"));
        ASSERT_TRUE(database.open(root + "Korvath Filters.db").listed);
        ASSERT_TRUE(database.newFilter(working, "Stone", "Tiles"));
        ASSERT_TRUE(database.newFilter(working, "Stone", "Moss"));
    }
    DatabaseManager manager() { return DatabaseManager(fs, settings, root, database, working); }
    bool exists(const std::string& path) { return stdfs::exists(stdfs::symlink_status(path)); }

    ScratchDirectory scratch;
    std::string root;
    FileSystem& fs = nativeFileSystem();
    FilterDatabase database{nativeFileSystem()};
    FilterDefinition working;
    MemorySettingsStore settings;
};

}  // namespace

TEST_F(DatabaseManagement, CreateChecksTheNameMakesTheDirectoryAndSwitches) {
    DatabaseManager dm = manager();
    EXPECT_EQ(dm.recentDatabases(), std::vector<std::string>{"Korvath Filters.db"});
    EXPECT_EQ(dm.createDatabase(""), DatabaseProblem::NothingToDo);
    EXPECT_EQ(dm.createDatabase("A/B"), DatabaseProblem::InvalidCharacter);
    EXPECT_EQ(dm.createDatabase("\xC4rger"), DatabaseProblem::InvalidCharacter);  // Ä is not in the alphabet
    EXPECT_STREQ(problemMessage(DatabaseProblem::InvalidCharacter), "Invalid character entered");

    working.controlValue[0] = 77;  // an unsaved change of the working filter is saved first
    working.takeCurrentAsDefault();
    const std::string workingFile = working.filePath;
    EXPECT_EQ(dm.createDatabase("My Filters"), DatabaseProblem::None);
    EXPECT_TRUE(fs.directoryExists(root + "My Filters.db"));
    EXPECT_EQ(database.path(), withTrailingSeparator(root + "My Filters.db"));
    EXPECT_TRUE(database.entries().empty());
    EXPECT_TRUE(working.title.empty());
    FilterDefinition saved;
    ASSERT_TRUE(loadFfxFile(fs, workingFile, saved));
    EXPECT_EQ(saved.controlDefault[0], 77);
    EXPECT_EQ(readDatabaseList(settings), (std::vector<std::string>{"Korvath Filters.db", "My Filters.db"}));

    EXPECT_EQ(dm.createDatabase("My Filters"), DatabaseProblem::CreateFailed);
    EXPECT_STREQ(problemMessage(DatabaseProblem::CreateFailed),
                 "Error creating directory. Maybe a database of this name already exists.");
}

TEST_F(DatabaseManagement, OpenAndSwitch) {
    DatabaseManager dm = manager();
    ASSERT_TRUE(fs.createDirectory(root + "Other.DB"));
    ASSERT_TRUE(fs.createDirectory(root + "folder"));
    EXPECT_EQ(dm.openDatabase(root + "folder"), DatabaseProblem::InvalidDatabase);
    EXPECT_EQ(dm.openDatabase(root + "Other.DB"), DatabaseProblem::None);
    EXPECT_EQ(database.path(), withTrailingSeparator(root + "Other.DB"));
    EXPECT_EQ(dm.recentDatabases(), (std::vector<std::string>{"Korvath Filters.db", "Other.DB"}));

    // Switching does not reorder the list.
    EXPECT_EQ(dm.switchDatabase("Korvath Filters.db"), DatabaseProblem::None);
    EXPECT_EQ(database.entries().size(), 2u);
    EXPECT_EQ(dm.recentDatabases(), (std::vector<std::string>{"Korvath Filters.db", "Other.DB"}));
    EXPECT_EQ(dm.switchDatabase("Gone.db"), DatabaseProblem::UnableToOpen);
    EXPECT_EQ(database.path(), withTrailingSeparator(root + "Korvath Filters.db"));
}

TEST_F(DatabaseManagement, DeleteRefusesTheCurrentAndAsksFirst) {
    DatabaseManager dm = manager();
    ASSERT_TRUE(fs.createDirectory(root + "Old.db"));
    ASSERT_EQ(dm.openDatabase(root + "Old.db"), DatabaseProblem::None);
    ASSERT_EQ(dm.switchDatabase("Korvath Filters.db"), DatabaseProblem::None);
    auto yes = [] { return true; };
    EXPECT_EQ(dm.deleteDatabase(root + "Korvath Filters.DB", yes), DatabaseProblem::DeletingCurrent);
    EXPECT_EQ(dm.deleteDatabase(root + "folder", yes), DatabaseProblem::InvalidDatabase);
    EXPECT_EQ(dm.deleteDatabase(root + "Old.db", [] { return false; }), DatabaseProblem::NotConfirmed);
    EXPECT_TRUE(fs.directoryExists(root + "Old.db"));
    EXPECT_EQ(dm.deleteDatabase(root + "Old.db", yes), DatabaseProblem::None);
    EXPECT_FALSE(exists(root + "Old.db"));
    // The name stays in the list, greyed.
    const std::vector<RecentDatabaseItem> menu = dm.recentMenu();
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_TRUE(menu[0].current && menu[0].exists);
    EXPECT_EQ(menu[1].name, "Old.db");
    EXPECT_FALSE(menu[1].exists);
    EXPECT_TRUE(dm.copyTargets().empty());
}

#ifndef _WIN32
TEST_F(DatabaseManagement, DeleteNeverFollowsLinksOutOfTheDatabase) {
    DatabaseManager dm = manager();
    const std::string outside = scratch.file("outside");
    ASSERT_TRUE(fs.createDirectory(outside));
    writeBytes(joinPath(outside, "keep"), {1, 2, 3});
    const std::string old = root + "Old.db";
    ASSERT_TRUE(fs.createDirectory(old));
    ASSERT_TRUE(fs.createDirectory(joinPath(old, "nested")));
    writeBytes(joinPath(old, "nested/a.ffx"), {4});
    stdfs::create_directory_symlink(outside, joinPath(old, "nested/dirlink"));
    stdfs::create_symlink(joinPath(outside, "keep"), joinPath(old, "filelink"));
    // A database that is itself a link to elsewhere: only refusing it keeps the target whole.
    stdfs::create_directory_symlink(outside, root + "Linked.db");

    EXPECT_EQ(dm.deleteDatabase(old, [] { return true; }), DatabaseProblem::None);
    EXPECT_FALSE(exists(old));
    EXPECT_EQ(dm.deleteDatabase(root + "Linked.db", [] { return true; }), DatabaseProblem::None);
    EXPECT_EQ(readBytes(joinPath(outside, "keep")), (std::vector<uint8_t>{1, 2, 3}));
}
#endif

#ifdef __linux__
TEST_F(DatabaseManagement, DeleteLeavesFileSystemsMountedInsideAlone) {
    DatabaseManager dm = manager();
    const std::string old = root + "Old.db";
    const std::string mountPoint = joinPath(old, "mounted");
    ASSERT_TRUE(fs.createDirectory(old));
    ASSERT_TRUE(fs.createDirectory(mountPoint));
    if (::geteuid() != 0 || ::mount("lumen-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "mounting needs privileges";
    struct Unmount {
        std::string path;
        ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
    } unmount{mountPoint};
    writeBytes(joinPath(mountPoint, "precious"), {9});
    writeBytes(joinPath(old, "a.ffx"), {1});
    EXPECT_EQ(dm.deleteDatabase(old, [] { return true; }), DatabaseProblem::None);
    EXPECT_EQ(readBytes(joinPath(mountPoint, "precious")), std::vector<uint8_t>{9});
    EXPECT_FALSE(exists(joinPath(old, "a.ffx")));
}
#endif

TEST_F(DatabaseManagement, RecentListKeepsTheLastTwelve) {
    std::vector<std::string> fifteen;
    for (int i = 0; i < 15; ++i) fifteen.push_back("D" + std::to_string(i) + ".db");
    ASSERT_TRUE(writeDatabaseList(settings, fifteen));
    DatabaseManager loaded = manager();
    EXPECT_EQ(loaded.recentDatabases().size(), 12u);
    EXPECT_EQ(loaded.recentDatabases().front(), "D3.db");

    settings.values.clear();
    DatabaseManager dm = manager();
    for (int i = 0; i < 13; ++i) ASSERT_EQ(dm.createDatabase("N" + std::to_string(i)), DatabaseProblem::None);
    const std::vector<std::string> names = readDatabaseList(settings);
    ASSERT_EQ(names.size(), 12u);
    EXPECT_EQ(names.front(), "N1.db");
    EXPECT_EQ(names.back(), "N12.db");

    // Remembering again moves a name to the end, whatever its case; a path outside gives "???".
    dm.remember(root + "n5.DB" + kPathSeparator);
    EXPECT_EQ(dm.recentDatabases().back(), "n5.DB");
    EXPECT_EQ(std::count(dm.recentDatabases().begin(), dm.recentDatabases().end(), "N5.db"), 0);
    dm.remember("/x");
    EXPECT_EQ(dm.recentDatabases().back(), "???");
}

TEST_F(DatabaseManagement, CopyToAnotherDatabaseSkipsFailuresAndLeavesItsIndex) {
    DatabaseManager dm = manager();
    ASSERT_TRUE(fs.createDirectory(root + "Target.db"));
    dm.remember(root + "Target.db" + kPathSeparator);
    EXPECT_EQ(dm.copyTargets(), std::vector<std::string>{"Target.db"});

    std::vector<DatabaseEntry> entries = database.entries();
    // An entry whose file is gone, and one copied under a name from its category and title.
    entries.insert(entries.begin(), DatabaseEntry{0, "Stone", "Lost", "Stone - Lost.ffx"});
    entries.back().title = "Renamed?";
    EXPECT_EQ(dm.copyFiltersTo(entries, "Target.db"), 2u);
    EXPECT_TRUE(fs.fileExists(root + "Target.db" + kPathSeparator + "Stone - Moss.ffx"));
    EXPECT_TRUE(fs.fileExists(root + "Target.db" + kPathSeparator + "Stone - Renamed_.ffx"));
    EXPECT_FALSE(fs.fileExists(root + "Target.db" + kPathSeparator + "index"));
    EXPECT_EQ(dm.copyFiltersTo(database.entries(), "Missing.db"), 0u);
}

// A database name is a name in the root: "..", "." and paths never reach outside it.
TEST_F(DatabaseManagement, CopyToNeverWritesOutsideTheRoot) {
    DatabaseManager dm = manager();
    const std::string outside = scratch.file("outside.db");
    ASSERT_TRUE(fs.createDirectory(outside));
    ASSERT_TRUE(fs.createDirectory(root + "a.db"));
    for (const std::string name : {std::string(".."), std::string("."), std::string("a.db/../../outside.db"),
                                   std::string("../outside.db"), root + "a.db", std::string("a")})
        EXPECT_EQ(dm.copyFiltersTo(database.entries(), name), 0u) << name;
    EXPECT_TRUE(fs.listDirectory(outside)->empty());
    EXPECT_TRUE(fs.listDirectory(root + "a.db")->empty());
    EXPECT_EQ(dm.copyFiltersTo(database.entries(), "a.db"), 2u);
}
