#pragma once
// Pictures drawn in code and written as 256-colour Windows bitmap files: the form the dialogs
// load with their system colours mapped (that mapping needs a colour table).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumen::tools {

constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

// Colours the dialogs treat specially, kept exact in every palette.
constexpr uint32_t kMagenta = rgb(255, 0, 255);     // transparent in image lists
constexpr uint32_t kButtonFace = rgb(192, 192, 192);  // mapped to the button-face colour
constexpr uint32_t kButtonShadow = rgb(128, 128, 128);
constexpr uint32_t kButtonLight = rgb(223, 223, 223);

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB, rows from the top

    Picture(int w, int h, uint32_t background) : width(w), height(h), pixels(size_t(w) * h, background) {}
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Points outside the picture are ignored.
    void set(int x, int y, uint32_t colour) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[size_t(y) * width + x] = colour;
    }
    void fillRect(int x, int y, int w, int h, uint32_t colour);
};

uint32_t blend(uint32_t from, uint32_t to, double t);

// An 8-bit bitmap file. A picture of at most 256 colours keeps them all exactly; a richer one is
// reduced by median cut, except the special colours above, which stay exact.
std::vector<uint8_t> encodeBitmapFile(const Picture& picture);

}  // namespace lumen::tools
