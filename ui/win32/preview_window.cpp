#include "ui/win32/preview_window.h"

#include <vector>

#include "plugin/host_drawing.h"
#include "resources/resource_ids.h"
#include "ui/model/preview_model.h"
#include "ui/win32/gdi.h"
#include "ui/win32/messages.h"
#include "ui/win32/module.h"
#include "ui/win32/window_state.h"

namespace lumen::ui {
namespace {

constexpr const char* kPreviewClass = "WndPreview";
constexpr const char* kPopupClass = "WndPreviewPopup";
constexpr UINT_PTR kPopupTimer = 1;
constexpr UINT kPopupTimerMs = 100;

// ---- The popup ----

struct PopupState {
    HBITMAP picture = nullptr;  // owned from creation on
    SIZE size{};
};

void paintPopup(HWND window, HDC target, const PopupState& state) {
    RECT client;
    GetClientRect(window, &client);
    HDC source = CreateCompatibleDC(target);
    if (!source) return;
    {
        Selection picture{source, state.picture};
        SetStretchBltMode(target, COLORONCOLOR);
        StretchBlt(target, 0, 0, client.right, client.bottom, source, 0, 0, state.size.cx, state.size.cy, SRCCOPY);
    }
    DeleteDC(source);
}

LRESULT handlePopup(HWND window, PopupState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, kPopupTimer, kPopupTimerMs, nullptr);
        return 0;
    case WM_TIMER: {
        if (wParam != kPopupTimer) return 0;
        POINT cursor;
        RECT rect;
        GetCursorPos(&cursor);
        GetWindowRect(window, &rect);
        if (!PtInRect(&rect, cursor)) {
            KillTimer(window, kPopupTimer);
            DestroyWindow(window);
        }
        return 0;
    }
    case WM_LBUTTONUP:
        DestroyWindow(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PaintDc paint{window};
        paintPopup(window, paint.get(), state);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window, kPopupTimer);
        if (state.picture) DeleteObject(state.picture);
        state.picture = nullptr;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The preview's client area as the screen shows it.
HBITMAP grabClient(HWND window, SIZE size) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    WindowDc screen{nullptr};
    HBITMAP picture = CreateCompatibleBitmap(screen.get(), size.cx, size.cy);
    HDC memory = picture ? CreateCompatibleDC(screen.get()) : nullptr;
    if (!memory) {
        if (picture) DeleteObject(picture);
        return nullptr;
    }
    {
        Selection chosen{memory, picture};
        BitBlt(memory, 0, 0, size.cx, size.cy, screen.get(), origin.x, origin.y, SRCCOPY);
    }
    DeleteDC(memory);
    return picture;
}

void openPopup(HWND preview) {
    RECT client;
    GetClientRect(preview, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    PopupState state{grabClient(preview, {client.right, client.bottom}), {client.right, client.bottom}};
    if (!state.picture) return;
    POINT origin{0, 0};
    ClientToScreen(preview, &origin);
    const Rect placed = popupRect({origin.x, origin.y, client.right, client.bottom},
                                  {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    HWND popup = CreateWindowExA(WS_EX_TOOLWINDOW, kPopupClass, kPopupClass, WS_POPUP | WS_VISIBLE | WS_BORDER,
                                 placed.left, placed.top, placed.width, placed.height, GetAncestor(preview, GA_ROOT),
                                 nullptr, pluginModule(), &state);
    // A popup's id would be taken for a menu handle: it goes by its name alone.
    if (!popup) DeleteObject(state.picture);
}

// ---- The preview ----

void paintWindow(HWND window, HDC target, const PreviewLook& look) {
    RECT client;
    GetClientRect(window, &client);
    paintPreview(target, {client.right, client.bottom}, look);
}

LRESULT handlePreview(HWND window, PreviewLook& look, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto painted = paintWholeClient(window, message, wParam, [&](HDC dc) { paintWindow(window, dc, look); });
    if (painted) return *painted;
    switch (message) {
    case kPreviewSetBuffer:
        look.buffer = reinterpret_cast<const plugin::ImageBuffer*>(lParam);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case kPreviewSetHost:
        look.drawDirect = wParam != 0;
        look.record = reinterpret_cast<const hostapi::FilterRecord*>(lParam);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            if (HCURSOR magnifier = LoadCursorA(pluginModule(), MAKEINTRESOURCEA(kMagnifierCursor))) {
                SetCursor(magnifier);
                return TRUE;
            }
        }
        break;
    case WM_LBUTTONUP:
        openPopup(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}


}  // namespace

bool drawWithGdi(const plugin::ImageBuffer& buffer, HDC dc, int x, int y, bool checkerboard) {
    // One scratch area for every preview: all of them paint on the dialog's thread.
    static std::vector<uint8_t> scratch;
    if (buffer.empty() || buffer.kind() != plugin::ImageBuffer::kFourChannels) return false;
    scratch.resize(size_t(buffer.width()) * buffer.height() * 4);
    if (!fillScratch(buffer, checkerboard, scratch)) return false;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), buffer.width(), -buffer.height(), 1, 32, BI_RGB, 0, 4000, 4000, 0, 0};
    return StretchDIBits(dc, x, y, buffer.width(), buffer.height(), 0, 0, buffer.width(), buffer.height(),
                         scratch.data(), &info, DIB_RGB_COLORS, SRCCOPY) > 0;
}

void paintPreview(HDC dc, SIZE size, const PreviewLook& look) {
    MemoryCanvas canvas{dc, size.cx, size.cy};
    if (!canvas.valid()) return;
    fillRect(canvas.dc(), {0, 0, size.cx, size.cy}, RGB(255, 255, 255));
    if (look.buffer && !look.buffer->empty()) {
        const plugin::ImageBuffer& buffer = *look.buffer;
        const Point at = centredOrigin({size.cx, size.cy}, {buffer.width(), buffer.height()});
        const bool host = !look.drawDirect && look.record &&
                          plugin::drawThroughHost(*look.record, buffer, canvas.dc(), at.x, at.y) == hostapi::noErr;
        if (!host) drawWithGdi(buffer, canvas.dc(), at.x, at.y, buffer.hasAlpha());
    }
    canvas.copyTo(dc);
}

HWND createPreviewWindow(HWND parent, const RECT& area, const PreviewLook& look) {
    HWND window = CreateWindowExA(0, kPreviewClass, kPreviewClass, WS_CHILD | WS_VISIBLE, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPreviewWindowId)), pluginModule(),
                                  const_cast<PreviewLook*>(&look));
    if (window) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return window;
}

bool registerPreviewClasses(HMODULE module) {
    return registerWindowClass(module, kPreviewClass,
                               windowWithState<PreviewLook, stateFromCreationParameter<PreviewLook>, handlePreview>) &&
           registerWindowClass(module, kPopupClass,
                               windowWithState<PopupState, stateFromCreationParameter<PopupState>, handlePopup>);
}

void unregisterPreviewClasses(HMODULE module) {
    UnregisterClassA(kPreviewClass, module);
    UnregisterClassA(kPopupClass, module);
}

}  // namespace lumen::ui
