// The filter-file and database commands of the built `lumenforge`.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <sys/wait.h>

#include "filters/ffx_file.h"
#include "test_support.h"

namespace lumen::filters {
namespace {

struct ToolRun {
    int status;
    std::string out;
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

ToolRun lumenforge(const std::vector<std::string>& arguments) {
    std::string command = quoted(LUMEN_BINARY_DIR "/cli/lumenforge");
    for (const std::string& argument : arguments) command += " " + quoted(argument);
    command += " 2>/dev/null";
    ToolRun run{-1, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::vector<std::string> fileNamesOf(const ToolRun& run) {
    std::vector<std::string> names;
    for (const auto& entry : nlohmann::json::parse(run.out)) names.push_back(entry["fileName"]);
    return names;
}

TEST(Cli, FfxDumpShowsTheFileAndRefusesBadOnes) {
    testing::ScratchDirectory dir;
    FilterDefinition filter = testing::sampleFilter(2);
    filter.title = "Gr\xFC\xDF";
    ASSERT_TRUE(saveFfxAs(nativeFileSystem(), filter, dir.file("a.ffx")));
    ToolRun run = lumenforge({"ffx", "dump", dir.file("a.ffx")});
    ASSERT_EQ(run.status, 0);
    nlohmann::json json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["title"], "Gr\u00FC\u00DF");
    EXPECT_EQ(json["version"], "FFX1.1");
    EXPECT_EQ(json["code"][1], filter.code[1]);
    EXPECT_EQ(json["controls"][3]["value"], 27);
    EXPECT_EQ(json["gradient"], 42);
    EXPECT_EQ(json["presets"][1]["gradient"], 8);
    EXPECT_EQ(json["presets"][1]["thumbnail"]["width"], 21);
    EXPECT_GT(json["presets"][1]["thumbnail"]["jpegBytes"], 100);

    testing::writeBytes(dir.file("bad.ffx"), {6, 0, 0, 0, 'F', 'F', 'X', '1', '.', '2'});
    EXPECT_EQ(lumenforge({"ffx", "dump", dir.file("bad.ffx")}).status, 1);
    EXPECT_EQ(lumenforge({"ffx", "dump", dir.file("none.ffx")}).status, 1);
}

TEST(Cli, DatabaseCommandsPrintTheResultingEntries) {
    testing::ScratchDirectory dir;
    std::string db = dir.file("t.db");
    ASSERT_TRUE(nativeFileSystem().createDirectory(db));
    EXPECT_EQ(lumenforge({"db", "list", db}).out, "[]\n");
    ASSERT_EQ(lumenforge({"db", "new-filter", db, "Stone", "Tiles"}).status, 0);
    ToolRun run = lumenforge({"db", "duplicate", db, "Stone - Tiles.ffx"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(fileNamesOf(run), (std::vector<std::string>{"Stone - Copy of Tiles.ffx", "Stone - Tiles.ffx"}));

    run = lumenforge({"db", "rename", db, "Stone - Copy of Tiles.ffx", "Slate"});
    EXPECT_EQ(fileNamesOf(run), (std::vector<std::string>{"Stone - Slate.ffx", "Stone - Tiles.ffx"}));
    EXPECT_EQ(lumenforge({"db", "rename", db, "Stone - Slate.ffx", "Tiles"}).status, 1);

    run = lumenforge({"db", "move", db, "Rock", "Stone - Slate.ffx"});
    EXPECT_EQ(fileNamesOf(run), (std::vector<std::string>{"Rock - Slate.ffx", "Stone - Tiles.ffx"}));
    run = lumenforge({"db", "new-category", db, "Empty"});
    EXPECT_EQ(fileNamesOf(run).size(), 3u);
    EXPECT_EQ(fileNamesOf(lumenforge({"db", "list", db})).size(), 2u);

    EXPECT_EQ(lumenforge({"db", "delete", db, "missing.ffx"}).status, 1);
    run = lumenforge({"db", "delete-category", db, "Stone"});
    EXPECT_EQ(fileNamesOf(run), std::vector<std::string>{"Rock - Slate.ffx"});
    run = lumenforge({"db", "delete", db, "Rock - Slate.ffx"});
    EXPECT_EQ(run.out, "[]\n");
    EXPECT_EQ(lumenforge({"db", "list", dir.file("none.db")}).status, 1);
}

}  // namespace
}  // namespace lumen::filters
