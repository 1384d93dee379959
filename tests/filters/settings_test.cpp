#include <gtest/gtest.h>

#include <cstdlib>

#include "filters/ffx_file.h"
#include "filters/settings_file.h"
#include "filters/startup.h"
#include "test_support.h"

namespace lumen::filters {
namespace {

using testing::FaultyFileSystem;
using testing::ScratchDirectory;

TEST(DatabaseList, LengthPrefixFormsAtTheirBoundaries) {
    struct Case {
        size_t length;
        std::vector<uint8_t> prefix;
    };
    for (const Case& c : {Case{254, {254}}, Case{255, {0xFF, 0xFF, 0x00}}, Case{65533, {0xFF, 0xFD, 0xFF}},
                          Case{65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}}}) {
        std::vector<std::string> names = {std::string(c.length, 'n')};
        std::vector<uint8_t> bytes = encodeDatabaseList(names);
        ASSERT_EQ(bytes.size(), 2 + c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 2, bytes.begin() + 2 + c.prefix.size()), c.prefix)
            << c.length;
        EXPECT_EQ(decodeDatabaseList(bytes), names) << c.length;
    }
}

TEST(DatabaseList, CountFormsAtTheirBoundaries) {
    std::vector<std::string> below(0xFFFE, ""), at(0xFFFF, "x");
    std::vector<uint8_t> belowBytes = encodeDatabaseList(below);
    EXPECT_EQ(belowBytes[0], 0xFE);
    EXPECT_EQ(belowBytes[1], 0xFF);
    EXPECT_EQ(belowBytes.size(), 2u + 0xFFFE);
    EXPECT_EQ(decodeDatabaseList(belowBytes), below);
    std::vector<uint8_t> atBytes = encodeDatabaseList(at);
    EXPECT_EQ(std::vector<uint8_t>(atBytes.begin(), atBytes.begin() + 6),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(decodeDatabaseList(atBytes), at);
}

TEST(DatabaseList, ShortOrLyingDataIsRefused) {
    std::vector<uint8_t> bytes = encodeDatabaseList({"a.db", std::string(300, 'b')});
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(decodeDatabaseList(std::span(bytes).first(length))) << length;
    EXPECT_FALSE(decodeDatabaseList(std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0}));
    EXPECT_EQ(decodeDatabaseList(std::vector<uint8_t>{0, 0}), std::vector<std::string>{});
}

TEST(SettingsFile, ValuesKeepTheirTypesAndOtherTypesGiveDefaults) {
    ScratchDirectory dir;
    FaultyFileSystem fs;
    FileSettingsStore store(fs, dir.file("config/lumenforge/settings"));
    EXPECT_EQ(readStringSetting(store, kDatabasePathValue, "fallback"), "fallback");
    EXPECT_TRUE(readDatabaseList(store).empty());

    ASSERT_TRUE(writeStringSetting(store, kDatabasePathValue, "/x/\xD6.db/"));
    ASSERT_TRUE(writeDwordSetting(store, kRecentImportFilterValue, 3));
    ASSERT_TRUE(writeDatabaseList(store, {"/a.db/", "/b.db/"}));
    FileSettingsStore reopened(fs, dir.file("config/lumenforge/settings"));
    EXPECT_EQ(readStringSetting(reopened, kDatabasePathValue), "/x/\xD6.db/");
    EXPECT_EQ(readDwordSetting(reopened, kRecentImportFilterValue), 3u);
    EXPECT_EQ(readDatabaseList(reopened), (std::vector<std::string>{"/a.db/", "/b.db/"}));

    ASSERT_TRUE(writeStringSetting(store, kDatabaseListValue, "not binary"));
    EXPECT_TRUE(readDatabaseList(store).empty());
    EXPECT_EQ(readDwordSetting(store, kDatabasePathValue, 9), 9u);

    std::vector<uint8_t> before = testing::readBytes(dir.file("config/lumenforge/settings"));
    fs.failWrite = [](const std::string&) { return true; };
    EXPECT_FALSE(writeStringSetting(store, kEditorDefAuthorValue, "me"));
    EXPECT_EQ(testing::readBytes(dir.file("config/lumenforge/settings")), before);
}

TEST(SettingsFile, DamagedFilesAreRefusedWholeAndGiveDefaults) {
    SettingsValues values = {{"A", {SettingsType::Binary, {1, 2, 3}}}, {"B", {SettingsType::Dword, {4, 0, 0, 0}}}};
    std::vector<uint8_t> bytes = serializeSettings(values);
    EXPECT_EQ(parseSettings(bytes), values);
    for (size_t length = 0; length < bytes.size(); ++length)
        EXPECT_FALSE(parseSettings(std::span(bytes).first(length))) << length;
    std::vector<uint8_t> badType = bytes;
    badType[11 + 4 + 4 + 1] = 2;
    EXPECT_FALSE(parseSettings(badType));
}

#ifndef _WIN32
TEST(SettingsFile, UserSettingsLiveUnderTheConfigurationDirectory) {
    ScratchDirectory dir;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    ASSERT_TRUE(writeStringSetting(*openUserSettings(), kEditorDefCopyrightValue, "(c)"));
    EXPECT_TRUE(nativeFileSystem().fileExists(dir.file("lumenforge/settings")));
    EXPECT_EQ(readStringSetting(*openUserSettings(), kEditorDefCopyrightValue), "(c)");
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}
#endif

TEST(Startup, RememberedDatabaseOnlyWhileItExists) {
    ScratchDirectory dir;
    FaultyFileSystem fs;
    FileSettingsStore settings(fs, dir.file("settings"));
    std::string modulePath = dir.file("Lumenforge.8bf");
    std::string defaultPath = defaultDatabasePath(withTrailingSeparator(dir.path()));
    EXPECT_EQ(defaultPath, joinPath(dir.path(), "Korvath Filters.db") + kPathSeparator);

    StartupState state = startUp(settings, fs, modulePath);
    EXPECT_EQ(state.databaseRoot, withTrailingSeparator(dir.path()));
    EXPECT_EQ(state.currentDatabasePath, defaultPath);
    EXPECT_FALSE(fs.directoryExists(defaultPath));

    ASSERT_TRUE(fs.createDirectory(dir.file("mine.db")));
    writeStringSetting(settings, kDatabasePathValue, dir.file("mine.db"));
    EXPECT_EQ(startUp(settings, fs, modulePath).currentDatabasePath, dir.file("mine.db") + kPathSeparator);
    writeStringSetting(settings, kDatabasePathValue, dir.file("deleted.db"));
    EXPECT_EQ(startUp(settings, fs, modulePath).currentDatabasePath, defaultPath);
    EXPECT_EQ(readStringSetting(settings, kDatabasePathValue), dir.file("deleted.db"));
}

TEST(Startup, DatabasePathIsRememberedOnlyAfterTheIndexWasRead) {
    ScratchDirectory dir;
    FaultyFileSystem fs;
    FileSettingsStore settings(fs, dir.file("settings"));
    std::string databasePath = dir.file("a.db");
    ASSERT_TRUE(fs.createDirectory(databasePath));
    FilterDatabase database(fs);
    EXPECT_FALSE(openCurrentDatabase(database, settings, databasePath).indexRead);
    EXPECT_EQ(readStringSetting(settings, kDatabasePathValue), "");
    EXPECT_TRUE(openCurrentDatabase(database, settings, databasePath).indexRead);
    EXPECT_EQ(readStringSetting(settings, kDatabasePathValue), databasePath + kPathSeparator);
}

TEST(Startup, ModulePathNamesAnExistingFile) {
    std::string path = moduleFilePath();
    EXPECT_TRUE(nativeFileSystem().fileExists(path)) << path;
    EXPECT_FALSE(directoryOf(path).empty());
}

}  // namespace
}  // namespace lumen::filters
