#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "filters/database_entry.h"
#include "filters/ffx_file.h"
#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "shipped_filters.h"

namespace lumen::tools {
namespace {

namespace fs = std::filesystem;

class DatabaseBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("lumen-db-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path() const { return (dir_ / "Test.db").string(); }
    fs::path dir_;
};

NamedSource simpleSource(const std::string& title, const std::string& code1) {
    std::string error;
    auto source = parseFilterSource("title: " + title + "\ncategory: Test\ncode0: 0\ncode1: " + code1 +
                                        "\ncode2-4: c\ncontrol 0: Amount | on | 9\n"
                                        "preset: Half | 128 0 0 0 0 0 0 0 | 4\n",
                                    title + ".txt", error);
    EXPECT_TRUE(source) << error;
    return {title + ".txt", *source};
}

TEST_F(DatabaseBuildTest, WritesEveryShippedFilterAndAMatchingIndex) {
    const auto& sources = shippedSources();
    std::string error;
    ASSERT_TRUE(buildDatabase(sources, path(), makeSampleImage(64, 48), renderTables(), error)) << error;

    filters::FileSystem& files = filters::nativeFileSystem();
    const auto indexBytes = files.readFile(filters::joinPath(path(), filters::kIndexFileName));
    ASSERT_TRUE(indexBytes);
    std::vector<filters::DatabaseEntry> index;
    ASSERT_TRUE(filters::parseIndex(*indexBytes, index));
    ASSERT_EQ(index.size(), sources.size());

    for (const NamedSource& named : sources) {
        const std::string fileName = filters::filterFileName(named.source.category, named.source.title);
        const auto entry = std::find_if(index.begin(), index.end(), [&](const auto& e) { return e.fileName == fileName; });
        ASSERT_NE(entry, index.end()) << fileName;
        EXPECT_EQ(entry->title, named.source.title);
        EXPECT_EQ(entry->category, named.source.category);
        EXPECT_EQ(entry->hasPresets(), !named.source.presets.empty());

        filters::FilterDefinition read;
        ASSERT_TRUE(filters::loadFfxFile(files, filters::joinPath(path(), fileName), read)) << fileName;
        const filters::FilterDefinition expected = toFilterDefinition(named.source);
        EXPECT_EQ(read.code, expected.code);
        EXPECT_EQ(read.copyright, expected.copyright);
        EXPECT_EQ(read.controlLabel, expected.controlLabel);
        EXPECT_EQ(read.controlEnabled, expected.controlEnabled);
        EXPECT_EQ(read.controlDefault, expected.controlDefault);
        EXPECT_EQ(read.gradientDefault, expected.gradientDefault);
        ASSERT_EQ(read.presets.size(), named.source.presets.size());
        for (size_t p = 0; p < read.presets.size(); ++p) {
            EXPECT_EQ(read.presets[p].name, named.source.presets[p].name);
            EXPECT_EQ(read.presets[p].controlValue, named.source.presets[p].values);
            EXPECT_EQ(read.presets[p].gradientIndex, named.source.presets[p].gradient);
            EXPECT_EQ(read.presets[p].thumbnail.height, 48);  // a low preview keeps its size
        }
    }
}

TEST_F(DatabaseBuildTest, PresetThumbnailsShowThePresetsSettings) {
    const std::vector<NamedSource> sources = {simpleSource("Shade", "ctl(0)")};
    std::string error;
    ASSERT_TRUE(buildDatabase(sources, path(), makeSampleImage(200, 150), renderTables(), error)) << error;
    filters::FilterDefinition read;
    ASSERT_TRUE(filters::loadFfxFile(filters::nativeFileSystem(), filters::joinPath(path(), "Test - Shade.ffx"), read));
    ASSERT_EQ(read.presets.size(), 1u);
    const imaging::Bitmap& thumbnail = read.presets[0].thumbnail;
    EXPECT_EQ(thumbnail.height, 83);  // made to the thumbnail size
    EXPECT_NEAR(thumbnail.row(40)[3 * 50 + 2], 128, 6);  // red is the preset's 128 (JPEG is lossy)
}

TEST_F(DatabaseBuildTest, RebuildingDropsFilesOfRemovedSources) {
    std::string error;
    const auto picture = makeSampleImage(16, 12);
    ASSERT_TRUE(buildDatabase({simpleSource("Old", "r"), simpleSource("Kept", "g")}, path(), picture, renderTables(), error));
    ASSERT_TRUE(fs::exists(fs::path(path()) / "Test - Old.ffx"));
    ASSERT_TRUE(buildDatabase({simpleSource("Kept", "g")}, path(), picture, renderTables(), error)) << error;
    EXPECT_FALSE(fs::exists(fs::path(path()) / "Test - Old.ffx"));
    filters::FilterDatabase database(filters::nativeFileSystem());
    database.open(path());
    ASSERT_EQ(database.entries().size(), 1u);
    EXPECT_EQ(database.entries()[0].title, "Kept");
}

TEST_F(DatabaseBuildTest, RefusesCollidingNamesAndCodeThatDoesNotCompile) {
    std::string error;
    const auto picture = makeSampleImage(16, 12);
    // "A/B" and "A:B" both become the file name "Test - A_B.ffx".
    EXPECT_FALSE(buildDatabase({simpleSource("A/B", "r"), simpleSource("A:B", "r")}, path(), picture, renderTables(), error));
    EXPECT_EQ(error, "A:B.txt: its file name 'Test - A_B.ffx' is taken by A/B.txt");
    EXPECT_FALSE(buildDatabase({simpleSource("Bad", "src(x, y)")}, path(), picture, renderTables(), error));
    EXPECT_EQ(error, "Bad.txt: code1 has a syntax error");
    EXPECT_FALSE(fs::exists(path()));  // nothing is written before every source compiled
}

// The build step stops on a faulty source and says where the fault is.
TEST_F(DatabaseBuildTest, TheBuildToolReportsFaultySourcesByLine) {
    const fs::path sources = dir_ / "sources" / "distort";
    fs::create_directories(sources);
    std::ofstream(sources / "good.txt") << "title: Good\ncategory: C\ncode0-4: 0\n";
    std::ofstream(sources / "bad.txt") << "title: Bad\ncategory: C\ncontrol 0: Amount | maybe | 3\ncode0-4: 0\n";
    const std::string tool = LUMEN_BINARY_DIR "/tools/lumenforge-dbgen";
    const std::string log = (dir_ / "log.txt").string();
    const std::string command = tool + " build '" + (dir_ / "sources").string() + "' '" + LUMEN_SOURCE_DIR +
                                "/resources/gradients.txt' '" + path() + "' 2>'" + log + "'";
    EXPECT_NE(std::system(command.c_str()), 0);
    std::ifstream in(log);
    std::string message((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(message.find("bad.txt:3: a control is 'on' or 'off'"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(path()));

    std::ofstream(sources / "bad.txt") << "title: Bad\ncategory: C\ncontrol 0: Amount | on | 3\ncode0-4: ctl(0)\n";
    EXPECT_EQ(std::system(command.c_str()), 0);
    filters::FilterDatabase database(filters::nativeFileSystem());
    EXPECT_TRUE(database.open(path()).indexRead);
    EXPECT_EQ(database.entries().size(), 2u);
}

TEST(BuiltDatabaseTest, TheBuildTreeHoldsTheDefaultDatabase) {
    const std::string path = LUMEN_BINARY_DIR "/Korvath Filters.db";
    if (!fs::exists(path)) GTEST_SKIP() << "the lumen_default_database target was not built";
    filters::FilterDatabase database(filters::nativeFileSystem());
    const auto opened = database.open(path);
    EXPECT_TRUE(opened.indexRead);
    EXPECT_EQ(database.entries().size(), shippedSources().size());
}

}  // namespace
}  // namespace lumen::tools
