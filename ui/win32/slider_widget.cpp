#include "ui/win32/slider_widget.h"

#include <windowsx.h>

#include <cstdio>
#include <new>

#include "resources/resource_ids.h"
#include "ui/model/slider_model.h"
#include "ui/win32/gdi.h"
#include "ui/win32/messages.h"
#include "ui/win32/window_state.h"

namespace lumen::ui {
namespace {

void paintWindow(HWND window, HDC target, const SliderState& state) {
    RECT client;
    GetClientRect(window, &client);
    MemoryCanvas canvas{target, client.right, client.bottom};
    if (!canvas.valid()) return;
    paintSlider(canvas.dc(), {client.right, client.bottom}, state);
    canvas.copyTo(target);
}

int clientWidth(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.right;
}

void notifyParent(HWND window, int code, int value) {
    PostMessageA(GetParent(window), WM_HSCROLL, MAKEWPARAM(code, value), reinterpret_cast<LPARAM>(window));
}

LRESULT handle(HWND window, SliderState& state, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto painted = paintWholeClient(window, message, wParam, [&](HDC dc) { paintWindow(window, dc, state); });
    if (painted) return *painted;
    switch (message) {
    case kSliderSetValue:
        state.value = static_cast<int>(wParam);
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        return 0;
    case kSliderSetValueAndLabel:
        state.value = static_cast<int>(wParam);
        state.label = lParam ? reinterpret_cast<const char*>(lParam) : "";
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        return 0;
    case kSliderSetActive:
        state.active = wParam != 0;
        if (!state.active && GetCapture() == window) ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
        return 0;
    case kSliderGetValue:
        return state.value;
    case WM_NCHITTEST:
        // A static control would let the mouse through to its parent.
        return HTCLIENT;
    case WM_LBUTTONDOWN:
        if (!state.active) return 0;
        SetCapture(window);
        state.value = sliderValueAt(GET_X_LPARAM(lParam), clientWidth(window));
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        if (!state.active || GetCapture() != window || !(wParam & MK_LBUTTON)) return 0;
        state.value = sliderValueAt(GET_X_LPARAM(lParam), clientWidth(window));
        InvalidateRect(window, nullptr, FALSE);
        notifyParent(window, kSliderThumbTrack, state.value);
        return 0;
    case WM_LBUTTONUP:
        if (!state.active || GetCapture() != window) return 0;
        ReleaseCapture();
        notifyParent(window, kSliderEndScroll, state.value);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Active from creation, as the panel then decides per control.
SliderState* activeSlider(const CREATESTRUCTA&) {
    auto* state = new (std::nothrow) SliderState;
    if (state) state->active = true;
    return state;
}

}  // namespace

void paintSlider(HDC dc, SIZE size, const SliderState& state) {
    fillRect(dc, {0, 0, size.cx, size.cy}, RGB(255, 255, 255));
    if (!state.active) return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    Pen pen{CreatePen(PS_SOLID, 1, face)};
    Brush brush{CreateSolidBrush(face)};
    Selection penChoice{dc, pen.get()};
    Selection brushChoice{dc, brush.get()};
    const auto corners = sliderTriangle(state.value, size.cx, size.cy);
    POINT points[3];
    for (int i = 0; i < 3; ++i) points[i] = {corners[static_cast<size_t>(i)].x, corners[static_cast<size_t>(i)].y};
    Polygon(dc, points, 3);
    const SliderTicks ticks = sliderTicks(size.cx);
    const auto tick = [dc](int x, int bottom) {
        MoveToEx(dc, x, 1, nullptr);
        LineTo(dc, x, bottom);
    };
    tick(ticks.middle, 5);
    tick(ticks.quarter, 3);
    tick(ticks.threeQuarters, 3);

    Selection font{dc, GetStockObject(ANSI_VAR_FONT)};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP);
    TextOutA(dc, 2, 1, state.label.c_str(), static_cast<int>(state.label.size()));
    char number[16];
    const int length = std::snprintf(number, sizeof number, "%d", state.value);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    TextOutA(dc, size.cx - 3, 1, number, length);
    SetTextAlign(dc, oldAlign);
}

bool registerSliderClass(HMODULE module) {
    return registerWindowClass(module, kSliderClass, windowWithState<SliderState, activeSlider, handle>,
                               CS_HREDRAW | CS_VREDRAW);
}

void unregisterSliderClass(HMODULE module) { UnregisterClassA(kSliderClass, module); }

void layOutSliders(Window dialog, const int (&ids)[kSliderCount]) {
    const RECT last = dialog.item(ids[kSliderCount - 1]).rectInParent();
    const auto tops = sliderTops(dialog.item(ids[0]).rectInParent().top, last.top);
    for (int k = 0; k < kSliderCount; ++k) {
        Window slider = dialog.item(ids[k]);
        const int top = tops[static_cast<size_t>(k)];
        slider.move({last.left, top, last.right, top + (last.bottom - last.top)});
        slider.send(kSliderSetActive, FALSE);
    }
}

void showSlider(Window slider, const SliderState& state) {
    slider.send(kSliderSetValueAndLabel, static_cast<WPARAM>(state.value), reinterpret_cast<LPARAM>(state.label.c_str()));
    slider.send(kSliderSetActive, state.active);
}

}  // namespace lumen::ui
