#include <windows.h>

#include <atomic>
#include <thread>

#include "about_watch.h"
#include "imaging/screen_capture.h"

namespace lumen::host {
namespace {

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findVisibleWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == search->process && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND visibleWindowOfThisProcess() {
    Search search{GetCurrentProcessId(), nullptr};
    EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void saveWindowImage(HWND window, const std::string& path) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return;
    auto image = imaging::captureScreenArea(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    std::string error;
    if (image) imaging::writePng(path, *image, error);
}

}  // namespace

struct AboutWatch::State {
    std::thread watcher;
    std::atomic<bool> stop{false};
    std::atomic<bool> seen{false};
    std::atomic<intptr_t> owner{0};
};

AboutWatch::AboutWatch(const std::string& screenshotPath, int closeAfterMs) : state_(std::make_unique<State>()) {
    if (closeAfterMs < 0) return;
    State* state = state_.get();
    state->watcher = std::thread([state, screenshotPath, closeAfterMs] {
        const DWORD start = GetTickCount();
        HWND window = nullptr;
        while (!state->stop && GetTickCount() - start < DWORD(closeAfterMs) + 10000) {
            if (!window) window = visibleWindowOfThisProcess();
            if (window && GetTickCount() - start >= DWORD(closeAfterMs)) {
                if (!screenshotPath.empty()) saveWindowImage(window, screenshotPath);
                state->owner = reinterpret_cast<intptr_t>(GetWindow(window, GW_OWNER));
                state->seen = true;
                PostMessageA(window, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(50);
        }
    });
}

AboutWatch::~AboutWatch() { finish(); }

bool AboutWatch::finish() {
    state_->stop = true;
    if (state_->watcher.joinable()) state_->watcher.join();
    return state_->seen;
}

intptr_t AboutWatch::owner() const { return state_->owner; }

}  // namespace lumen::host
