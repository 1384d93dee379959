// The formula editor driven as a user types: marks follow the check of each keystroke, the line
// under the edits says where the failing source stopped, renders follow only texts that parse,
// and Save hands back the edits without the title while Cancel hands back nothing.
#include "ui/win32/editor_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "../../filters/import_fixtures.h"
#include "filters/ffx_file.h"
#include "filters/memory_settings.h"
#include "resources/resource_ids.h"
#include "ui/win32/messages.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

constexpr int kErrorLineId = 1200;

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(source.allocate(48, 32, plugin::ImageBuffer::kFourChannels, true));
        for (int32_t i = 0; i < 48 * 32 * 4; ++i) source.pixels()[i] = static_cast<uint8_t>(i * 7);
        filter.title = "Ripple";
        filter.code = {"0", "r", "g", "b + ", "a"};  // B does not parse yet
        filter.controlLabel[0] = "Amount";
        surroundings.previewSource = &source;
        surroundings.settings = &settings;
        surroundings.fileSystem = &filters::nativeFileSystem();
        surroundings.renderFinished = [this](bool complete, const plugin::ImageBuffer& preview) {
            ++finishes;
            if (!complete) return;
            lastRed = preview.pixels()[0];
            ++renders;
        };
    }

    plugin::ImageBuffer source;
    filters::FilterDefinition filter;
    filters::MemorySettingsStore settings;
    EditorSurroundings surroundings;
    std::atomic<int> renders{0};   // renders that reached the last row
    std::atomic<int> finishes{0};  // every render, stopped ones too
    std::atomic<int> lastRed{-1};  // the first pixel's red in the last finished preview
};

bool markShown(HWND editor, int mark) { return IsWindowVisible(GetDlgItem(editor, mark)) != FALSE; }

std::string itemText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Keys typed at the end of an edit's text.
void typeAtEnd(HWND editor, int edit, const std::string& keys) {
    HWND box = GetDlgItem(editor, edit);
    SendMessageA(box, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageA(box, EM_SETSEL, 0x7FFF, 0x7FFF);
    for (char key : keys) PostMessageA(box, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 1);
}

TEST_F(EditorWindowTest, MarksFollowEachKeystrokeAndOnlyParsingTextsRender) {
    filter.controlEnabled[0] = 1;
    filter.controlValue[0] = 100;
    filters::FilterEdit edit;
    bool saved = false;
    runDriven([&] { saved = runFilterEditor(nullptr, filter, surroundings, edit); },
              [&](DWORD ui) {
                  HWND editor = waitForWindowWith(ui, kEditSourceG);
                  ASSERT_TRUE(editor);
                  EXPECT_EQ(itemText(editor, kEditTitle), "Ripple");
                  ASSERT_TRUE(waitUntil([&] { return markShown(editor, kEditMarkB); }));
                  EXPECT_FALSE(markShown(editor, kEditMarkG));
                  EXPECT_EQ(itemText(editor, kErrorLineId), "B: Line 1, column 4: the source ends too early");
                  EXPECT_EQ(renders.load(), 0);

                  typeAtEnd(editor, kEditSourceG, "*");  // now G fails first
                  ASSERT_TRUE(waitUntil([&] { return markShown(editor, kEditMarkG); }));
                  EXPECT_TRUE(markShown(editor, kEditMarkB));  // not checked again: kept
                  EXPECT_FALSE(markShown(editor, kEditMarkA));
                  EXPECT_EQ(itemText(editor, kErrorLineId), "G: Line 1, column 3: the source ends too early");
                  saveScreenshot(editor, "editor-error-mark");

                  // A click on the line puts the caret where G stopped.
                  HWND line = GetDlgItem(editor, kErrorLineId);
                  postMouse(line, WM_LBUTTONDOWN, MK_LBUTTON, 3, 3);
                  postMouse(line, WM_LBUTTONUP, 0, 3, 3);
                  ASSERT_TRUE(waitUntil([&] {
                      DWORD start = 0, end = 0;
                      SendDlgItemMessageA(editor, kEditSourceG, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                          reinterpret_cast<LPARAM>(&end));
                      return start == 2 && end == 2;
                  }));

                  typeAtEnd(editor, kEditSourceG, "2");  // "g*2" parses; B still fails
                  ASSERT_TRUE(waitUntil([&] { return !markShown(editor, kEditMarkG); }));
                  EXPECT_TRUE(markShown(editor, kEditMarkB));
                  EXPECT_EQ(renders.load(), 0);

                  typeAtEnd(editor, kEditSourceB, "1");  // "b + 1": all five parse
                  ASSERT_TRUE(waitUntil([&] { return renders.load() >= 1; }));
                  EXPECT_FALSE(markShown(editor, kEditMarkB));
                  EXPECT_FALSE(IsWindowVisible(GetDlgItem(editor, kErrorLineId)));
                  saveScreenshot(editor, "editor");

                  // Randomize renders with the new value of the one active control.
                  const int before = renders.load();
                  pressButton(editor, kEditRandomize);
                  ASSERT_TRUE(waitUntil([&] { return renders.load() > before; }));
                  pressButton(editor, IDOK);
              });
    ASSERT_TRUE(saved);
    EXPECT_EQ(edit.code[2], "g*2");
    EXPECT_EQ(edit.code[3], "b + 1");
    EXPECT_EQ(edit.controlLabel[0], "Amount");
    for (int k = 1; k < filters::kControlCount; ++k) EXPECT_EQ(edit.controlValue[k], filter.controlValue[k]);
}

TEST_F(EditorWindowTest, RandomizeWithNoActiveControlAndCancelAfterChangesDoNothing) {
    filters::FilterEdit edit;
    edit.author = "untouched";
    bool saved = true;
    runDriven([&] { saved = runFilterEditor(nullptr, filter, surroundings, edit); },
              [&](DWORD ui) {
                  HWND editor = waitForWindowWith(ui, kEditSourceG);
                  ASSERT_TRUE(editor);
                  // Every control inactive: Randomize changes and renders nothing.
                  typeAtEnd(editor, kEditSourceB, "1");
                  ASSERT_TRUE(waitUntil([&] { return renders.load() == 1; }));
                  pressButton(editor, kEditRandomize);
                  SendMessageA(editor, WM_NULL, 0, 0);
                  Sleep(300);
                  EXPECT_EQ(renders.load(), 1);
                  typeAtEnd(editor, kEditSourceR, "/2");
                  ASSERT_TRUE(waitUntil([&] { return itemText(editor, kEditSourceR) == "r/2"; }));
                  pressButton(editor, IDCANCEL);
              });
    EXPECT_FALSE(saved);
    EXPECT_EQ(edit.author, "untouched");
}

TEST_F(EditorWindowTest, ImportFillsTheBoxesAndSlidersFromEachKindOfFile) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lumenforge-editor-import";
    std::filesystem::create_directories(folder);
    const std::string afs = (folder / "text.afs").string(), plugin = (folder / "wave.8bf").string(),
                      broken = (folder / "broken.8bf").string(), own = (folder / "own.ffx").string();
    const std::string text = "%RGB-1.0\r10\r20\r30\r40\r50\r60\r70\r80\rr/2\r\rg\r\rb\r\ra\r\r";
    auto write = [](const std::string& path, const std::string& bytes) {
        return filters::nativeFileSystem().writeFileAtomic(
            path, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    };
    ASSERT_TRUE(write(afs, text));
    ASSERT_TRUE(write(broken, "MZ"));
    const auto pluginBytes = filters::testing::buildFfPlugin(filters::testing::encodeParmRecord(filters::testing::sampleParmRecord()));
    ASSERT_TRUE(filters::nativeFileSystem().writeFileAtomic(plugin, pluginBytes));
    filters::FilterDefinition ownFilter = filter;
    ownFilter.code = {"put(7,0)", "get(0)*r", "g", "b", "a"};
    ownFilter.filePath = own;
    ASSERT_TRUE(filters::writeFfxFile(filters::nativeFileSystem(), ownFilter));

    std::string next;
    std::vector<std::string> offered;
    surroundings.chooseImportFile = [&](HWND, const std::string& initial) -> std::optional<std::string> {
        offered.push_back(initial);
        return next;
    };
    filters::FilterEdit edit;
    runDriven([&] { runFilterEditor(nullptr, filter, surroundings, edit); },
              [&](DWORD ui) {
                  HWND editor = waitForWindowWith(ui, kEditSourceG);
                  ASSERT_TRUE(editor);
                  next = afs;
                  pressButton(editor, kEditImport);
                  ASSERT_TRUE(waitUntil([&] { return itemText(editor, kEditSourceR) == "r/2"; }));
                  EXPECT_EQ(itemText(editor, kEditSourceI), "0");
                  EXPECT_EQ(SendDlgItemMessageA(editor, kEditSlider7, kSliderGetValue, 0, 0), 80);

                  next = plugin;
                  pressButton(editor, kEditImport);
                  ASSERT_TRUE(waitUntil([&] { return itemText(editor, kEditSourceG) == "g*ctl(1)/255"; }));
                  saveScreenshot(editor, "editor-imported-plugin");

                  next = broken;
                  pressButton(editor, kEditImport);
                  EXPECT_EQ(answerMessageBox(ui, "Lumenforge", IDOK), "No or invalid Filter Factory plugin.");
                  EXPECT_EQ(itemText(editor, kEditSourceG), "g*ctl(1)/255");

                  next = own;
                  pressButton(editor, kEditImport);
                  ASSERT_TRUE(waitUntil([&] { return itemText(editor, kEditSourceI) == "put(7,0)"; }));
                  pressButton(editor, IDOK);
              });
    EXPECT_EQ(offered.front(), "");
    EXPECT_EQ(offered.back(), plugin);  // the last import that worked
    EXPECT_EQ(edit.code[1], "get(0)*r");
    std::filesystem::remove_all(folder);
}

TEST_F(EditorWindowTest, TwentyQuickKeystrokesAskForAFewRendersNotTwenty) {
    filter.code = {"0", "0", "g", "b", "a"};
    filters::FilterEdit edit;
    runDriven([&] { runFilterEditor(nullptr, filter, surroundings, edit); },
              [&](DWORD ui) {
                  HWND editor = waitForWindowWith(ui, kEditSourceG);
                  ASSERT_TRUE(editor);
                  ASSERT_TRUE(waitUntil([&] { return renders.load() == 1; }));
                  typeAtEnd(editor, kEditSourceR, "12345678901234567890");  // every text parses
                  ASSERT_TRUE(waitUntil([&] { return itemText(editor, kEditSourceR) == "012345678901234567890"; }));
                  SendMessageA(editor, WM_NULL, 0, 0);
                  ASSERT_TRUE(waitUntil([&] { return renders.load() >= 2; }));
                  Sleep(200);
                  EXPECT_LE(finishes.load(), 1 + 5);
                  pressButton(editor, IDOK);
              });
    EXPECT_EQ(edit.code[1], "012345678901234567890");
}

// The panel's image stands for the host's: its ranges, where known, are the host image's, and
// otherwise the ones of its own pixels.
TEST_F(EditorWindowTest, ThePreviewSeesTheRangesOfTheImageItStandsFor) {
    for (int32_t i = 0; i < 48 * 32; ++i) source.pixels()[i * 4] = static_cast<uint8_t>(20 + i % 181);  // 20 ... 200
    filter.code = {"0", "hmax(0) - hmin(0)", "g", "b", "a"};
    for (const bool known : {false, true}) {
        SCOPED_TRACE(known ? "ranges known" : "ranges unknown");
        formula::ByteRanges hostImage;
        hostImage.low[0] = 5;
        hostImage.high[0] = 250;
        if (known)
            source.setRanges(hostImage);
        else
            source.forgetRanges();
        renders = 0;
        filters::FilterEdit edit;
        runDriven([&] { runFilterEditor(nullptr, filter, surroundings, edit); },
                  [&](DWORD ui) {
                      HWND editor = waitForWindowWith(ui, kEditSourceG);
                      ASSERT_TRUE(editor);
                      ASSERT_TRUE(waitUntil([&] { return renders.load() == 1; }));
                      EXPECT_EQ(lastRed.load(), known ? 245 : 180);
                      pressButton(editor, IDCANCEL);
                  });
    }
}

}  // namespace
}  // namespace lumen::ui
