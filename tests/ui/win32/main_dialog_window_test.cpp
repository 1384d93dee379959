// The main dialog as a user meets it: pages behind the tabs, the status line, the gradient bar
// and its picker, Enter and Escape, dragging by the background.
#include "ui/win32/main_dialog_window.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "filters/settings_store.h"
#include "resources/resource_ids.h"
#include "ui/win32/messages.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;

struct Pages {
    HWND navigator, presets, about;
};

struct AboutSearch {
    HWND dialog;
    HWND found;
};

BOOL CALLBACK findAboutPage(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<AboutSearch*>(context);
    if (GetParent(window) == search->dialog && FindWindowExA(window, nullptr, "Static", "About Lumenforge 1.0")) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

Pages pagesOf(HWND dialog) {
    AboutSearch search{dialog, nullptr};
    EnumChildWindows(dialog, findAboutPage, reinterpret_cast<LPARAM>(&search));
    return {pageWith(dialog, kNavCategoryList), pageWith(dialog, kPresetList), search.found};
}

// As the dialog manager places a control: position and size converted each on its own.
RECT dialogUnits(HWND dialog, int x, int y, int w, int h) {
    RECT units{x, y, w, h};
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

RECT rectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

::testing::AssertionResult sameRect(const RECT& a, const RECT& b) {
    if (a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << a.left << "," << a.top << ")-(" << a.right << "," << a.bottom
                                         << ") is not (" << b.left << "," << b.top << ")-(" << b.right << ","
                                         << b.bottom << ")";
}

std::string textOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The modal loop refreshes the status line before each message it takes from its queue.
std::string statusText(HWND dialog, int id) {
    PostMessageA(dialog, WM_NULL, 0, 0);
    SendMessageA(dialog, WM_NULL, 0, 0);
    return textOf(GetDlgItem(dialog, id));
}

plugin::DialogResult runDialog(MainDialogWindow& dialog, const std::function<void(DWORD)>& drive) {
    plugin::DialogResult result = plugin::DialogResult::apply;
    runDriven([&] { result = dialog.runModal(); }, drive);
    return result;
}

TEST(MainDialogWindow, TabsShowTheirPagesAndTheNavigatorComesBackUnchanged) {
    MainDialogWindow dialog{nullptr};
    const plugin::DialogResult result = runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        const Pages pages = pagesOf(window);
        ASSERT_TRUE(pages.navigator && pages.presets && pages.about);
        const RECT pageArea = dialogUnits(window, 8, 22, 244, 228);
        for (HWND page : {pages.navigator, pages.presets, pages.about}) EXPECT_TRUE(sameRect(rectInParent(page), pageArea));
        HWND panel = pageWith(window, kPanelReset);
        ASSERT_TRUE(panel);
        EXPECT_TRUE(sameRect(rectInParent(panel), dialogUnits(window, 256, 22, 144, 228)));
        EXPECT_TRUE(IsWindowVisible(panel));

        EXPECT_TRUE(IsWindowVisible(pages.navigator));
        EXPECT_FALSE(IsWindowVisible(pages.presets));
        EXPECT_FALSE(IsWindowVisible(pages.about));
        HWND categories = GetDlgItem(pages.navigator, kNavCategoryList);
        const LRESULT categoryCount = SendMessageA(categories, LVM_GETITEMCOUNT, 0, 0);
        saveScreenshot(window, "main-dialog-navigator");

        selectTab(window, kMainTabs, 2);
        EXPECT_TRUE(IsWindowVisible(pages.about));
        EXPECT_FALSE(IsWindowVisible(pages.navigator));
        EXPECT_FALSE(IsWindowVisible(pages.presets));
        EXPECT_FALSE(IsWindowEnabled(pages.navigator));
        saveScreenshot(window, "main-dialog-about");

        selectTab(window, kMainTabs, 1);
        EXPECT_TRUE(IsWindowVisible(pages.presets));
        EXPECT_FALSE(IsWindowVisible(pages.about));
        saveScreenshot(window, "main-dialog-presets");

        selectTab(window, kMainTabs, 0);
        EXPECT_TRUE(IsWindowVisible(pages.navigator));
        EXPECT_TRUE(IsWindowEnabled(pages.navigator));
        EXPECT_FALSE(IsWindowVisible(pages.presets));
        EXPECT_FALSE(IsWindowVisible(pages.about));
        EXPECT_EQ(SendMessageA(categories, LVM_GETITEMCOUNT, 0, 0), categoryCount);
        EXPECT_EQ(SendMessageA(GetDlgItem(window, kMainTabs), TCM_GETCURSEL, 0, 0), 0);
        pressButton(window, kMainCancel);
    });
    EXPECT_EQ(result, plugin::DialogResult::cancel);
}

TEST(MainDialogWindow, PresetsCommandSwitchesToThePresetsTab) {
    MainDialogWindow dialog{nullptr};
    runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        const Pages pages = pagesOf(window);
        SendMessageA(window, WM_COMMAND, kCmdShowPresetsPage, 0);
        EXPECT_TRUE(IsWindowVisible(pages.presets));
        EXPECT_FALSE(IsWindowVisible(pages.navigator));
        EXPECT_EQ(SendMessageA(GetDlgItem(window, kMainTabs), TCM_GETCURSEL, 0, 0), 1);
    });
}

TEST(MainDialogWindow, BackgroundDragsTheWindowAndControlsDoNot) {
    MainDialogWindow dialog{nullptr};
    runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        POINT background{2, 2};
        ClientToScreen(window, &background);
        EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(background.x, background.y)), HTCAPTION);
        RECT apply;
        GetWindowRect(GetDlgItem(window, kMainApply), &apply);
        EXPECT_EQ(WindowFromPoint({apply.left + 3, apply.top + 3}), GetDlgItem(window, kMainApply));
    });
}

class TemporaryDatabase {
public:
    explicit TemporaryDatabase(const std::string& name) {
        root_ = std::filesystem::temp_directory_path() / ("lumen-ui-" + std::to_string(GetCurrentProcessId()));
        path_ = root_ / name;
        std::filesystem::create_directories(path_);
        settings_ = filters::openUserSettings();
        previous_ = settings_->read(filters::kDatabasePathValue);
        filters::writeStringSetting(*settings_, filters::kDatabasePathValue, path() + "\\");
    }
    ~TemporaryDatabase() {
        if (previous_)
            settings_->write(filters::kDatabasePathValue, *previous_);
        else
            filters::writeStringSetting(*settings_, filters::kDatabasePathValue, "");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    std::string path() const { return path_.string(); }

private:
    std::filesystem::path root_, path_;
    std::unique_ptr<filters::SettingsStore> settings_;
    std::optional<filters::SettingsValue> previous_;
};

TEST(MainDialogWindow, StatusLineNamesTheOpenedDatabaseAndCountsItsEntries) {
    TemporaryDatabase temporary{"Art.db.old"};
    size_t entries = 0;
    {
        filters::FilterDatabase database{filters::nativeFileSystem()};
        ASSERT_TRUE(database.open(temporary.path()).listed);
        filters::FilterDefinition working;
        working.code = {"0", "r", "g", "b", "a"};
        ASSERT_TRUE(database.newFilter(working, "Blur", "Soft"));
        ASSERT_TRUE(database.newFilter(working, "Blur", "Hard"));
        entries = database.entries().size();
    }
    {
        // Opening drops category placeholders; the dialog counts what an opened database holds.
        filters::FilterDatabase reopened{filters::nativeFileSystem()};
        ASSERT_TRUE(reopened.open(temporary.path()).listed);
        entries = reopened.entries().size();
    }
    ASSERT_GE(entries, 2u);
    MainDialogWindow dialog{nullptr};
    runDialog(dialog, [&](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        EXPECT_TRUE(waitUntil([&] { return statusText(window, kMainDatabaseName) == "Art"; }))
            << statusText(window, kMainDatabaseName);
        EXPECT_EQ(statusText(window, kMainFilterCount), std::to_string(entries));
        pressButton(window, kMainCancel);
    });
    EXPECT_EQ(dialog.database().entries().size(), entries);
}

TEST(MainDialogWindow, EscapeCancelsAndEnterApplies) {
    {
        MainDialogWindow dialog{nullptr};
        EXPECT_EQ(runDialog(dialog,
                            [](DWORD ui) {
                                HWND window = waitForWindowWith(ui, kMainTabs);
                                ASSERT_TRUE(window);
                                pressKey(window, VK_ESCAPE);
                            }),
                  plugin::DialogResult::cancel);
    }
    {
        MainDialogWindow dialog{nullptr};
        EXPECT_EQ(runDialog(dialog,
                            [](DWORD ui) {
                                HWND window = waitForWindowWith(ui, kMainTabs);
                                ASSERT_TRUE(window);
                                HWND categories = GetDlgItem(pagesOf(window).navigator, kNavCategoryList);
                                PostMessageA(categories, WM_KEYDOWN, VK_RETURN, 1);
                            }),
                  plugin::DialogResult::apply);
    }
    {
        MainDialogWindow dialog{nullptr};
        EXPECT_EQ(runDialog(dialog,
                            [](DWORD ui) {
                                HWND window = waitForWindowWith(ui, kMainTabs);
                                ASSERT_TRUE(window);
                                selectTab(window, kMainTabs, 2);
                                pressKey(window, VK_RETURN);
                            }),
                  plugin::DialogResult::apply);
    }
}

// The bar's own press: sent, so the driver knows it was handled (and that no picker stays).
bool sendMouse(HWND bar, UINT message, WPARAM buttons, int x, int y) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(bar, message, buttons, MAKELPARAM(x, y), SMTO_NORMAL, 2000, &ignored) != 0;
}

HWND showGradientBar(HWND window) {
    PostMessageA(window, WM_COMMAND, kCmdGradientBarVisible, 1);
    HWND bar = GetDlgItem(window, kMainGradientBar);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    return bar;
}

int barIndex(HWND bar) { return static_cast<int>(SendMessageA(bar, kGradientBarGetIndex, 0, 0)); }

plugin::CurrentFilter filterWithGradient(int index) {
    plugin::CurrentFilter filter;
    filter.gradientIndex = index;
    return filter;
}

TEST(MainDialogWindow, ReleaseOutsideTheGradientBarOpensNoPicker) {
    MainDialogWindow dialog{nullptr};
    dialog.runner().setFilter(filterWithGradient(3));
    runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        HWND bar = showGradientBar(window);
        EXPECT_TRUE(sendMouse(bar, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5));
        EXPECT_TRUE(sendMouse(bar, WM_MOUSEMOVE, MK_LBUTTON, -30, 5));
        EXPECT_TRUE(sendMouse(bar, WM_LBUTTONUP, 0, -30, 5)) << "a picker holds the release";
        EXPECT_FALSE(windowWithExists(ui, kPickerList));
        EXPECT_EQ(barIndex(bar), 3);
        pressButton(window, kMainCancel);
    });
    EXPECT_EQ(dialog.runner().filter().gradientIndex, 3);
}

TEST(MainDialogWindow, CancellingThePickerChangesNothing) {
    MainDialogWindow dialog{nullptr};
    dialog.runner().setFilter(filterWithGradient(3));
    runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        HWND bar = showGradientBar(window);
        saveScreenshot(window, "main-dialog-gradient-bar");
        postMouse(bar, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
        postMouse(bar, WM_LBUTTONUP, 0, 6, 5);
        HWND picker = waitForWindowWith(ui, kPickerList);
        ASSERT_TRUE(picker);
        EXPECT_EQ(SendMessageA(GetDlgItem(picker, kPickerList), LB_GETCURSEL, 0, 0), 3);
        EXPECT_EQ(SendMessageA(GetDlgItem(picker, kPickerList), LB_GETCOUNT, 0, 0), 100);
        saveScreenshot(picker, "gradient-picker");
        pressButton(picker, IDCANCEL);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(picker); }));
        // Answered once the release has been handled to its end, so a posted choice is queued.
        EXPECT_EQ(barIndex(bar), 3);
        pressButton(window, kMainCancel);
    });
    EXPECT_EQ(dialog.runner().filter().gradientIndex, 3);
}

TEST(MainDialogWindow, DoubleClickInThePickerChoosesTheGradient) {
    MainDialogWindow dialog{nullptr};
    dialog.runner().setFilter(filterWithGradient(3));
    runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        HWND bar = showGradientBar(window);
        postMouse(bar, WM_LBUTTONDOWN, MK_LBUTTON, 5, 5);
        postMouse(bar, WM_LBUTTONUP, 0, 6, 5);
        HWND picker = waitForWindowWith(ui, kPickerList);
        ASSERT_TRUE(picker);
        HWND list = GetDlgItem(picker, kPickerList);
        SendMessageA(list, LB_SETCURSEL, 42, 0);
        PostMessageA(picker, WM_COMMAND, MAKEWPARAM(kPickerList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(picker); }));
        EXPECT_EQ(barIndex(bar), 42);
        pressButton(window, kMainApply);
    });
    EXPECT_EQ(dialog.runner().filter().gradientIndex, 42);
}

TEST(MainDialogWindow, ShowGradientCommandMovesTheBar) {
    MainDialogWindow dialog{nullptr};
    runDialog(dialog, [](DWORD ui) {
        HWND window = waitForWindowWith(ui, kMainTabs);
        ASSERT_TRUE(window);
        HWND bar = GetDlgItem(window, kMainGradientBar);
        EXPECT_FALSE(IsWindowVisible(bar));
        SendMessageA(window, WM_COMMAND, kCmdShowGradient, 17);
        EXPECT_EQ(barIndex(bar), 17);
        SendMessageA(window, WM_COMMAND, kCmdGradientBarVisible, 1);
        EXPECT_TRUE(IsWindowVisible(bar));
        SendMessageA(window, WM_COMMAND, kCmdGradientBarVisible, 0);
        EXPECT_FALSE(IsWindowVisible(bar));
    });
}

}  // namespace
}  // namespace lumen::ui

namespace lumen::ui {
namespace {

// The layout of every template assumes 8-point "MS Sans Serif" at 96 DPI (6 x 13 base units) and
// captions in Arial or a font of Arial's metrics.
TEST(DialogFonts, TemplatesAndCaptionsGetTheirFonts) {
    MainDialogWindow dialog{nullptr};
    runDriven([&] { dialog.runModal(); },
              [](DWORD ui) {
                  HWND window = waitForWindowWith(ui, kMainTabs);
                  ASSERT_TRUE(window);
                  RECT units{0, 0, 4, 8};
                  MapDialogRect(window, &units);
                  EXPECT_EQ(units.right, 6);
                  EXPECT_EQ(units.bottom, 13);
                  pressButton(window, kMainCancel);
              });
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
    HFONT arial = CreateFontA(-12, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    HGDIOBJ old = SelectObject(screen, arial);
    char family[64] = {};
    std::vector<char> metrics(GetOutlineTextMetricsA(screen, 0, nullptr));
    ASSERT_FALSE(metrics.empty()) << "a TrueType font answers";
    auto* outline = reinterpret_cast<OUTLINETEXTMETRICA*>(metrics.data());
    GetOutlineTextMetricsA(screen, static_cast<UINT>(metrics.size()), outline);
    snprintf(family, sizeof family, "%s", metrics.data() + reinterpret_cast<uintptr_t>(outline->otmpFamilyName));
    EXPECT_TRUE(std::string(family) == "Arial" || std::string(family) == "Liberation Sans") << family;
    SIZE extent{};
    GetTextExtentPoint32A(screen, "Add...", 6, &extent);
    // Arial Bold's advance widths at 12 pixels: A 8.67, d 7.33, . 3.33.
    EXPECT_NEAR(extent.cx, 33, 1);
    SelectObject(screen, old);
    DeleteObject(arial);
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace lumen::ui
