// The editor's Slider Settings and Filter Info dialogs: OK takes what the user typed and ticked,
// Cancel nothing; the defaults go through the settings.
#include "ui/win32/editor_dialogs.h"

#include <gtest/gtest.h>

#include "filters/memory_settings.h"
#include "resources/resource_ids.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

using Labels = std::array<std::string, filters::kControlCount>;
using Flags = std::array<uint8_t, filters::kControlCount>;

// A click as the mouse gives it: check boxes toggle, and the command has run on return.
void click(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

std::string itemText(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST(SliderSettingsDialog, OkTakesLabelsAndTicksAndCancelNothing) {
    Labels labels{"Amount", "Angle", "", "", "", "", "", "Last"};
    Flags active{1, 0, 0, 0, 0, 0, 0, 1};
    bool accepted = false;
    runDriven([&] { accepted = editSliderSettings(nullptr, labels, active); },
              [](DWORD ui) {
                  HWND dialog = waitForWindowWith(ui, kSliderActive7);
                  ASSERT_TRUE(dialog);
                  EXPECT_EQ(itemText(dialog, kSliderLabel0), "Amount");
                  EXPECT_EQ(SendDlgItemMessageA(dialog, kSliderActive1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
                  SetDlgItemTextA(dialog, kSliderLabel1, "Turn");
                  click(dialog, kSliderActive1);
                  click(dialog, kSliderActive7);
                  saveScreenshot(dialog, "editor-slider-settings");
                  pressButton(dialog, IDOK);
              });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(labels[1], "Turn");
    EXPECT_EQ(labels[7], "Last");
    EXPECT_EQ(active, (Flags{1, 1, 0, 0, 0, 0, 0, 0}));

    const Labels before = labels;
    runDriven([&] { accepted = editSliderSettings(nullptr, labels, active); },
              [](DWORD ui) {
                  HWND dialog = waitForWindowWith(ui, kSliderActive7);
                  ASSERT_TRUE(dialog);
                  SetDlgItemTextA(dialog, kSliderLabel0, "changed");
                  click(dialog, kSliderActive0);
                  pressButton(dialog, IDCANCEL);
              });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(labels, before);
    EXPECT_EQ(active[0], 1);
}

TEST(EditorInfoDialog, DefaultsAreLoadedAndSavedAndOkTakesTheTexts) {
    filters::MemorySettingsStore settings;
    filters::writeStringSetting(settings, filters::kEditorDefAuthorValue, "Default Author");
    std::string author = "Someone";
    std::string copyright = "(c) 2026\r\nall rights";
    bool accepted = false;
    runDriven([&] { accepted = editAuthorAndCopyright(nullptr, settings, author, copyright); },
              [](DWORD ui) {
                  HWND dialog = waitForWindowWith(ui, kEditorInfoLoadDefaults);
                  ASSERT_TRUE(dialog);
                  EXPECT_EQ(itemText(dialog, kEditorInfoAuthor), "Someone");
                  EXPECT_EQ(itemText(dialog, kEditorInfoCopyright), "(c) 2026\r\nall rights");
                  saveScreenshot(dialog, "editor-filter-info");
                  click(dialog, kEditorInfoLoadDefaults);
                  EXPECT_EQ(itemText(dialog, kEditorInfoAuthor), "Default Author");
                  EXPECT_EQ(itemText(dialog, kEditorInfoCopyright), "");
                  SetDlgItemTextA(dialog, kEditorInfoCopyright, "Free to use");
                  click(dialog, kEditorInfoSaveDefaults);
                  pressButton(dialog, IDOK);
              });
    EXPECT_TRUE(accepted);
    EXPECT_EQ(author, "Default Author");
    EXPECT_EQ(copyright, "Free to use");
    EXPECT_EQ(filters::readStringSetting(settings, filters::kEditorDefCopyrightValue), "Free to use");

    runDriven([&] { accepted = editAuthorAndCopyright(nullptr, settings, author, copyright); },
              [](DWORD ui) {
                  HWND dialog = waitForWindowWith(ui, kEditorInfoLoadDefaults);
                  ASSERT_TRUE(dialog);
                  SetDlgItemTextA(dialog, kEditorInfoAuthor, "not taken");
                  pressButton(dialog, IDCANCEL);
              });
    EXPECT_FALSE(accepted);
    EXPECT_EQ(author, "Default Author");
}

}  // namespace
}  // namespace lumen::ui
