#include "filters/ffx_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

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

TEST(FileSystem, NewFilesNeverReplace) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    ASSERT_TRUE(fs.writeNewFile(dir.file("a"), std::vector<uint8_t>{1}));
    EXPECT_FALSE(fs.writeNewFile(dir.file("a"), std::vector<uint8_t>{2}));
    EXPECT_EQ(*fs.readFile(dir.file("a")), std::vector<uint8_t>{1});
    EXPECT_EQ(fs.listDirectory(dir.path())->size(), 1u);
}

// Windows' ANSI calls stop at 260 characters for the whole path, long before a name this long.
#ifndef _WIN32
TEST(FileSystem, LongestNamesFitTheirTemporaryFile) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();

    // The longest name a file system takes: the temporary file beside it must fit as well.
    const std::string longest = std::string(kMaxFileNameLength - 4, 'n') + ".ffx";
    ASSERT_TRUE(fs.writeFileAtomic(dir.file(longest), std::vector<uint8_t>{3}));
    ASSERT_TRUE(fs.writeFileAtomic(dir.file(longest), std::vector<uint8_t>{4}));
    EXPECT_EQ(*fs.readFile(dir.file(longest)), std::vector<uint8_t>{4});
    EXPECT_EQ(fs.listDirectory(dir.path())->size(), 1u);
}
#endif

TEST(FileSystem, TemporaryNamesNameTheirProcessAndStayWithinTheLimit) {
    const std::string directory = withTrailingSeparator("d");
    const std::string temporary = temporaryPathFor(directory + "x.ffx", 4711, 3);
    EXPECT_EQ(temporary, directory + "x.ffx.~4711-3");
    EXPECT_EQ(temporaryFileOwner(fileNameOf(temporary)), 4711u);
    const std::string cut = fileNameOf(temporaryPathFor(directory + std::string(300, 'n'), 4294967295u, 99));
    EXPECT_EQ(cut.size(), kMaxFileNameLength);
    EXPECT_EQ(temporaryFileOwner(cut), 4294967295u);
    for (const char* name : {"x.ffx", "x.~", "x.~12", "x.~-1", "x.~1-", "x.~1a-2", "x.~99999999999-1"})
        EXPECT_FALSE(temporaryFileOwner(name)) << name;
}

TEST(FileSystem, PlainNamesCannotLeaveTheirDirectory) {
    for (const char* name : {"a.ffx", "X - a b.ffx", "..x", "x.."}) EXPECT_TRUE(isPlainName(name)) << name;
    for (const char* name : {"", ".", "..", "../x", "a/b", "a\\b", "/x"}) EXPECT_FALSE(isPlainName(name)) << name;
}

#ifndef _WIN32
// Opening a pipe for reading waits for a writer: a pipe named like a filter would hang every
// command. The test process is stopped by the alarm rather than hanging.
TEST(FileSystem, PipesAndDevicesAreNeverOpenedOrListedAsFiles) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    ASSERT_EQ(::mkfifo(dir.file("pipe.ffx").c_str(), 0666), 0);
    ::alarm(20);
    EXPECT_FALSE(fs.readFile(dir.file("pipe.ffx")));
    EXPECT_FALSE(fs.readFile("/dev/zero"));
    ::alarm(0);
    const std::vector<DirectoryItem> listing = *fs.listDirectory(dir.path());
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_FALSE(listing[0].isRegularFile);
    ASSERT_TRUE(fs.writeFileAtomic(dir.file("file"), std::vector<uint8_t>{1}));
    const std::vector<DirectoryItem> withFile = *fs.listDirectory(dir.path());
    EXPECT_TRUE(std::any_of(withFile.begin(), withFile.end(),
                            [](const DirectoryItem& item) { return item.name == "file" && item.isRegularFile; }));
}

TEST(FileSystem, FailuresSayWhy) {
    ScratchDirectory dir;
    FileSystem& fs = nativeFileSystem();
    EXPECT_FALSE(fs.readFile(dir.file("missing")));
    EXPECT_EQ(lastFileError(), "No such file or directory");
    EXPECT_FALSE(fs.writeFileAtomic(dir.file(std::string(kMaxFileNameLength + 1, 'n')), std::vector<uint8_t>{1}));
    EXPECT_EQ(lastFileError(), "File name too long");
    ASSERT_TRUE(fs.writeNewFile(dir.file("a"), std::vector<uint8_t>{1}));
    EXPECT_FALSE(fs.writeNewFile(dir.file("a"), std::vector<uint8_t>{1}));
    EXPECT_EQ(lastFileError(), "File exists");
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
