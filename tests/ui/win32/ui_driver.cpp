#include "ui_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "imaging/png_io.h"
#include "imaging/screen_capture.h"

namespace lumen::ui::testing {
namespace {

struct Search {
    int childId;
    HWND found;
};

BOOL CALLBACK findWindowWith(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (IsWindowVisible(window) && GetDlgItem(window, search->childId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findPageWith(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (GetDlgItem(window, search->childId)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectVisible(HWND window, LPARAM context) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

struct ClassSearch {
    const char* className;
    const std::string* caption;
    HWND found;
};

BOOL CALLBACK findWindowOfClass(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ClassSearch*>(context);
    char name[64] = {}, caption[256] = {};
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && std::string(name) == search->className &&
        (!search->caption || *search->caption == caption)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findWindowOfClass(DWORD thread, const char* className, const std::string* caption) {
    ClassSearch search{className, caption, nullptr};
    EnumThreadWindows(thread, findWindowOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findWindowWithChild(DWORD thread, int childId) {
    Search search{childId, nullptr};
    EnumThreadWindows(thread, findWindowWith, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void runDriven(const std::function<void()>& modal, const std::function<void(DWORD)>& drive) {
    const DWORD uiThread = GetCurrentThreadId();
    std::thread driver([&] {
        drive(uiThread);
        // Anything still open is cancelled, innermost first, until the modal loop has ended.
        waitUntil([&] {
            std::vector<HWND> open;
            EnumThreadWindows(uiThread, collectVisible, reinterpret_cast<LPARAM>(&open));
            for (HWND window : open) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            return open.empty();
        });
    });
    modal();
    driver.join();
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > DWORD(timeoutMs)) return false;
        Sleep(10);
    }
    return true;
}

HWND waitForWindowWith(DWORD thread, int childId, int timeoutMs) {
    HWND found = nullptr;
    waitUntil([&] { return (found = findWindowWithChild(thread, childId)) != nullptr; }, timeoutMs);
    return found;
}

bool windowWithExists(DWORD thread, int childId) { return findWindowWithChild(thread, childId) != nullptr; }

HWND pageWith(HWND dialog, int childId) {
    Search search{childId, nullptr};
    EnumChildWindows(dialog, findPageWith, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void selectTab(HWND dialog, int tabsId, int index) {
    HWND tabs = GetDlgItem(dialog, tabsId);
    SendMessageA(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    // TCM_SETCURSEL does not notify; the control would, on a click.
    NMHDR header{tabs, static_cast<UINT_PTR>(tabsId), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(tabsId), reinterpret_cast<LPARAM>(&header));
}

void pressButton(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void pressKey(HWND dialog, UINT key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    HWND target = dialog;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndFocus) target = info.hwndFocus;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void postMouse(HWND window, UINT message, WPARAM buttons, int x, int y) {
    PostMessageA(window, message, buttons, MAKELPARAM(x, y));
}

std::optional<std::string> answerMessageBox(DWORD thread, const std::string& caption, int button) {
    HWND box = nullptr;
    // The message box is a dialog of the system's class with its text in the static 0xFFFF.
    if (!waitUntil([&] { return (box = findWindowOfClass(thread, "#32770", &caption)) && GetDlgItem(box, 0xFFFF); }))
        return std::nullopt;
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
    return std::string(text);
}

HWND waitForMenu(DWORD thread, int timeoutMs) {
    HWND menu = nullptr;
    waitUntil([&] { return (menu = findWindowOfClass(thread, "#32768", nullptr)) != nullptr; }, timeoutMs);
    return menu;
}

void menuKey(HWND menu, UINT key) {
    PostMessageA(menu, WM_KEYDOWN, key, 1);
    PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
}

void menuChar(HWND menu, char mnemonic) { PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(mnemonic), 1); }

void saveScreenshot(HWND window, const std::string& name, HWND overlay) {
    // Without a window manager a newly shown popup may not be on the screen yet, or may sit
    // under its owner: raise it, then take the picture once the screen has stopped changing.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // The dialog's thread paints: a message it answers only after the paint messages before it.
    SendMessageA(window, WM_NULL, 0, 0);
    RECT rect;
    ASSERT_TRUE(GetWindowRect(window, &rect));
    if (overlay) {
        SetWindowPos(overlay, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(overlay, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT popup;
        if (GetWindowRect(overlay, &popup)) UnionRect(&rect, &rect, &popup);
    }
    GdiFlush();
    auto capture = [&] {
        return imaging::captureScreenArea(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    };
    auto image = capture();
    ASSERT_TRUE(image);
    int unchanged = 0;
    for (int attempt = 0; attempt < 40 && unchanged < 3; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        auto next = capture();
        ASSERT_TRUE(next);
        unchanged = next->pixels == image->pixels ? unchanged + 1 : 0;
        image = std::move(next);
    }
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const std::filesystem::path directory = std::filesystem::path(LUMEN_BINARY_DIR) / "artifacts" / "ui";
    std::filesystem::create_directories(directory);
    std::string error;
    EXPECT_TRUE(imaging::writePng((directory / (name + ".png")).string(), *image, error)) << error;
}

}  // namespace lumen::ui::testing
