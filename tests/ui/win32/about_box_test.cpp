// The about selector's box shows the about page's lines and closes with OK.
#include "ui/win32/about_box.h"

#include <gtest/gtest.h>

#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

TEST(AboutBox, ShowsTheAboutLinesAndClosesWithOk) {
    bool returned = false;
    runDriven([&] {
        showAboutBox(nullptr);
        returned = true;
    },
              [](DWORD ui) {
                  HWND box = waitForWindowWith(ui, IDOK);
                  ASSERT_TRUE(box);
                  EXPECT_TRUE(FindWindowExA(box, nullptr, "Static", "About Lumenforge 1.0"));
                  saveScreenshot(box, "about-box");
                  pressButton(box, IDOK);
                  EXPECT_TRUE(waitUntil([&] { return !IsWindow(box); }));
              });
    EXPECT_TRUE(returned);
}

}  // namespace
}  // namespace lumen::ui
