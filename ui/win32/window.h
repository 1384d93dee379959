#pragma once
// A window handle that owns nothing: one-line forwards to the API for the calls the pages make.
#include <windows.h>

#include <string>

namespace lumen::ui {

class Window {
public:
    Window() = default;
    Window(HWND handle) : handle_(handle) {}  // NOLINT: converts like the handle it wraps
    HWND handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    Window item(int id) const { return GetDlgItem(handle_, id); }
    Window parent() const { return GetParent(handle_); }
    int id() const { return GetDlgCtrlID(handle_); }

    void show(bool visible) const { ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE); }
    bool visible() const { return IsWindowVisible(handle_) != FALSE; }
    void enable(bool enabled) const { EnableWindow(handle_, enabled ? TRUE : FALSE); }
    bool enabled() const { return IsWindowEnabled(handle_) != FALSE; }
    void setText(const std::string& text) const { SetWindowTextA(handle_, text.c_str()); }
    std::string text() const {
        std::string text(static_cast<size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    void invalidate() const { InvalidateRect(handle_, nullptr, FALSE); }
    RECT clientRect() const {
        RECT rect{};
        GetClientRect(handle_, &rect);
        return rect;
    }
    // The window's rectangle in the client coordinates of its parent.
    RECT rectInParent() const {
        RECT rect{};
        GetWindowRect(handle_, &rect);
        MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    void move(const RECT& rect, bool repaint = true) const {
        MoveWindow(handle_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint ? TRUE : FALSE);
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(handle_, message, wParam, lParam);
    }
    bool post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return PostMessageA(handle_, message, wParam, lParam) != FALSE;
    }

private:
    HWND handle_ = nullptr;
};

}  // namespace lumen::ui
