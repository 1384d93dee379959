#include "ui/win32/gdi.h"

namespace lumen::ui {

MemoryCanvas::MemoryCanvas(HDC compatibleWith, int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) return;
    dc_ = CreateCompatibleDC(compatibleWith);
    if (!dc_) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits) return;
    oldBitmap_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<const uint32_t*>(bits);
}

MemoryCanvas::~MemoryCanvas() {
    if (dc_ && oldBitmap_) SelectObject(dc_, oldBitmap_);
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
}

COLORREF MemoryCanvas::pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    const uint32_t bgra = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

void MemoryCanvas::copyTo(HDC target, int x, int y) const {
    if (valid()) BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

void fillRect(HDC dc, const RECT& rect, COLORREF colour) {
    Brush brush{CreateSolidBrush(colour)};
    FillRect(dc, &rect, brush.get());
}

void frameRect(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    fillRect(dc, {rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
    fillRect(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
    fillRect(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    fillRect(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
}

}  // namespace lumen::ui
