#include "filters/filter_database.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "filters/ffx_file.h"
#include "test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace lumen::filters {
namespace {

using testing::FaultyFileSystem;
using testing::ScratchDirectory;

class FilterDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto [category, title, presets] : {std::tuple{"Stone", "Tiles", 1}, {"Stone", "Brick", 0},
                                                {"Distort", "Wave", 0}}) {
            FilterDefinition filter = testing::sampleFilter(presets);
            filter.category = category;
            filter.title = title;
            ASSERT_TRUE(saveFfxAs(fs, filter, dir.file(filterFileName(category, title))));
        }
    }

    std::vector<std::string> fileNames() const {
        std::vector<std::string> names;
        for (const DatabaseEntry& entry : database.entries()) names.push_back(entry.fileName);
        return names;
    }

    ScratchDirectory dir;
    FaultyFileSystem fs;
    FilterDatabase database{fs};
};

TEST_F(FilterDatabaseTest, OpenWithoutIndexReadsEveryFileAndWritesTheIndex) {
    DatabaseOpenResult result = database.open(dir.path());
    EXPECT_TRUE(result.listed);
    EXPECT_FALSE(result.indexRead);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"Distort - Wave.ffx", "Stone - Brick.ffx",
                                                     "Stone - Tiles.ffx"}));
    EXPECT_TRUE(database.entries()[2].hasPresets());
    EXPECT_FALSE(database.entries()[1].hasPresets());
    EXPECT_EQ(database.categories(), (std::vector<std::string>{"Distort", "Stone"}));
    EXPECT_TRUE(fs.fileExists(dir.file("index")));
}

TEST_F(FilterDatabaseTest, OpenWithAValidIndexOpensNoFilterFile) {
    database.open(dir.path());
    std::vector<DatabaseEntry> first = database.entries();
    fs.reads = 0;
    FilterDatabase again(fs);
    EXPECT_TRUE(again.open(dir.path()).indexRead);
    EXPECT_EQ(fs.reads, 1);
    EXPECT_EQ(again.entries(), first);

    ASSERT_TRUE(fs.removeFile(dir.file("index")));
    FilterDatabase rebuilt(fs);
    EXPECT_FALSE(rebuilt.open(dir.path()).indexRead);
    EXPECT_EQ(rebuilt.entries(), first);
}

TEST_F(FilterDatabaseTest, FilesAddedOrRemovedByHandAndPlaceholdersAreReconciled) {
    database.open(dir.path());
    ASSERT_TRUE(database.newCategory("Empty"));
    EXPECT_FALSE(database.newCategory("Empty"));
    EXPECT_FALSE(database.newCategory(""));
    EXPECT_EQ(database.categories().size(), 3u);

    FilterDefinition added = testing::sampleFilter(0);
    added.category = "Light";
    ASSERT_TRUE(saveFfxAs(fs, added, dir.file("hand made.FFX")));
    testing::writeBytes(dir.file("broken.ffx"), {1, 2, 3});
    ASSERT_TRUE(fs.removeFile(dir.file("Stone - Brick.ffx")));

    FilterDatabase reopened(fs);
    EXPECT_TRUE(reopened.open(dir.path()).indexRead);
    std::vector<std::string> names;
    for (const DatabaseEntry& entry : reopened.entries()) names.push_back(entry.fileName);
    EXPECT_EQ(names, (std::vector<std::string>{"Distort - Wave.ffx", "hand made.FFX", "Stone - Tiles.ffx"}));
    EXPECT_EQ(reopened.categories(), (std::vector<std::string>{"Distort", "Light", "Stone"}));
}

TEST_F(FilterDatabaseTest, AnIndexNamingOneFileTwiceOrAPathOutsideGivesOneEntry) {
    std::vector<DatabaseEntry> hostile = {{0, "Stone", "Tiles", "Stone - Tiles.ffx"},
                                          {1, "Other", "Again", "stone - tiles.FFX"},
                                          {0, "Evil", "Up", "../outside.ffx"}};
    testing::writeBytes(dir.file("index"), serializeIndex(hostile));
    ASSERT_TRUE(fs.writeFileAtomic(dir.file("../outside.ffx"), std::vector<uint8_t>{1}));
    EXPECT_TRUE(database.open(dir.path()).indexRead);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"Distort - Wave.ffx", "Stone - Brick.ffx",
                                                     "Stone - Tiles.ffx"}));
    EXPECT_EQ(database.filtersOf("Stone")[1].title, "Tiles");
    EXPECT_FALSE(database.deleteFilters({"../outside.ffx"}));
    EXPECT_TRUE(fs.removeFile(dir.file("../outside.ffx")));
}

TEST_F(FilterDatabaseTest, OpenOfAMissingDirectoryChangesNothing) {
    database.open(dir.path());
    EXPECT_FALSE(database.open(dir.file("gone.db")).listed);
    EXPECT_EQ(database.entries().size(), 3u);
}

TEST_F(FilterDatabaseTest, NewRenameAndMoveKeepFilesEntriesAndIndexInStep) {
    database.open(dir.path());
    FilterDefinition working;
    EXPECT_FALSE(database.newFilter(working, "Stone", ""));
    ASSERT_TRUE(database.newFilter(working, "Stone", "Marble."));
    EXPECT_EQ(working.filePath, dir.file("Stone - Marble.ffx"));
    EXPECT_EQ(working.code[1], "r");

    ASSERT_TRUE(database.renameFilter("Stone - Marble.ffx", "Granite/2"));
    EXPECT_FALSE(fs.fileExists(dir.file("Stone - Marble.ffx")));
    FilterDefinition read;
    ASSERT_TRUE(loadFfxFile(fs, dir.file("Stone - Granite_2.ffx"), read));
    EXPECT_EQ(read.title, "Granite/2");

    // The target name is taken: the rename is refused and nothing changes.
    std::vector<uint8_t> tiles = testing::readBytes(dir.file("Stone - Tiles.ffx"));
    EXPECT_FALSE(database.renameFilter("Stone - Granite_2.ffx", "Tiles"));
    EXPECT_EQ(testing::readBytes(dir.file("Stone - Tiles.ffx")), tiles);
    EXPECT_TRUE(fs.fileExists(dir.file("Stone - Granite_2.ffx")));

    ASSERT_TRUE(database.moveFilters({"Stone - Granite_2.ffx", "Stone - Brick.ffx"}, "Rock"));
    EXPECT_EQ(database.filtersOf("Rock").size(), 2u);
    ASSERT_TRUE(loadFfxFile(fs, dir.file("Rock - Brick.ffx"), read));
    EXPECT_EQ(read.category, "Rock");
    EXPECT_EQ(read.presets.size(), 0u);

    FilterDatabase reopened(fs);
    EXPECT_TRUE(reopened.open(dir.path()).indexRead);
    EXPECT_EQ(reopened.entries(), database.entries());
}

TEST_F(FilterDatabaseTest, AFailedIndexWriteKeepsTheOldIndexAndTheNextOpenCatchesUp) {
    database.open(dir.path());
    std::vector<uint8_t> index = testing::readBytes(dir.file("index"));
    fs.failWrite = [](const std::string& path) { return path.ends_with("index"); };
    // The title maps to the same file name: no rename, only the stored title changes.
    ASSERT_TRUE(database.renameFilter("Stone - Brick.ffx", "Brick."));
    EXPECT_EQ(database.filtersOf("Stone")[0].title, "Brick.");
    EXPECT_EQ(testing::readBytes(dir.file("index")), index);

    fs.failWrite = [](const std::string&) { return false; };
    ASSERT_TRUE(fs.removeFile(dir.file("index")));
    FilterDatabase reopened(fs);
    reopened.open(dir.path());
    EXPECT_EQ(reopened.filtersOf("Stone")[0].title, "Brick.");
}

TEST_F(FilterDatabaseTest, RenameCategoryMovesFiltersAndPlaceholders) {
    database.open(dir.path());
    ASSERT_TRUE(database.newCategory("stone"));
    ASSERT_TRUE(database.renameCategory("Stone", "Rock"));
    EXPECT_EQ(database.categories(), (std::vector<std::string>{"Distort", "Rock", "stone"}));
    ASSERT_TRUE(database.renameCategory("stone", "Wood"));
    EXPECT_EQ(database.categories(), (std::vector<std::string>{"Distort", "Rock", "Wood"}));
    EXPECT_TRUE(fs.fileExists(dir.file("Rock - Tiles.ffx")));
}

TEST_F(FilterDatabaseTest, DeleteStopsAtAMissingFileWithoutWritingTheIndex) {
    database.open(dir.path());
    std::vector<uint8_t> index = testing::readBytes(dir.file("index"));
    ASSERT_TRUE(fs.removeFile(dir.file("Stone - Brick.ffx")));
    EXPECT_FALSE(database.deleteFilters({"Distort - Wave.ffx", "Stone - Brick.ffx", "Stone - Tiles.ffx"}));
    EXPECT_FALSE(fs.fileExists(dir.file("Distort - Wave.ffx")));
    EXPECT_TRUE(fs.fileExists(dir.file("Stone - Tiles.ffx")));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"Stone - Brick.ffx", "Stone - Tiles.ffx"}));
    EXPECT_EQ(testing::readBytes(dir.file("index")), index);

    FilterDatabase reopened(fs);
    reopened.open(dir.path());
    ASSERT_TRUE(reopened.newCategory("Stone2"));
    fs.failRemove = [](const std::string& path) { return path.ends_with("Tiles.ffx"); };
    EXPECT_FALSE(reopened.deleteCategory("Stone"));
    fs.failRemove = [](const std::string&) { return false; };
    EXPECT_TRUE(reopened.deleteCategory("Stone"));
    EXPECT_TRUE(reopened.deleteCategory("Stone2"));
    EXPECT_TRUE(reopened.entries().empty());
    EXPECT_FALSE(fs.fileExists(dir.file("Stone - Tiles.ffx")));
}

TEST_F(FilterDatabaseTest, DuplicateAddsACopyAndUpdatesTheEntryWhenTheFileExists) {
    database.open(dir.path());
    FilterDefinition working;
    ASSERT_TRUE(loadFfxFile(fs, dir.file("Stone - Tiles.ffx"), working));
    ASSERT_TRUE(database.duplicateFilter(working));
    EXPECT_EQ(working.title, "Copy of Tiles");
    EXPECT_EQ(working.filePath, dir.file("Stone - Copy of Tiles.ffx"));
    ASSERT_EQ(database.entries().size(), 4u);
    EXPECT_EQ(database.entries()[2].title, "Copy of Tiles");
    EXPECT_TRUE(database.entries()[2].hasPresets());

    ASSERT_TRUE(loadFfxFile(fs, dir.file("Stone - Tiles.ffx"), working));
    working.presets.clear();
    ASSERT_TRUE(database.duplicateFilter(working));
    EXPECT_EQ(database.entries().size(), 4u);
    EXPECT_FALSE(database.entries()[2].hasPresets());

    fs.failWrite = [](const std::string& path) { return path.ends_with(".ffx"); };
    EXPECT_FALSE(database.duplicateFilter(working));
    EXPECT_EQ(working.title, "Copy of Tiles");
    EXPECT_EQ(database.entries().size(), 4u);
}

TEST_F(FilterDatabaseTest, PresetChangesKeepThePresetsFlagInStep) {
    database.open(dir.path());
    FilterDefinition working;
    ASSERT_TRUE(loadFfxFile(fs, dir.file("Stone - Brick.ffx"), working));
    addPreset(working, "first", testing::gradientBitmap(8, 8));
    ASSERT_TRUE(database.savePresetChange(working));
    EXPECT_TRUE(database.filtersOf("Stone")[0].hasPresets());
    FilterDatabase reopened(fs);
    reopened.open(dir.path());
    EXPECT_TRUE(reopened.filtersOf("Stone")[0].hasPresets());

    ASSERT_TRUE(deletePreset(working, 0));
    ASSERT_TRUE(database.savePresetChange(working));
    EXPECT_FALSE(database.filtersOf("Stone")[0].hasPresets());
}

// On a file system that tells case apart both files are filters of their own, and each
// operation acts on the file named, not on the first whose name matches without case.
TEST_F(FilterDatabaseTest, NamesDifferingInCaseAreDifferentFilters) {
    FilterDefinition lower = testing::sampleFilter(0), upper = testing::sampleFilter(0);
    lower.category = upper.category = "X";
    lower.title = "a";
    upper.title = "A";
    ASSERT_TRUE(saveFfxAs(fs, lower, dir.file("X - a.ffx")));
    ASSERT_TRUE(saveFfxAs(fs, upper, dir.file("X - A.ffx")));
    const std::vector<DirectoryItem> listing = *fs.listDirectory(dir.path());
    if (std::count_if(listing.begin(), listing.end(), [](const DirectoryItem& item) { return item.name.starts_with("X - "); }) < 2)
        GTEST_SKIP() << "the file system ignores case";
    database.open(dir.path());
    EXPECT_EQ(database.filtersOf("X").size(), 2u);

    ASSERT_TRUE(database.deleteFilters({"X - a.ffx"}));
    EXPECT_FALSE(fs.fileExists(dir.file("X - a.ffx")));
    EXPECT_TRUE(fs.fileExists(dir.file("X - A.ffx")));
    // With one left, a name differing in case alone still finds it.
    ASSERT_TRUE(database.renameFilter("x - a.FFX", "B"));
    EXPECT_TRUE(fs.fileExists(dir.file("X - B.ffx")));

    // An index written where case does not count names the file in another case: it is kept.
    std::vector<DatabaseEntry> entries = database.entries();
    for (DatabaseEntry& entry : entries)
        if (entry.fileName == "X - B.ffx") entry.fileName = "x - b.FFX";
    testing::writeBytes(dir.file("index"), serializeIndex(entries));
    FilterDatabase reopened(fs);
    ASSERT_TRUE(reopened.open(dir.path()).indexRead);
    ASSERT_TRUE(reopened.entryNamed("X - B.ffx"));
    EXPECT_EQ(reopened.entryNamed("X - B.ffx")->title, "B");
}

// "index" belongs to whoever made it: outside a database folder, or when it is not a database
// index, it is neither replaced nor is anything else written or removed there.
TEST_F(FilterDatabaseTest, OnlyADatabaseFolderWithItsOwnIndexIsWritten) {
    const std::string gitFolder = dir.file(".git");
    ASSERT_TRUE(fs.createDirectory(gitFolder));
    const std::vector<uint8_t> gitIndex = {'D', 'I', 'R', 'C', 0, 0, 0, 2, 0, 0, 0, 9, 1, 2, 3};
    testing::writeBytes(joinPath(gitFolder, "index"), gitIndex);
    testing::writeBytes(joinPath(gitFolder, "x.ffx.~999999999-1"), {1});
    FilterDatabase other(fs);
    DatabaseOpenResult opened = other.open(gitFolder);
    EXPECT_TRUE(opened.listed);
    EXPECT_FALSE(opened.writable);
    EXPECT_EQ(testing::readBytes(joinPath(gitFolder, "index")), gitIndex);
    EXPECT_TRUE(fs.fileExists(joinPath(gitFolder, "x.ffx.~999999999-1")));
    EXPECT_FALSE(other.writeIndex());

    // A folder of another name gets no index of its own.
    const std::string plain = dir.file("plain");
    ASSERT_TRUE(fs.createDirectory(plain));
    EXPECT_FALSE(other.open(plain).writable);
    EXPECT_FALSE(fs.fileExists(joinPath(plain, "index")));

    // A database folder whose index is someone else's keeps it too.
    testing::writeBytes(dir.file("index"), gitIndex);
    opened = database.open(dir.path());
    EXPECT_FALSE(opened.writable);
    EXPECT_EQ(testing::readBytes(dir.file("index")), gitIndex);
    EXPECT_EQ(database.entries().size(), 3u);
}

TEST_F(FilterDatabaseTest, NewFilterKeepsAFilterOfTheSameFileName) {
    database.open(dir.path());
    const std::vector<uint8_t> tiles = testing::readBytes(dir.file("Stone - Tiles.ffx"));
    FilterDefinition working;
    EXPECT_FALSE(database.newFilter(working, "Stone", "Tiles"));
    EXPECT_NE(database.lastFailure().find("exists already"), std::string::npos);
    EXPECT_EQ(testing::readBytes(dir.file("Stone - Tiles.ffx")), tiles);
    EXPECT_TRUE(database.filtersOf("Stone")[1].hasPresets());
    ASSERT_TRUE(database.newFilter(working, "Stone", "Tiles", true));
    EXPECT_NE(testing::readBytes(dir.file("Stone - Tiles.ffx")), tiles);
    EXPECT_FALSE(database.filtersOf("Stone")[1].hasPresets());
}

// A rename renames the file, then rewrites the title inside; a kill in between leaves the new
// name holding the old title while the index still has the old name. The open puts it back.
TEST_F(FilterDatabaseTest, ARenameOrMoveCutShortIsUndoneByTheNextOpen) {
    database.open(dir.path());
    ASSERT_TRUE(fs.renameNoReplace(dir.file("Stone - Tiles.ffx"), dir.file("Stone - Slate.ffx")));
    ASSERT_TRUE(fs.renameNoReplace(dir.file("Stone - Brick.ffx"), dir.file("Rock - Brick.ffx")));
    FilterDatabase reopened(fs);
    reopened.open(dir.path());
    EXPECT_EQ(reopened.entries(), database.entries());
    EXPECT_TRUE(fs.fileExists(dir.file("Stone - Tiles.ffx")));
    EXPECT_TRUE(fs.fileExists(dir.file("Stone - Brick.ffx")));
    EXPECT_FALSE(fs.fileExists(dir.file("Stone - Slate.ffx")));

    // A file renamed by hand to a name of its own is a file added by hand: it stays as it is.
    ASSERT_TRUE(fs.renameNoReplace(dir.file("Distort - Wave.ffx"), dir.file("my wave.ffx")));
    FilterDatabase again(fs);
    again.open(dir.path());
    ASSERT_TRUE(again.entryNamed("my wave.ffx"));
    EXPECT_EQ(again.entryNamed("my wave.ffx")->title, "Wave");
}

#ifndef _WIN32
TEST_F(FilterDatabaseTest, TemporaryFilesOfProcessesThatAreGoneAreRemoved) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string gone = "Stone - Tiles.ffx.~" + std::to_string(child) + "-4";
    const std::string running = "index.~" + std::to_string(::getpid()) + "-9";
    testing::writeBytes(dir.file(gone), {1});
    testing::writeBytes(dir.file(running), {1});
    testing::writeBytes(dir.file("notes.~txt"), {1});
    database.open(dir.path());
    EXPECT_FALSE(fs.fileExists(dir.file(gone)));
    EXPECT_TRUE(fs.fileExists(dir.file(running)));
    EXPECT_TRUE(fs.fileExists(dir.file("notes.~txt")));
    EXPECT_EQ(database.entries().size(), 3u);
}

// Pipes named like a filter or like the index are neither opened (that would wait forever for
// a writer) nor replaced.
TEST_F(FilterDatabaseTest, PipesNamedLikeFiltersOrTheIndexAreLeftAlone) {
    ASSERT_EQ(::mkfifo(dir.file("Pipe - x.ffx").c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(dir.file("index").c_str(), 0666), 0);
    ::alarm(20);
    DatabaseOpenResult opened = database.open(dir.path());
    ::alarm(0);
    EXPECT_TRUE(opened.listed);
    EXPECT_FALSE(opened.writable);
    EXPECT_EQ(database.entries().size(), 3u);
    struct stat info;
    ASSERT_EQ(::lstat(dir.file("index").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
#endif

}  // namespace
}  // namespace lumen::filters
