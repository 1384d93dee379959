// The built `lumenforge` given hostile arguments and files: it refuses them with a non-zero
// status, says on standard error what happened and to which file, and changes nothing it
// should not.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "filters/ffx_file.h"
#include "test_support.h"

namespace lumen::filters {
namespace {

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

ToolResult lumenforge(const testing::ScratchDirectory& scratch, const std::vector<std::string>& arguments) {
    const std::string errors = scratch.file("stderr.txt");
    std::string command = quoted(LUMEN_BINARY_DIR "/cli/lumenforge");
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    command += " 2>" + quoted(errors);
    ToolResult run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::vector<uint8_t> err = testing::readBytes(errors);
    run.err.assign(err.begin(), err.end());
    return run;
}

bool mentions(const ToolResult& run, const std::string& text) {
    return run.err.find(text) != std::string::npos;
}

class HostileCli : public ::testing::Test {
protected:
    void SetUp() override {
        db = scratch.file("Main.db");
        ASSERT_TRUE(fs.createDirectory(db));
        ASSERT_EQ(lumenforge(scratch, {"db", "new-filter", db, "Stone", "Tiles"}).status, 0);
    }
    ToolResult run(const std::vector<std::string>& arguments) { return lumenforge(scratch, arguments); }

    testing::ScratchDirectory scratch;
    FileSystem& fs = nativeFileSystem();
    std::string db;
};

TEST_F(HostileCli, ArgumentsNameFilesAndDatabasesNeverPaths) {
    ASSERT_TRUE(fs.createDirectory(scratch.file("outside")));
    ASSERT_TRUE(fs.createDirectory(scratch.file("Other.db")));
    for (const char* target : {"../outside", ".", "..", "Other.db/../../outside", "Other"}) {
        const ToolResult copy = run({"db", "copy-to", db, target, "Stone - Tiles.ffx"});
        EXPECT_EQ(copy.status, 1) << target;
        EXPECT_FALSE(copy.err.empty()) << target;
    }
    EXPECT_TRUE(fs.listDirectory(scratch.file("outside"))->empty());
    EXPECT_EQ(run({"db", "copy-to", db, "Other.db", "Stone - Tiles.ffx"}).status, 0);

    FilterDefinition secret = testing::sampleFilter(0);
    ASSERT_TRUE(saveFfxAs(fs, secret, scratch.file("secret.ffx")));
    const ToolResult duplicate = run({"db", "duplicate", db, "../secret.ffx"});
    EXPECT_EQ(duplicate.status, 1);
    EXPECT_TRUE(mentions(duplicate, "is not a file name"));
    EXPECT_FALSE(fs.fileExists(joinPath(db, "Distort - Copy of Wave.ffx")));
    EXPECT_EQ(run({"db", "delete", db, "../secret.ffx"}).status, 1);
    EXPECT_TRUE(fs.fileExists(scratch.file("secret.ffx")));
}

TEST_F(HostileCli, FailuresSayWhatHappenedToWhichFile) {
    const ToolResult missing = run({"db", "delete", db, "Stone - Slate.ffx"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(mentions(missing, "no filter of the file name \"Stone - Slate.ffx\"")) << missing.err;

    const ToolResult exists = run({"db", "new-filter", db, "Stone", "Tiles"});
    EXPECT_EQ(exists.status, 1);
    EXPECT_TRUE(mentions(exists, joinPath(db, "Stone - Tiles.ffx") + " exists already")) << exists.err;
    EXPECT_EQ(run({"db", "new-filter", "--replace", db, "Stone", "Tiles"}).status, 0);

    for (const char* format : {"afs", "8bf", "ffx", "ffl"}) {
        const ToolResult dump = run({format, "dump", scratch.file("none")});
        EXPECT_EQ(dump.status, 1);
        EXPECT_TRUE(mentions(dump, "cannot read " + scratch.file("none") + ": No such file or directory"))
            << format << ": " << dump.err;
    }
    const ToolResult listed = run({"db", "list", scratch.file("None.db")});
    EXPECT_TRUE(mentions(listed, scratch.file("None.db") + ": No such file or directory")) << listed.err;

    testing::writeBytes(scratch.file("a.png"), {1, 2, 3});
    const ToolResult sheet = run({"sheet", scratch.file("out.png"), "x="});
    EXPECT_EQ(sheet.status, 1);
    EXPECT_TRUE(mentions(sheet, "'x=' is not LABEL=IN.png")) << sheet.err;
}

TEST_F(HostileCli, ImportFailuresAreNotReportedAsSuccess) {
    const std::string wrong = scratch.file("wrong.ffl"), lying = scratch.file("lying.ffl");
    testing::writeBytes(wrong, {'F', 'F', 'L', '2', '\n'});
    const std::string claim = "FFL1.0\r\n2147483647\r\n";
    testing::writeBytes(lying, {claim.begin(), claim.end()});
    const ToolResult imported = run({"db", "import", db, wrong, lying, scratch.file("gone.ffx"), scratch.file("gone.ffl")});
    EXPECT_EQ(imported.status, 1);
    EXPECT_TRUE(mentions(imported, wrong + ": not a filter library")) << imported.err;
    EXPECT_TRUE(mentions(imported, lying + ": a broken library: it claims 2147483647 filters")) << imported.err;
    EXPECT_TRUE(mentions(imported, "cannot read " + scratch.file("gone.ffx") + ": No such file or directory"));
    EXPECT_TRUE(mentions(imported, "cannot read " + scratch.file("gone.ffl") + ": No such file or directory"));
    EXPECT_EQ(fs.listDirectory(db)->size(), 2u);  // the filter and the index

    // Named like the filter there, the copy takes a free name and the filter stays.
    const std::vector<uint8_t> tiles = testing::readBytes(joinPath(db, "Stone - Tiles.ffx"));
    testing::writeBytes(scratch.file("Stone - Tiles.ffx"), {6, 0, 0, 0, 'F', 'F', 'X', '1', '.', '9'});
    EXPECT_EQ(run({"db", "import", db, scratch.file("Stone - Tiles.ffx")}).status, 0);
    EXPECT_EQ(testing::readBytes(joinPath(db, "Stone - Tiles.ffx")), tiles);
    EXPECT_TRUE(fs.fileExists(joinPath(db, "Stone - Tiles (2).ffx")));
}

TEST_F(HostileCli, RenderOfASourceThatDoesNotParseFails) {
    const std::string out = scratch.file("out.png");
    const ToolResult render = run({"render", "--code1", "r+*", LUMEN_SOURCE_DIR "/tests/host/data/sample.png", out});
    EXPECT_EQ(render.status, 1);
    EXPECT_TRUE(mentions(render, "--code1 \"r+*\" does not parse")) << render.err;
    EXPECT_FALSE(fs.fileExists(out));
    EXPECT_EQ(run({"render", "--code1", "r/2", LUMEN_SOURCE_DIR "/tests/host/data/sample.png", out}).status, 0);
}

// A folder that is not a database (a git work tree's .git) keeps its own index.
TEST_F(HostileCli, DirectoriesThatAreNoDatabaseAreNotWritten) {
    const std::string git = scratch.file(".git");
    ASSERT_TRUE(fs.createDirectory(git));
    const std::vector<uint8_t> gitIndex = {'D', 'I', 'R', 'C', 0, 0, 0, 2, 0, 0, 0, 0};
    testing::writeBytes(joinPath(git, "index"), gitIndex);
    EXPECT_EQ(run({"db", "list", git}).status, 0);
    const ToolResult made = run({"db", "new-filter", git, "Stone", "Tiles"});
    EXPECT_EQ(made.status, 1);
    EXPECT_TRUE(mentions(made, git + " is not a database folder")) << made.err;
    EXPECT_EQ(testing::readBytes(joinPath(git, "index")), gitIndex);
    EXPECT_EQ(fs.listDirectory(git)->size(), 1u);
}

}  // namespace
}  // namespace lumen::filters
