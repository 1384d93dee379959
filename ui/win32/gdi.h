#pragma once
// Every GDI object and device context the windows use is held by one of these guards, and a
// memory canvas gives flicker-free painting: draw into it, copy once.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace lumen::ui {

// Brushes, pens, fonts and bitmaps: deleted when the guard ends.
template <class Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

// Image lists and icons the windows made: destroyed when the guard ends.
class ImageList {
public:
    ImageList() = default;
    explicit ImageList(HIMAGELIST list) : list_(list) {}
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    ~ImageList() {
        if (list_) ImageList_Destroy(list_);
    }
    HIMAGELIST get() const { return list_; }
    void reset(HIMAGELIST list) {
        if (list_) ImageList_Destroy(list_);
        list_ = list;
    }

private:
    HIMAGELIST list_ = nullptr;
};

class Icon {
public:
    Icon() = default;
    explicit Icon(HICON icon) : icon_(icon) {}
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    ~Icon() {
        if (icon_) DestroyIcon(icon_);
    }
    HICON get() const { return icon_; }
    void reset(HICON icon) {
        if (icon_) DestroyIcon(icon_);
        icon_ = icon;
    }

private:
    HICON icon_ = nullptr;
};

// Selects an object into a DC and puts the previous one back at the end.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (old_) SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's DC (GetDC / ReleaseDC); null window: the screen.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The painting messages of a control that paints its whole client area itself: the background
// is not erased, and WM_PRINTCLIENT (screen captures) paints what WM_PAINT does. Empty for any
// other message.
template <class Paint>
std::optional<LRESULT> paintWholeClient(HWND window, UINT message, WPARAM wParam, Paint paint) {
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintDc dc{window};
        paint(dc.get());
        return 0;
    }
    case WM_PRINTCLIENT: paint(reinterpret_cast<HDC>(wParam)); return 0;
    default: return std::nullopt;
    }
}

// A memory DC with a 32-bit top-down DIB of the given size; pixels() reads it back. The end
// restores the DC's first bitmap before the DC and then the bitmap are deleted.
class MemoryCanvas {
public:
    MemoryCanvas(HDC compatibleWith, int width, int height);
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
    ~MemoryCanvas();

    bool valid() const { return bits_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The colour at (x, y); CLR_INVALID outside the canvas.
    COLORREF pixel(int x, int y) const;
    void copyTo(HDC target, int x = 0, int y = 0) const;

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    const uint32_t* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Solid rectangles, the only filling the widgets need.
void fillRect(HDC dc, const RECT& rect, COLORREF colour);
// One-pixel frame: `topLeft` on the top and left edges, `bottomRight` on the others.
void frameRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);

}  // namespace lumen::ui
