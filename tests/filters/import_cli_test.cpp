// The import commands of the built `lumenforge`: dumps and the db import, create and copy-to.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <sys/wait.h>

#include "import_fixtures.h"
#include "test_support.h"

namespace lumen::filters {
namespace {

struct ToolRun {
    int status = -1;
    nlohmann::json json;
};

ToolRun lumenforge(const std::vector<std::string>& arguments) {
    std::string command = "'" LUMEN_BINARY_DIR "/cli/lumenforge'";
    for (const std::string& argument : arguments) command += " '" + argument + "'";
    ToolRun run;
    FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return run;
    std::string out;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    if (run.status == 0) run.json = nlohmann::json::parse(out);
    return run;
}

const std::string kOwnAfs = LUMEN_OWN_AFS_DIR "/";

}  // namespace

TEST(ImportCli, DumpsWhatTheReadersMake) {
    ToolRun afs = lumenforge({"afs", "dump", kOwnAfs + "split_lines_and_escapes.afs"});
    ASSERT_EQ(afs.status, 0);
    EXPECT_EQ(afs.json["showDialog"], 1);
    EXPECT_EQ(afs.json["formula"][0], "r+g+b");
    EXPECT_EQ(afs.json["formula"][1], "(g+x)/2");
    EXPECT_EQ(afs.json["filter"]["category"], "[AFS IMPORT]");
    EXPECT_EQ(afs.json["filter"]["title"], "split_lines_and_escapes");
    EXPECT_EQ(lumenforge({"afs", "dump", kOwnAfs + "refused-over_limit.afs"}).status, 1);

    testing::ScratchDirectory dir;
    ParmRecord record = testing::sampleParmRecord();
    record.title = "Gr\xFC\xDF";
    testing::writeBytes(dir.file("p.8bf"), testing::buildFfPlugin(testing::encodeParmRecord(record)));
    ToolRun plugin = lumenforge({"8bf", "dump", dir.file("p.8bf")});
    ASSERT_EQ(plugin.status, 0);
    EXPECT_EQ(plugin.json["title"], "Gr\u00FC\u00DF");
    EXPECT_EQ(plugin.json["controlInUse"][2], 0);
    EXPECT_EQ(plugin.json["filter"]["code"][1], "r/2");
    EXPECT_EQ(lumenforge({"8bf", "dump", kOwnAfs + "sampling.afs"}).status, 1);

    const std::string library = "FFL1.0\n2\nsrc\nCat\nName\n";
    testing::writeBytes(dir.file("l.ffl"), {library.begin(), library.end()});
    ToolRun ffl = lumenforge({"ffl", "dump", dir.file("l.ffl")});
    ASSERT_EQ(ffl.status, 0);
    ASSERT_EQ(ffl.json["entries"].size(), 2u);
    EXPECT_EQ(ffl.json["entries"][0]["title"], "Name");
    EXPECT_EQ(ffl.json["entries"][1]["number"], "   2");
    EXPECT_EQ(lumenforge({"ffl", "dump", kOwnAfs + "sampling.afs"}).status, 1);
}

TEST(ImportCli, DatabaseImportCreateAndCopy) {
    testing::ScratchDirectory dir;
    const std::string main = dir.file("Main.db");
    ASSERT_TRUE(nativeFileSystem().createDirectory(main));
    ToolRun imported = lumenforge({"db", "import", main, kOwnAfs + "trigonometry.afs", kOwnAfs + "cells.afs", dir.file("x.txt")});
    ASSERT_EQ(imported.status, 0);
    ASSERT_EQ(imported.json.size(), 2u);
    EXPECT_EQ(imported.json[0]["fileName"], "_AFS IMPORT_ - cells.ffx");
    EXPECT_EQ(lumenforge({"db", "import", main, kOwnAfs + "refused-stops_early.afs"}).status, 1);

    ToolRun created = lumenforge({"db", "create", main, "Second"});
    ASSERT_EQ(created.status, 0);
    EXPECT_TRUE(created.json.empty());
    EXPECT_EQ(lumenforge({"db", "create", main, "Second"}).status, 1);
    EXPECT_EQ(lumenforge({"db", "create", main, "a/b"}).status, 1);

    EXPECT_EQ(lumenforge({"db", "copy-to", main, "Second.db", "_AFS IMPORT_ - trigonometry.ffx"}).status, 0);
    ToolRun second = lumenforge({"db", "list", dir.file("Second.db")});
    ASSERT_EQ(second.status, 0);
    ASSERT_EQ(second.json.size(), 1u);
    EXPECT_EQ(second.json[0]["title"], "trigonometry");
    EXPECT_EQ(lumenforge({"db", "copy-to", main, "Second.db", "missing.ffx"}).status, 1);
}

}  // namespace lumen::filters
