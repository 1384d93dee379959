// The control panel driven as a user drives it: sliders pressed and dragged, Randomize and
// Reset, renders counted as they start and end.
#include "ui/win32/control_panel_page.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "panel_harness.h"
#include "resources/resource_ids.h"
#include "ui/win32/messages.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

uint32_t gradientPattern(int x, int y) { return uint32_t(x * 255 / 299) << 24 | uint32_t(y * 255 / 199) << 16 | 0x80FF; }

// Controls 0, 1 and 3 in use; 2 and the rest not.
void threeControls(filters::FilterDefinition& filter) {
    filter.title = "Tone";
    filter.code = {"0", "r*ctl(0)/255", "g*ctl(1)/255", "b*ctl(3)/255", "a"};
    filter.controlEnabled = {1, 1, 0, 1, 0, 0, 0, 0};
    filter.controlLabel = {"Red", "Green", "", "Blue", "", "", "", ""};
    filter.controlValue = {200, 100, 7, 50, 0, 0, 0, 0};
    filter.gradientIndex = 5;
}

// Each storage() call clears 64000 cells: a thumbnail takes the better part of a second.
std::string slowChannel(const char* channel) {
    return std::string(channel) + "+storage(64000)+storage(64000)+storage(64000)";
}

HWND panelOf(PanelHarness& harness) { return harness.panel().window().handle(); }

bool waitForRenders(PanelHarness& harness, int finished) {
    return waitUntil([&] { return harness.panel().renders().finished.load() >= finished; });
}

void activate(PanelHarness& harness) {
    PostMessageA(panelOf(harness), WM_COMMAND, kCmdActivateFilter, 0);
    harness.settle();
}

TEST(ControlPanel, ActivateShowsTheControlsInUseAndNoFilterEmptiesThePanel) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        activate(harness);
        EXPECT_TRUE(waitForRenders(harness, 1));
        char title[64] = {};
        GetDlgItemTextA(panel, kPanelTitle, title, sizeof title);
        EXPECT_STREQ(title, "Tone");
        EXPECT_EQ(sliderValue(panel, 0), 200);
        EXPECT_EQ(sliderValue(panel, 3), 50);
        EXPECT_EQ(sliderValue(panel, 2), 0) << "a control not in use shows 0";
        EXPECT_EQ(harness.panel().renders().completed.load(), 1);
        const plugin::ImageBuffer& shown = harness.panel().previewDestination();
        const plugin::ImageBuffer& source = harness.panel().previewSource();
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown.pixels()[0], source.pixels()[0] * 200 / 255);
        saveScreenshot(harness.parent(), "control-panel");

        PostMessageA(panel, WM_COMMAND, kCmdNoFilter, 0);
        harness.settle();
        GetDlgItemTextA(panel, kPanelTitle, title, sizeof title);
        EXPECT_STREQ(title, "");
        EXPECT_EQ(0, std::memcmp(shown.pixels(), source.pixels(), size_t(shown.rowBytes()) * shown.height()))
            << "the preview shows the picture unfiltered";
        EXPECT_EQ(harness.panel().renders().started.load(), 1) << "no filter renders nothing";
    });
}

TEST(ControlPanel, SlidersAreSpacedEvenlyAndEndWhereTheTemplateEnds) {
    PanelHarness harness{300, 200, gradientPattern};
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        RECT last{0, 202, 144, 10};
        MapDialogRect(panel, &last);
        int previousTop = -1, spacing = -1;
        for (int k = 0; k < 8; ++k) {
            RECT rect;
            GetWindowRect(sliderOf(panel, k), &rect);
            MapWindowPoints(HWND_DESKTOP, panel, reinterpret_cast<POINT*>(&rect), 2);
            EXPECT_EQ(rect.bottom - rect.top, last.bottom);
            if (previousTop >= 0) {
                if (spacing < 0) spacing = rect.top - previousTop;
                EXPECT_EQ(rect.top - previousTop, spacing) << k;
            }
            previousTop = rect.top;
        }
        EXPECT_EQ(previousTop, last.top);
    });
}

TEST(ControlPanel, AClickOnAnInactiveSliderDoesNothing) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        activate(harness);
        ASSERT_TRUE(waitForRenders(harness, 1));
        HWND inactive = sliderOf(panel, 2);
        postMouse(inactive, WM_LBUTTONDOWN, MK_LBUTTON, 100, 5);
        postMouse(inactive, WM_MOUSEMOVE, MK_LBUTTON, 150, 5);
        postMouse(inactive, WM_LBUTTONUP, 0, 150, 5);
        harness.settle();
        EXPECT_EQ(sliderValue(panel, 2), 0);
        EXPECT_EQ(harness.working.controlValue[2], 7) << "the hidden control keeps its value";
        EXPECT_EQ(harness.panel().renders().started.load(), 1);
    });
}

TEST(ControlPanel, ADragChangesTheNumberContinuouslyAndRendersOnceAtTheRelease) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        activate(harness);
        ASSERT_TRUE(waitForRenders(harness, 1));
        HWND slider = sliderOf(panel, 1);
        RECT client;
        GetClientRect(slider, &client);
        postMouse(slider, WM_LBUTTONDOWN, MK_LBUTTON, 0, 5);
        harness.settle();
        EXPECT_EQ(sliderValue(panel, 1), 0) << "the first column";
        int previous = 0;
        for (int x : {client.right / 4, client.right / 2, client.right - 1}) {
            postMouse(slider, WM_MOUSEMOVE, MK_LBUTTON, x, 5);
            harness.settle();
            const int value = sliderValue(panel, 1);
            EXPECT_GT(value, previous) << x;
            EXPECT_EQ(harness.working.controlValue[1], value) << "moves go into the filter";
            previous = value;
            if (x == client.right / 2) {
                saveScreenshot(harness.parent(), "control-panel-drag");
            }
        }
        EXPECT_EQ(previous, 255) << "the last column";
        postMouse(slider, WM_MOUSEMOVE, MK_LBUTTON, client.right + 40, 5);
        harness.settle();
        EXPECT_EQ(sliderValue(panel, 1), 255) << "beyond the end stays at 255";
        postMouse(slider, WM_MOUSEMOVE, MK_LBUTTON, -30, 5);
        harness.settle();
        EXPECT_EQ(sliderValue(panel, 1), 0) << "beyond the start stays at 0";
        EXPECT_EQ(harness.panel().renders().started.load(), 1) << "no render during the drag";
        postMouse(slider, WM_MOUSEMOVE, MK_LBUTTON, client.right / 2, 5);
        postMouse(slider, WM_LBUTTONUP, 0, client.right / 2, 5);
        harness.settle();
        EXPECT_EQ(harness.panel().renders().started.load(), 2);
        EXPECT_TRUE(waitForRenders(harness, 2));
        EXPECT_EQ(harness.working.controlValue[1], (client.right / 2) * 255 / (client.right - 1));
    });
}

TEST(ControlPanel, ResetAfterSeveralRandomizeBringsBackTheValuesAndTheGradient) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    const filters::ControlValues original = harness.working.controlValue;
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        activate(harness);
        bool changed = false;
        for (int i = 0; i < 3; ++i) {
            pressButton(panel, kPanelRandomize);
            harness.settle();
            changed = changed || harness.working.controlValue != original;
            EXPECT_EQ(harness.working.controlValue[2], 7) << "Randomize leaves controls not in use alone";
            EXPECT_EQ(sliderValue(panel, 0), harness.working.controlValue[0]);
        }
        EXPECT_TRUE(changed);
        harness.onUiThread([&] { harness.working.gradientIndex = 33; });
        pressButton(panel, kPanelReset);
        harness.settle();
        EXPECT_EQ(harness.working.controlValue, original);
        EXPECT_EQ(harness.working.gradientIndex, 5);
        for (int k : {0, 1, 3}) EXPECT_EQ(sliderValue(panel, k), original[size_t(k)]);
        const auto commands = harness.commands();
        EXPECT_NE(std::find(commands.begin(), commands.end(), std::pair<int, LPARAM>{kCmdShowGradient, 5}),
                  commands.end())
            << "1092 tells the main dialog the gradient";
        EXPECT_EQ(harness.panel().renders().started.load(), 5);
    });
}

TEST(ControlPanel, WithTwoFiltersSelectedRandomizeAndResetAreDisabled) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        harness.settle();
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, kPanelRandomize)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, kPanelReset)));
        harness.selectedFilters = 2;
        harness.settle();
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, kPanelRandomize)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, kPanelReset)));
        harness.selectedFilters = 0;
        harness.settle();
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(panel, kPanelRandomize)));
        harness.selectedFilters = 1;
        harness.settle();
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(panel, kPanelReset)));
    });
}

TEST(ControlPanel, OfTwoQuickReleasesOnlyTheSecondRenderFinishes) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    harness.working.code = {"0", slowChannel("r"), slowChannel("g"), slowChannel("b"), "a"};
    harness.run([&](HWND) {
        HWND panel = panelOf(harness);
        activate(harness);
        ASSERT_TRUE(waitForRenders(harness, 1));
        ASSERT_EQ(harness.panel().renders().completed.load(), 1);
        HWND slider = sliderOf(panel, 0);
        for (int x : {20, 60}) {
            postMouse(slider, WM_LBUTTONDOWN, MK_LBUTTON, x, 5);
            postMouse(slider, WM_LBUTTONUP, 0, x, 5);
        }
        harness.settle();
        EXPECT_EQ(harness.panel().renders().started.load(), 3);
        ASSERT_TRUE(waitForRenders(harness, 3));
        EXPECT_EQ(harness.panel().renders().completed.load(), 2) << "the first release's render was stopped";
        RECT client;
        GetClientRect(slider, &client);
        EXPECT_EQ(harness.working.controlValue[0], 60 * 255 / (client.right - 1)) << "the newest value rendered";
    });
}

TEST(ControlPanel, ClosingThePanelStopsARunningRender) {
    PanelHarness harness{300, 200, gradientPattern};
    threeControls(harness.working);
    harness.working.code = {"0", slowChannel("r"), slowChannel("g"), slowChannel("b"), "a"};
    harness.run([&](HWND parent) {
        activate(harness);
        EXPECT_EQ(harness.panel().renders().started.load(), 1);
        PostMessageA(parent, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(parent); }));
        EXPECT_EQ(harness.panel().renders().finished.load(), 1) << "stopped before the panel went";
        EXPECT_EQ(harness.panel().renders().completed.load(), 0);
    });
}

}  // namespace
}  // namespace lumen::ui
