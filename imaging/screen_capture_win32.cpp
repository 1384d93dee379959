#include "imaging/screen_capture.h"

#include <windows.h>

namespace lumen::imaging {

std::optional<RgbaImage> captureScreenArea(int left, int top, int width, int height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    HDC screen = GetDC(nullptr);
    if (!screen) return std::nullopt;
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = memory ? CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    std::optional<RgbaImage> image;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
        SelectObject(memory, old);
        image = RgbaImage{width, height, false, std::vector<uint8_t>(size_t(width) * height * 4)};
        const auto* bgra = static_cast<const uint8_t*>(bits);
        for (size_t i = 0; i < image->pixels.size(); i += 4) {
            image->pixels[i] = bgra[i + 2];
            image->pixels[i + 1] = bgra[i + 1];
            image->pixels[i + 2] = bgra[i];
            image->pixels[i + 3] = 255;
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

}  // namespace lumen::imaging
