// The control panel inside the main dialog: a filter taken in by command 1001, as the navigator
// sends it, rendered into the preview of the run's image.
#include <gtest/gtest.h>

#include "plugin/plugin_instance.h"
#include "resources/resource_ids.h"
#include "ui/win32/main_dialog_window.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

TEST(MainDialogPanel, AChosenFilterIsShownWithItsSlidersAndRenderedPreview) {
    plugin::PluginInstance instance;
    ASSERT_TRUE(instance.source.allocate(640, 400, plugin::ImageBuffer::kFourChannels, false));
    uint8_t* p = instance.source.pixels();
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x, p += 4) {
            const bool square = ((x / 40) + (y / 40)) % 2 == 0;
            p[0] = uint8_t(square ? 230 : x * 255 / 639), p[1] = uint8_t(y * 255 / 399), p[2] = uint8_t(square ? 60 : 200);
            p[3] = 255;
        }
    MainDialogWindow dialog{nullptr, &instance};
    plugin::CurrentFilter twirl;
    twirl.title = "Twirl";
    twirl.category = "Distort";
    twirl.code = {"0", "rad(d+ctl(0)*(M-m)/M*2,m,z)", "rad(d+ctl(0)*(M-m)/M*2,m,z)", "rad(d+ctl(0)*(M-m)/M*2,m,z)",
                  "a"};
    twirl.controlEnabled = {1, 1, 0, 0, 0, 0, 0, 0};
    twirl.controlLabel = {"Angle", "Unused", "", "", "", "", "", ""};
    twirl.controlValue = {160, 40, 0, 0, 0, 0, 0, 0};
    dialog.runner().setFilter(twirl);
    runDriven([&] { dialog.runModal(); },
              [&](DWORD ui) {
                  HWND window = waitForWindowWith(ui, kMainTabs);
                  ASSERT_TRUE(window);
                  HWND panel = pageWith(window, kPanelReset);
                  ASSERT_TRUE(panel);
                  PostMessageA(panel, WM_COMMAND, kCmdActivateFilter, 0);
                  ASSERT_TRUE(waitUntil([&] { return dialog.controlPanel().renders().completed.load() >= 1; }));
                  char title[64] = {};
                  GetDlgItemTextA(panel, kPanelTitle, title, sizeof title);
                  EXPECT_STREQ(title, "Twirl");
                  // Randomize follows the navigator's selection.
                  EXPECT_EQ(IsWindowEnabled(GetDlgItem(panel, kPanelRandomize)) != FALSE,
                            dialog.navigator().selectedFilterCount() == 1);
                  saveScreenshot(window, "main-dialog-filter");
                  pressButton(window, kMainApply);
              });
    EXPECT_EQ(dialog.runner().filter().controlValue[0], 160);
}

}  // namespace
}  // namespace lumen::ui
