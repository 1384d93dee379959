#include "ui/win32/gradient_bar.h"

#include <windowsx.h>


#include "resources/resource_ids.h"
#include "ui/model/gradient_bar.h"
#include "ui/win32/gdi.h"
#include "ui/win32/gradient_picker.h"
#include "ui/win32/messages.h"
#include "ui/win32/window_state.h"

namespace lumen::ui {
namespace {

struct BarState {
    GradientBarLook look;
    model::GradientBarPress press;
};

bool inside(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return PtInRect(&client, point) != FALSE;
}

void paintWindow(HWND window, HDC target, const BarState& state) {
    RECT client;
    GetClientRect(window, &client);
    MemoryCanvas canvas{target, client.right, client.bottom};
    if (!canvas.valid()) return;
    GradientBarLook look = state.look;
    look.pressed = state.press.pressed();
    paintGradientBar(canvas.dc(), {client.right, client.bottom}, look);
    canvas.copyTo(target);
}

void release(HWND window, BarState& state, LPARAM lParam) {
    const bool opens = state.press.release(inside(window, lParam));
    if (GetCapture() == window) ReleaseCapture();
    InvalidateRect(window, nullptr, FALSE);
    if (!opens) return;
    GradientPicker picker{state.look.table, state.look.count};
    const int chosen = picker.choose(GetAncestor(window, GA_ROOT), state.look.index);
    if (chosen < 0) return;
    state.look.index = chosen;
    InvalidateRect(window, nullptr, FALSE);
    PostMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), 0), chosen);
}

LRESULT handle(HWND window, BarState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto painted = paintWholeClient(window, message, wParam, [&](HDC dc) { paintWindow(window, dc, state); });
    if (painted) return *painted;
    switch (message) {
    case kGradientBarSetTable:
        state.look.count = static_cast<int>(wParam);
        state.look.table = reinterpret_cast<const uint8_t*>(lParam);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case kGradientBarSetIndex:
        state.look.index = static_cast<int>(wParam);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case kGradientBarGetIndex:
        return state.look.index;
    case WM_LBUTTONDOWN:
        state.press.press();
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE: {
        const bool wasPressed = state.press.pressed();
        state.press.move((wParam & MK_LBUTTON) != 0, inside(window, lParam));
        if (wasPressed != state.press.pressed()) InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_LBUTTONUP:
        release(window, state, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: the press ends without a choice.
        if (state.press.tracking() && reinterpret_cast<HWND>(lParam) != window) {
            state.press.release(false);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}


}  // namespace

void paintGradientColumns(HDC dc, const RECT& area, const uint8_t* table, int count, int index) {
    const int width = area.right - area.left;
    const auto columns = model::gradientColumns(table, count, index, width);
    if (columns.empty()) {
        fillRect(dc, area, RGB(255, 255, 255));
        return;
    }
    for (int i = 0; i < width; ++i) {
        const model::Rgb& c = columns[static_cast<size_t>(i)];
        fillRect(dc, {area.left + i, area.top, area.left + i + 1, area.bottom}, RGB(c[0], c[1], c[2]));
    }
}

void paintGradientBar(HDC dc, SIZE size, const GradientBarLook& look) {
    RECT rect{0, 0, size.cx, size.cy};
    frameRect(dc, rect, RGB(0, 0, 0), RGB(0, 0, 0));
    InflateRect(&rect, -1, -1);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (look.pressed)
        frameRect(dc, rect, shadow, shadow);
    else
        frameRect(dc, rect, GetSysColor(COLOR_BTNHIGHLIGHT), shadow);
    InflateRect(&rect, -1, -1);
    if (look.pressed) {
        // The content moves one pixel down and right; the uncovered strip is the frame's colour.
        fillRect(dc, {rect.left, rect.top, rect.right, rect.top + 1}, shadow);
        fillRect(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, shadow);
        const RECT inner = rect;
        OffsetRect(&rect, 1, 1);
        IntersectRect(&rect, &rect, &inner);
    }
    paintGradientColumns(dc, rect, look.table, look.count, look.index);
}

bool registerGradientBarClass(HMODULE module) {
    return registerWindowClass(module, kGradientBarClass, windowWithState<BarState, defaultState<BarState>, handle>,
                               CS_HREDRAW | CS_VREDRAW);
}

void unregisterGradientBarClass(HMODULE module) { UnregisterClassA(kGradientBarClass, module); }

}  // namespace lumen::ui
