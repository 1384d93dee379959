#include "filters/ffx_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "filters/ffx_format.h"
#include "test_support.h"

namespace lumen::filters {
namespace {

using testing::FaultyFileSystem;
using testing::ScratchDirectory;

TEST(FileSystem, AtomicWriteReplacesOnlyWhenCompleteAndLeavesNoTemporaryFile) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    std::string path = dir.file("a.bin");
    ASSERT_TRUE(fs.writeFileAtomic(path, std::vector<uint8_t>{1, 2, 3}));
    ASSERT_TRUE(fs.writeFileAtomic(path, std::vector<uint8_t>{4}));
    EXPECT_EQ(*fs.readFile(path), std::vector<uint8_t>{4});
    EXPECT_FALSE(fs.readFile(path, 0));
    EXPECT_FALSE(fs.writeFileAtomic(dir.file("missing/a.bin"), std::vector<uint8_t>{1}));
    auto listing = *fs.listDirectory(dir.path());
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing[0].name, "a.bin");
}

TEST(FileSystem, RenameNeverReplacesAnExistingFile) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    ASSERT_TRUE(fs.writeFileAtomic(dir.file("a"), std::vector<uint8_t>{1}));
    ASSERT_TRUE(fs.writeFileAtomic(dir.file("b"), std::vector<uint8_t>{2}));
    EXPECT_FALSE(fs.renameNoReplace(dir.file("a"), dir.file("b")));
    EXPECT_EQ(*fs.readFile(dir.file("b")), std::vector<uint8_t>{2});
    EXPECT_TRUE(fs.renameNoReplace(dir.file("a"), dir.file("c")));
    EXPECT_FALSE(fs.fileExists(dir.file("a")));
    EXPECT_EQ(*fs.readFile(dir.file("c")), std::vector<uint8_t>{1});
}

TEST(FileSystem, ListingMarksDirectoriesAndHandlesWindows1252Names) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    std::string name = "\xD6l \xDF.ffx";
    ASSERT_TRUE(fs.writeFileAtomic(dir.file(name), std::vector<uint8_t>{1}));
    ASSERT_TRUE(fs.createDirectory(dir.file("sub.ffx")));
    auto listing = *fs.listDirectory(dir.path());
    std::sort(listing.begin(), listing.end(),
              [](const DirectoryItem& a, const DirectoryItem& b) { return a.name < b.name; });
    ASSERT_EQ(listing.size(), 2u);
    EXPECT_EQ(listing[0].name, "sub.ffx");
    EXPECT_TRUE(listing[0].isDirectory);
    EXPECT_EQ(listing[1].name, name);
    EXPECT_FALSE(listing[1].isDirectory);
    EXPECT_FALSE(fs.listDirectory(dir.file("none")));
}

#ifndef _WIN32
TEST(FileSystem, RemoveTreeNeverFollowsALinkOutOfTheDirectory) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    std::string outside = dir.file("outside");
    std::string tree = dir.file("tree");
    ASSERT_TRUE(fs.createDirectory(outside) && fs.createDirectory(tree));
    ASSERT_TRUE(fs.createDirectory(joinPath(tree, "inner")));
    ASSERT_TRUE(fs.writeFileAtomic(joinPath(outside, "keep"), std::vector<uint8_t>{1}));
    ASSERT_TRUE(fs.writeFileAtomic(joinPath(tree, "inner/x"), std::vector<uint8_t>{1}));
    std::filesystem::create_directory_symlink(outside, joinPath(tree, "inner/link"));
    std::filesystem::create_symlink(joinPath(outside, "keep"), joinPath(tree, "filelink"));
    std::filesystem::create_directory_symlink(tree, dir.file("treelink"));

    EXPECT_FALSE(fs.removeTree(dir.file("treelink")));
    EXPECT_FALSE(fs.removeTree(withTrailingSeparator(dir.file("treelink"))));
    EXPECT_TRUE(fs.fileExists(joinPath(tree, "inner/x")));
    EXPECT_TRUE(fs.directoryExists(tree));
    EXPECT_TRUE(fs.removeTree(tree));
    EXPECT_FALSE(fs.directoryExists(tree));
    EXPECT_TRUE(fs.fileExists(joinPath(outside, "keep")));
}
#endif

TEST(FfxFile, FailedWritesKeepTheOldFileWhole) {
    ScratchDirectory dir;
    FaultyFileSystem fs;
    FilterDefinition filter = testing::sampleFilter(1);
    filter.filePath = dir.file("f.ffx");
    ASSERT_TRUE(writeFfxFile(fs, filter));
    std::vector<uint8_t> before = testing::readBytes(filter.filePath);

    fs.failWrite = [](const std::string&) { return true; };
    filter.title = "changed";
    EXPECT_FALSE(writeFfxFile(fs, filter));
    EXPECT_FALSE(rewriteFfxTitleAndCategory(fs, filter.filePath, "t", "c"));
    EXPECT_EQ(testing::readBytes(filter.filePath), before);

    fs.failWrite = [](const std::string&) { return false; };
    filter.presets[0].thumbnail = {};  // cannot be encoded
    EXPECT_FALSE(writeFfxFile(fs, filter));
    EXPECT_EQ(testing::readBytes(filter.filePath), before);
}

TEST(FfxFile, RestoredFilterIsNotReplacedAndFailedReadsChangeNothing) {
    ScratchDirectory dir;
    FaultyFileSystem fs;
    FilterDefinition stored = testing::sampleFilter(1);
    ASSERT_TRUE(saveFfxAs(fs, stored, dir.file("f.ffx")));

    FilterDefinition working;
    working.title = "restored";
    working.restored = true;
    EXPECT_TRUE(readFfxFile(fs, stored.filePath, working));
    EXPECT_EQ(working.title, "restored");
    EXPECT_EQ(fs.reads, 0);

    working.restored = false;
    EXPECT_FALSE(readFfxFile(fs, dir.file("missing.ffx"), working));
    testing::writeBytes(dir.file("bad.ffx"), {6, 0, 0, 0, 'F', 'F', 'X', '1', '.', '1', 9});
    EXPECT_FALSE(readFfxFile(fs, dir.file("bad.ffx"), working));
    EXPECT_TRUE(looksLikeFfxFile(fs, dir.file("bad.ffx")));
    EXPECT_EQ(working.title, "restored");

    ASSERT_TRUE(readFfxFile(fs, stored.filePath, working));
    EXPECT_EQ(working.title, "Wave");
    EXPECT_EQ(working.filePath, stored.filePath);
    EXPECT_EQ(working.presets.size(), 1u);
}

TEST(FfxFile, SetAsDefaultAndEditAreSavedWithPresetsAndWithoutPresetsKeepsThemInMemory) {
    ScratchDirectory dir;
    FaultyFileSystem fs;
    FilterDefinition filter = testing::sampleFilter(1);
    filter.filePath = dir.file("f.ffx");
    filter.controlValue[0] = 200;
    filter.gradientIndex = 5;
    ASSERT_TRUE(setAsDefault(fs, filter));
    FilterDefinition read;
    ASSERT_TRUE(loadFfxFile(fs, filter.filePath, read));
    EXPECT_EQ(read.controlValue[0], 200);
    EXPECT_EQ(read.gradientIndex, 5);
    EXPECT_EQ(read.presets.size(), 1u);

    FilterEdit edit;
    edit.code = {"1", "2", "3", "4", "5"};
    edit.controlValue[1] = 9;
    edit.gradientIndex = 12;
    ASSERT_TRUE(saveEdit(fs, filter, edit));
    EXPECT_EQ(filter.controlValue[1], 9);
    EXPECT_EQ(filter.gradientIndex, 12);
    ASSERT_TRUE(loadFfxFile(fs, filter.filePath, read));
    EXPECT_EQ(read.title, "Wave");
    EXPECT_EQ(read.code[4], "5");
    EXPECT_EQ(read.controlDefault[1], 9);
    EXPECT_EQ(read.gradientDefault, 12);

    ASSERT_TRUE(writeFfxFile(fs, filter, false));
    EXPECT_EQ(filter.presets.size(), 1u);
    ASSERT_TRUE(loadFfxFile(fs, filter.filePath, read));
    EXPECT_TRUE(read.presets.empty());
    filter.filePath.clear();
    EXPECT_FALSE(writeFfxFile(fs, filter));
}

}  // namespace
}  // namespace lumen::filters
