// The presets page on a real database folder: Add through the description dialog, Delete,
// Apply, and what each does to the filter's file, its entry and the preview.
#include "ui/win32/presets_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include <filesystem>

#include "filters/ffx_file.h"
#include "panel_harness.h"
#include "resources/resource_ids.h"
#include "ui/win32/messages.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

uint32_t picture(int x, int y) { return uint32_t(x & 0xFF) << 24 | uint32_t((x * y) & 0xFF) << 16 | 0x40FF; }

class PresetsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("lumen-presets-" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "Test.db");
        ASSERT_TRUE(harness.database.open((root / "Test.db").string() + "\\").listed);
        ASSERT_TRUE(harness.database.newFilter(harness.working, "Tone", "Red"));
        harness.working.code = {"0", "r*ctl(0)/255", "g*ctl(1)/255", "b", "a"};
        harness.working.controlValue = {30, 60, 0, 0, 0, 0, 0, 0};
        harness.working.gradientIndex = 4;
        ASSERT_TRUE(harness.database.savePresetChange(harness.working));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::vector<uint8_t> fileBytes() const {
        return filters::nativeFileSystem().readFile(harness.working.filePath).value_or(std::vector<uint8_t>{});
    }
    std::vector<std::string> storedPresets() const {
        filters::FilterDefinition read;
        EXPECT_TRUE(filters::loadFfxFile(filters::nativeFileSystem(), harness.working.filePath, read));
        std::vector<std::string> names;
        for (const filters::Preset& preset : read.presets) names.push_back(preset.name);
        return names;
    }
    bool entryHasPresets() const { return harness.database.entries().at(0).hasPresets(); }

    HWND page() { return harness.presets().window().handle(); }

    // Add, describe in dialog 144, OK.
    void addPreset(const std::string& description, const char* screenshot = nullptr) {
        HWND add = GetDlgItem(page(), kPresetAdd);
        harness.settle();
        ASSERT_TRUE(IsWindowEnabled(add));
        pressButton(page(), kPresetAdd);
        HWND dialog = waitForWindowWith(GetWindowThreadProcessId(page(), nullptr), kDescriptionText);
        ASSERT_TRUE(dialog);
        char caption[64] = {};
        GetWindowTextA(dialog, caption, sizeof caption);
        EXPECT_STREQ(caption, "Preset Description");
        SetDlgItemTextA(dialog, kDescriptionText, description.c_str());
        if (screenshot) saveScreenshot(dialog, screenshot);
        pressButton(dialog, IDOK);
        ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }));
        harness.settle();
    }

    std::filesystem::path root;
    PanelHarness harness{300, 200, picture};
};

TEST_F(PresetsPageTest, TheFirstPresetSetsTheFlagAndTheFileAndDeletingTheLastClearsBoth) {
    harness.run(
        [&](HWND) {
            PostMessageA(harness.panel().window().handle(), WM_COMMAND, kCmdActivateFilter, 0);
            harness.settle();
            ASSERT_TRUE(waitUntil([&] { return harness.panel().renders().finished.load() >= 1; }));
            EXPECT_FALSE(entryHasPresets());
            addPreset("Warm light, a little faded", "preset-description");
            ASSERT_EQ(harness.working.presets.size(), 1u);
            EXPECT_EQ(harness.working.presets[0].name, "Warm light, a little faded");
            EXPECT_EQ(harness.working.presets[0].controlValue[0], 30);
            EXPECT_LE(harness.working.presets[0].thumbnail.height, 83) << "the thumbnail size rule";
            EXPECT_GT(harness.working.presets[0].thumbnail.width, 0);
            EXPECT_TRUE(entryHasPresets());
            EXPECT_EQ(harness.flagChanges.load(), 1) << "the navigator redraws the icons";
            EXPECT_EQ(storedPresets(), std::vector<std::string>{"Warm light, a little faded"});
            HWND list = GetDlgItem(page(), kPresetList);
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "the new preset is selected";
            EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 86);

            addPreset("Second");
            EXPECT_EQ(harness.flagChanges.load(), 1) << "only the first changes the icon";
            pressButton(page(), kPresetDelete);
            harness.settle();
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0) << "deleting the last selects the new last";
            EXPECT_TRUE(entryHasPresets());
            pressButton(page(), kPresetDelete);
            harness.settle();
            EXPECT_TRUE(harness.working.presets.empty());
            EXPECT_FALSE(entryHasPresets());
            EXPECT_EQ(harness.flagChanges.load(), 2);
            EXPECT_TRUE(storedPresets().empty());
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page(), kPresetDelete))) << "nothing selected";
        },
        true);
}

TEST_F(PresetsPageTest, ApplyChangesSlidersAndPreviewButNotTheFile) {
    harness.run(
        [&](HWND) {
            HWND panel = harness.panel().window().handle();
            PostMessageA(panel, WM_COMMAND, kCmdActivateFilter, 0);
            harness.settle();
            addPreset("Thirty and sixty");
            pressButton(panel, kPanelRandomize);
            harness.settle();
            ASSERT_NE(harness.working.controlValue[0], 30);
            harness.onUiThread([&] { harness.working.gradientIndex = 9; });
            const std::vector<uint8_t> before = fileBytes();
            const int started = harness.panel().renders().started.load();

            HWND list = GetDlgItem(page(), kPresetList);
            SendMessageA(list, LB_SETCURSEL, 0, 0);
            PostMessageA(page(), WM_COMMAND, MAKEWPARAM(kPresetList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
            harness.settle();
            EXPECT_EQ(harness.working.controlValue[0], 30);
            EXPECT_EQ(harness.working.controlValue[1], 60);
            EXPECT_EQ(harness.working.gradientIndex, 4);
            EXPECT_EQ(sliderValue(panel, 0), 30);
            EXPECT_EQ(sliderValue(panel, 1), 60);
            EXPECT_EQ(harness.panel().renders().started.load(), started + 1) << "the preview follows";
            EXPECT_EQ(fileBytes(), before);
            const auto commands = harness.commands();
            EXPECT_NE(std::find(commands.begin(), commands.end(), std::pair<int, LPARAM>{kCmdShowGradient, 4}),
                      commands.end());
        },
        true);
}

TEST_F(PresetsPageTest, SeveralPresetsListedWithTheirPictures) {
    for (int i = 0; i < 3; ++i) {
        auto thumbnail = imaging::Bitmap::create(110, 75);
        ASSERT_TRUE(thumbnail);
        for (int y = 0; y < 75; ++y)
            for (int x = 0; x < 110; ++x) {
                uint8_t* p = thumbnail->row(y) + x * 3;
                p[0] = uint8_t(x * 2), p[1] = uint8_t(y * 3 + i * 60), p[2] = uint8_t(200 - i * 70);
            }
        const char* names[] = {"Morning: soft warm light over the hills, the shadows long and blue",
                               "Noon", "Dusk, with the gradient of the sky"};
        filters::addPreset(harness.working, names[i], std::move(*thumbnail));
    }
    harness.run(
        [&](HWND) {
            PostMessageA(page(), kPresetsFilterChanged, 0, 0);
            harness.settle();
            HWND list = GetDlgItem(page(), kPresetList);
            EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
            SendMessageA(list, LB_SETCURSEL, 1, 0);
            harness.settle();
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page(), kPresetUp)));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page(), kPresetDown)));
            saveScreenshot(harness.parent(), "presets-page");
            pressButton(page(), kPresetUp);
            harness.settle();
            EXPECT_EQ(harness.working.presets[0].name, "Noon");
            EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page(), kPresetUp)));
            EXPECT_EQ(storedPresets().at(0), "Noon");
            harness.selectedFilters = 0;
            harness.settle();
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page(), kPresetAdd)));
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page(), kPresetSetDefault)));
        },
        true);
}

}  // namespace
}  // namespace lumen::ui
