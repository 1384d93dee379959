#include <windows.h>

#include <atomic>
#include <thread>

#include "about_watch.h"
#include "imaging/png_io.h"

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
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        SelectObject(memory, old);
        imaging::RgbaImage image{width, height, false, std::vector<uint8_t>(size_t(width) * height * 4)};
        const auto* bgra = static_cast<const uint8_t*>(bits);
        for (size_t i = 0; i < image.pixels.size(); i += 4) {
            image.pixels[i] = bgra[i + 2];
            image.pixels[i + 1] = bgra[i + 1];
            image.pixels[i + 2] = bgra[i];
            image.pixels[i + 3] = 255;
        }
        std::string error;
        imaging::writePng(path, image, error);
    }
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
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
