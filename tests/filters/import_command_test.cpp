#include "filters/import_command.h"

#include <gtest/gtest.h>

#include "filters/ffx_file.h"
#include "filters/memory_settings.h"
#include "import_fixtures.h"
#include "test_support.h"

using namespace lumen::filters;
using namespace lumen::filters::testing;

namespace {

// Plays the user: answers from scripts, remembers everything it was shown or asked.
class ScriptedUi final : public ImportUi {
public:
    FileDialogResult dialog;
    std::optional<std::vector<size_t>> picks = std::vector<size_t>{};
    bool answer = true;
    std::string initialPath;
    uint32_t initialType = 99;
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<size_t> libraryRowsShown;

    FileDialogResult chooseFiles(const std::string& path, uint32_t type) override {
        initialPath = path;
        initialType = type;
        return dialog;
    }
    std::optional<std::vector<size_t>> pickLibraryEntries(const std::string&, const FilterLibrary& library) override {
        libraryRowsShown.push_back(library.entries.size());
        return picks;
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askToContinue(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }
};

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

const std::string kGoodAfs = "%RGB-1.0\r0\r1\r2\r3\r4\r5\r6\r7\rr\r\rg\r\rb\r\ra\r\r";

class ImportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        databasePath = scratch.file("Test.db");
        ASSERT_TRUE(nativeFileSystem().createDirectory(databasePath));
        ASSERT_TRUE(database.open(databasePath).listed);
        writeBytes(scratch.file("good.afs"), bytesOf(kGoodAfs));
        writeBytes(scratch.file("other.afs"), bytesOf(kGoodAfs));
        writeBytes(scratch.file("broken.afs"), bytesOf("%RGB-1.0\r1\r"));
    }

    ImportReport run(FileSystem& fs = nativeFileSystem(), bool replace = false) {
        ImportContext context{fs, settings, database, working, ui, replace};
        return runImport(context);
    }
    void choose(std::vector<std::string> names, uint32_t type = 2) {
        ui.dialog = {FileDialogOutcome::Chosen, {}, type};
        for (const std::string& name : names) ui.dialog.paths.push_back(scratch.file(name));
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const DatabaseEntry& entry : database.entries()) result.push_back(entry.title);
        return result;
    }

    ScratchDirectory scratch;
    std::string databasePath;
    FilterDatabase database{nativeFileSystem()};
    FilterDefinition working;
    MemorySettingsStore settings;
    ScriptedUi ui;
};

}  // namespace

TEST(ImportDispatch, ChoosesTheImporterByExtension) {
    EXPECT_EQ(importKindOf("/a/lib.FFL"), ImportKind::Library);
    EXPECT_EQ(importKindOf("/a/x.8Bf"), ImportKind::Plugin);
    EXPECT_EQ(importKindOf("/a/wave_8BF"), ImportKind::Plugin);
    EXPECT_EQ(importKindOf("x_8bf"), ImportKind::Plugin);
    EXPECT_EQ(importKindOf("_8bf"), ImportKind::Skipped);        // shorter than five characters
    EXPECT_EQ(importKindOf("/a.d/wave_8bf"), ImportKind::Plugin);  // the dot is the directory's
    EXPECT_EQ(importKindOf("/a/wave_8bf.txt"), ImportKind::Skipped);
    EXPECT_EQ(importKindOf("/a/f.Afs"), ImportKind::Afs);
    EXPECT_EQ(importKindOf("/a/f.ffx"), ImportKind::Ffx);
    EXPECT_EQ(importKindOf("/a/notes"), ImportKind::Skipped);
    EXPECT_EQ(fileExtensionOf("/a/b.c.afs"), ".afs");
    EXPECT_EQ(fileExtensionOf("/a.b/c"), "");
}

TEST_F(ImportCommand, SingleBrokenFileShowsItsReasonOnly) {
    choose({"broken.afs"});
    const ImportReport report = run();
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_FALSE(report.files[0].succeeded);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Invalid AFS format."});
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(ImportCommand, AsksToContinueWhenOneOfSeveralFails) {
    for (bool yes : {true, false}) {
        std::vector<std::string> imported;
        for (const DatabaseEntry& entry : database.entries()) imported.push_back(entry.fileName);
        ASSERT_TRUE(database.deleteFilters(imported));
        ui.answer = yes;
        ui.questions.clear();
        choose({"good.afs", "broken.afs", "other.afs"});
        const ImportReport report = run();
        ASSERT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.questions[0], "Import of file \"" + scratch.file("broken.afs") +
                                       "\" failed for the following reason:\nInvalid AFS format.\n\n"
                                       "Do you want to continue importing files?");
        EXPECT_EQ(report.stopped, !yes);
        // The database was reopened either way and lists what was imported.
        EXPECT_EQ(titles(), yes ? (std::vector<std::string>{"good", "other"}) : std::vector<std::string>{"good"});
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(ImportCommand, RemembersPathAndTypeAndClearsTheWorkingFilter) {
    working = sampleFilter(2);
    choose({"good.afs", "notes.txt"}, 3);
    const ImportReport report = run();
    EXPECT_TRUE(report.ran);
    ASSERT_EQ(report.files.size(), 2u);
    EXPECT_EQ(report.files[1].kind, ImportKind::Skipped);
    EXPECT_TRUE(ui.messages.empty() && ui.questions.empty());
    EXPECT_TRUE(working.presets.empty());
    EXPECT_EQ(working.author, "");
    EXPECT_EQ(working.title, "good");
    ui.dialog.outcome = FileDialogOutcome::Cancelled;
    run();
    EXPECT_EQ(ui.initialPath, scratch.file("notes.txt"));
    EXPECT_EQ(ui.initialType, 3u);
}

TEST_F(ImportCommand, TooManyFilesOrCancelImportNothing) {
    working = sampleFilter(1);
    ui.dialog = {FileDialogOutcome::NameBufferTooSmall, {scratch.file("good.afs")}, 2};
    EXPECT_FALSE(run().ran);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].substr(0, 31), "Sorry, too many files selected.");
    ui.dialog.outcome = FileDialogOutcome::Cancelled;
    EXPECT_FALSE(run().ran);
    EXPECT_EQ(working.presets.size(), 1u);
    EXPECT_TRUE(settings.values.empty());
    EXPECT_TRUE(titles().empty());
}

TEST_F(ImportCommand, CopiesFfxFilesUnderTheirOwnName) {
    FilterDefinition filter = sampleFilter(1);
    ASSERT_TRUE(saveFfxAs(nativeFileSystem(), filter, scratch.file("my own name.ffx")));
    writeBytes(scratch.file("fake.ffx"), bytesOf("not a filter"));
    choose({"my own name.ffx", "fake.ffx"});
    ui.answer = true;
    const ImportReport report = run();
    EXPECT_TRUE(report.files[0].succeeded);
    EXPECT_EQ(report.files[1].reason, "Invalid FFX format or version conflict.");
    EXPECT_EQ(readBytes(joinPath(databasePath, "my own name.ffx")), readBytes(scratch.file("my own name.ffx")));
    ASSERT_EQ(database.entries().size(), 1u);
    EXPECT_EQ(database.entries()[0].fileName, "my own name.ffx");
    EXPECT_EQ(database.entries()[0].flags, kEntryHasPresets);
}

TEST_F(ImportCommand, PluginsWithAndWithoutExtension) {
    ParmRecord record = sampleParmRecord();
    writeBytes(scratch.file("wave_8BF"), buildFfPlugin(encodeParmRecord(record)));
    record.protectedFlag = 1;
    writeBytes(scratch.file("locked.8bf"), buildFfPlugin(encodeParmRecord(record)));
    choose({"wave_8BF"});
    EXPECT_TRUE(run().files[0].succeeded);
    EXPECT_EQ(titles(), std::vector<std::string>{"Title"});
    choose({"locked.8bf"});
    run();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"No or invalid Filter Factory plugin."});
}

TEST_F(ImportCommand, LibraryImportsPickedRowsInFileOrderAndCancelIsQuiet) {
    std::string text = "FFL1.0\r\n10\r\n";
    for (int n = 1; n <= 10; ++n) {
        text += "src\r\nCat\r\nFilter " + std::to_string(n) + "\r\n";
        for (int line = 4; line <= 29; ++line) text += line >= 26 ? "r\r\n" : "\r\n";
    }
    writeBytes(scratch.file("lib.ffl"), bytesOf(text));
    choose({"lib.ffl"});
    ui.picks = std::vector<size_t>{4, 1, 4, 77};
    EXPECT_TRUE(run().files[0].succeeded);
    EXPECT_EQ(ui.libraryRowsShown, std::vector<size_t>{10});
    EXPECT_EQ(titles(), (std::vector<std::string>{"Filter 2", "Filter 5"}));
    EXPECT_EQ(working.title, "Filter 5");  // the later one was converted last

    ui.picks.reset();
    const ImportReport cancelled = run();
    EXPECT_FALSE(cancelled.files[0].succeeded);
    EXPECT_EQ(cancelled.files[0].reason, "Dialog canceled");
    EXPECT_TRUE(ui.messages.empty());

    writeBytes(scratch.file("bad.ffl"), bytesOf("FFL2.0\r\n1\r\n"));
    choose({"bad.ffl"});
    ui.picks = std::vector<size_t>{};
    EXPECT_TRUE(run().files[0].succeeded);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Unsupported library"});
    EXPECT_EQ(ui.libraryRowsShown.back(), 0u);
}

// An .ffx file named like a filter of the database (or anything that merely starts with the
// magic) does not replace that filter: it comes in under a free name unless replacing is asked.
TEST_F(ImportCommand, CopiedFfxFilesKeepTheFilterOfTheirNameUnlessToldToReplace) {
    FilterDefinition filter = sampleFilter(2);
    ASSERT_TRUE(saveFfxAs(nativeFileSystem(), filter, joinPath(databasePath, "Stone - Tiles.ffx")));
    const std::vector<uint8_t> kept = readBytes(joinPath(databasePath, "Stone - Tiles.ffx"));
    writeBytes(scratch.file("Stone - Tiles.ffx"), {6, 0, 0, 0, 'F', 'F', 'X', '9', '.', '9'});
    choose({"Stone - Tiles.ffx"});
    EXPECT_TRUE(run().files[0].succeeded);
    EXPECT_TRUE(run().files[0].succeeded);
    EXPECT_EQ(readBytes(joinPath(databasePath, "Stone - Tiles.ffx")), kept);
    EXPECT_EQ(readBytes(joinPath(databasePath, "Stone - Tiles (2).ffx")), readBytes(scratch.file("Stone - Tiles.ffx")));
    EXPECT_TRUE(nativeFileSystem().fileExists(joinPath(databasePath, "Stone - Tiles (3).ffx")));

    EXPECT_TRUE(run(nativeFileSystem(), true).files[0].succeeded);
    EXPECT_EQ(readBytes(joinPath(databasePath, "Stone - Tiles.ffx")), readBytes(scratch.file("Stone - Tiles.ffx")));
}

// The longest name a file system allows: the copy's temporary name must not be longer. (Windows'
// ANSI calls stop at 260 characters for the whole path, long before.)
#ifndef _WIN32
TEST_F(ImportCommand, FilesWithTheLongestNamesImport) {
    const std::string name = std::string(kMaxFileNameLength - 4, 'n') + ".ffx";
    FilterDefinition filter = sampleFilter(1);
    ASSERT_TRUE(saveFfxAs(nativeFileSystem(), filter, scratch.file(name)));
    choose({name});
    EXPECT_TRUE(run().files[0].succeeded);
    EXPECT_TRUE(run().files[0].succeeded);
    const std::string numbered = std::string(kMaxFileNameLength - 8, 'n') + " (2).ffx";
    EXPECT_EQ(readBytes(joinPath(databasePath, numbered)), readBytes(scratch.file(name)));
}
#endif

// The dialogs keep their fixed texts; the detail says what happened to which file.
TEST_F(ImportCommand, FailuresSayWhatHappenedToWhichFile) {
    choose({"missing.ffx", "fake.afs"});
    writeBytes(scratch.file("fake.afs"), bytesOf("text"));
    ImportReport report = run();
    EXPECT_EQ(report.files[0].reason, kInvalidFfxReason);
    // The reason is the system's own text ("No such file or directory", "File not found").
    const std::string cannotRead = "cannot read " + scratch.file("missing.ffx") + ": ";
    EXPECT_EQ(report.files[0].detail.rfind(cannotRead, 0), 0u) << report.files[0].detail;
    EXPECT_GT(report.files[0].detail.size(), cannotRead.size());
    EXPECT_EQ(report.files[1].reason, kInvalidAfsReason);
    EXPECT_EQ(report.files[1].detail, scratch.file("fake.afs") + ": not a Filter Factory text file (%RGB-1.0)");

    // A converted filter that cannot be saved is no success, though the dialogs show nothing.
    FaultyFileSystem full;
    full.failWrite = [](const std::string& path) { return path.ends_with(".ffx"); };
    choose({"good.afs"});
    ui.messages.clear();
    report = run(full);
    EXPECT_FALSE(report.files[0].succeeded);
    EXPECT_TRUE(report.files[0].reason.empty());
    EXPECT_EQ(report.files[0].detail.rfind("cannot write " + joinPath(databasePath, "_AFS IMPORT_ - good.ffx"), 0), 0u);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(database.entries().empty());

    writeBytes(scratch.file("lying.ffl"), bytesOf("FFL1.0\r\n2147483647\r\n"));
    choose({"lying.ffl"});
    ui.picks.reset();
    report = run();
    EXPECT_EQ(ui.messages, std::vector<std::string>{kErrorReadingFileMessage});
    EXPECT_EQ(ui.libraryRowsShown.back(), 0u);
    EXPECT_NE(report.files[0].detail.find("a broken library"), std::string::npos);
}
