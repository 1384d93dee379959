#include "ui/win32/help_viewer.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "filters/startup.h"
#include "help/help_file.h"
#include "imaging/file_bytes.h"
#include "resources/resource_ids.h"
#include "ui/win32/gdi.h"
#include "ui/win32/help_viewer_page.h"
#include "ui/win32/module.h"
#include "ui/win32/window.h"

namespace lumen::ui {
namespace {

constexpr size_t kMaxHelpFileBytes = size_t{64} << 20;
constexpr int kBarHeight = 30;
constexpr int kButtonWidth = 76;
constexpr int kFindWidth = 160;
constexpr int kGap = 4;

struct Viewer {
    std::string path;
    help::HelpDocument document;
    std::vector<const help::Topic*> history;  // the topic shown last
    Font font;
};

std::vector<HWND> openWindows;
bool classRegistered = false;
// The viewer a window being made takes over in WM_NCCREATE; still set afterwards when no window
// took it.
Viewer* adopting = nullptr;

Viewer* viewerOf(HWND window) { return reinterpret_cast<Viewer*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void show(HWND window, Viewer& viewer, const help::Topic* topic, bool remember) {
    if (remember) viewer.history.push_back(topic);
    SendMessageA(GetDlgItem(window, kHelpPage), kHelpPageShow, reinterpret_cast<WPARAM>(&viewer.document),
                 reinterpret_cast<LPARAM>(topic));
    SetWindowTextA(window, (loadString(kStrHelpTitle) + " - " + topic->title).c_str());
    EnableWindow(GetDlgItem(window, kHelpBackButton), viewer.history.size() > 1);
}

void showContents(HWND window, Viewer& viewer) {
    viewer.history.clear();
    show(window, viewer, &viewer.document.topics.front(), true);
}

void layOutControls(HWND window) {
    const RECT client = Window(window).clientRect();
    int x = kGap;
    for (int id : {kHelpContentsButton, kHelpBackButton}) {
        MoveWindow(GetDlgItem(window, id), x, kGap, kButtonWidth, kBarHeight - 2 * kGap, TRUE);
        x += kButtonWidth + kGap;
    }
    x += 2 * kGap;
    MoveWindow(GetDlgItem(window, kHelpFindText), x, kGap + 1, kFindWidth, kBarHeight - 2 * kGap - 2, TRUE);
    MoveWindow(GetDlgItem(window, kHelpFindButton), x + kFindWidth + kGap, kGap, kButtonWidth, kBarHeight - 2 * kGap,
               TRUE);
    MoveWindow(GetDlgItem(window, kHelpPage), 0, kBarHeight, client.right, std::max<int>(0, client.bottom - kBarHeight),
               TRUE);
}

void createControls(HWND window, Viewer& viewer) {
    HINSTANCE module = pluginModule();
    viewer.font.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif"));
    struct Made {
        const char* windowClass;
        int textId;
        int id;
        DWORD style;
    };
    const Made controls[] = {
        {"Button", kStrHelpContents, kHelpContentsButton, BS_PUSHBUTTON | WS_TABSTOP},
        {"Button", kStrHelpBack, kHelpBackButton, BS_PUSHBUTTON | WS_TABSTOP},
        {"Edit", 0, kHelpFindText, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
        {"Button", kStrHelpFind, kHelpFindButton, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {kHelpPageClass, 0, kHelpPage, WS_VSCROLL},
    };
    for (const Made& made : controls) {
        const std::string text = made.textId ? loadString(made.textId) : std::string();
        HWND control = CreateWindowExA(made.id == kHelpFindText ? WS_EX_CLIENTEDGE : 0, made.windowClass, text.c_str(),
                                       WS_CHILD | WS_VISIBLE | made.style, 0, 0, 10, 10, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(made.id)), module, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(viewer.font.get()), FALSE);
    }
    layOutControls(window);
}

void find(HWND window) {
    std::string text(256, '\0');
    text.resize(size_t(GetDlgItemTextA(window, kHelpFindText, text.data(), int(text.size()))));
    if (!SendMessageA(GetDlgItem(window, kHelpPage), kHelpPageFind, 0, reinterpret_cast<LPARAM>(text.c_str())))
        MessageBeep(MB_OK);
}

LRESULT handle(HWND window, Viewer& viewer, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            createControls(window, viewer);
            showContents(window, viewer);
            return 0;
        case WM_SIZE:
            layOutControls(window);
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kHelpContentsButton: showContents(window, viewer); return 0;
                case kHelpBackButton:
                    if (viewer.history.size() > 1) {
                        viewer.history.pop_back();
                        show(window, viewer, viewer.history.back(), false);
                    }
                    return 0;
                case kHelpFindButton: find(window); return 0;
                case IDCANCEL: DestroyWindow(window); return 0;
            }
            break;
        case kHelpPageOpenLink:
            if (const help::Topic* topic = viewer.document.findTopic(*reinterpret_cast<const std::string*>(lParam)))
                show(window, viewer, topic, true);
            return 0;
        case WM_MOUSEWHEEL:  // the page never has the focus; the wheel scrolls it all the same
            return SendMessageA(GetDlgItem(window, kHelpPage), message, wParam, lParam);
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {4 * kButtonWidth + kFindWidth, 200};
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK viewerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(std::exchange(adopting, nullptr)));
            openWindows.push_back(window);
        }
        Viewer* viewer = viewerOf(window);
        if (message == WM_NCDESTROY) {
            std::erase(openWindows, window);
            delete viewer;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            return DefWindowProcA(window, message, wParam, lParam);
        }
        if (!viewer) return DefWindowProcA(window, message, wParam, lParam);
        return handle(window, *viewer, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

bool registerClasses() {
    if (classRegistered) return true;
    HMODULE module = pluginModule();
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = viewerProcedure;
    windowClass.hInstance = module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kHelpWindowClass;
    classRegistered = registerHelpPageClass(module) &&
                      (RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
    return classRegistered;
}

void reportBroken(HWND owner, const std::string& path) {
    std::string format = loadString(kStrHelpMissing);
    std::string text(format.size() + path.size() + 1, '\0');
    const int length = _snprintf(text.data(), text.size(), format.c_str(), path.c_str());
    text.resize(length > 0 ? size_t(length) : 0);
    MessageBoxA(owner, text.c_str(), loadString(kStrHelpTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool openHelpFile(HWND owner, const std::string& path) {
    for (HWND window : openWindows)
        if (Viewer* viewer = viewerOf(window); viewer && viewer->path == path) {
            showContents(window, *viewer);
            ShowWindow(window, SW_SHOWNORMAL);
            SetForegroundWindow(window);
            return true;
        }
    auto viewer = std::make_unique<Viewer>();
    viewer->path = path;
    const auto bytes = imaging::readFileBytes(path, kMaxHelpFileBytes);
    help::HelpReadResult read = bytes ? help::readHelpFile(*bytes) : help::HelpReadResult{};
    if (!read.document || !registerClasses()) {
        reportBroken(owner, path);
        return false;
    }
    viewer->document = std::move(*read.document);
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(640, work.right - work.left), height = std::min<int>(560, work.bottom - work.top);
    adopting = viewer.release();
    HWND window = CreateWindowExA(0, kHelpWindowClass, loadString(kStrHelpTitle).c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, work.right - width - 16, work.top + 16, width,
                                  height, owner, nullptr, pluginModule(), nullptr);
    delete std::exchange(adopting, nullptr);
    if (!window) {
        reportBroken(owner, path);
        return false;
    }
    ShowWindow(window, SW_SHOWNORMAL);
    return true;
}

bool openHelp(HWND owner, const std::string& fileName) {
    return openHelpFile(owner, filters::directoryOf(filters::moduleFilePath()) + fileName);
}

void releaseHelpWindows() {
    while (!openWindows.empty()) {
        HWND window = openWindows.back();
        if (!DestroyWindow(window)) std::erase(openWindows, window);  // another thread's window
    }
    if (classRegistered) {
        UnregisterClassA(kHelpWindowClass, pluginModule());
        unregisterHelpPageClass(pluginModule());
    }
    classRegistered = false;
}

}  // namespace lumen::ui
