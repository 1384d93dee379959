#include "logo.h"

#include <cmath>
#include <string_view>

#include "bitmap_font.h"

namespace lumen::tools {
namespace {

constexpr uint32_t kGround = rgb(18, 20, 48), kGroundLow = rgb(30, 36, 80);
constexpr uint32_t kEmber = rgb(255, 150, 40), kGlow = rgb(255, 236, 150), kRing = rgb(120, 140, 220);
constexpr uint32_t kInk = rgb(24, 28, 72);

// A glowing lens with a ring round it, centred at (cx, cy).
void drawLens(Picture& picture, double cx, double cy, double radius) {
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const double distance = std::hypot(x - cx, y - cy);
            if (distance < radius) picture.set(x, y, blend(kGlow, kEmber, distance / radius));
            else if (distance < radius + 2) picture.set(x, y, kRing);
        }
    }
}

// Three light bands running from the lens to the right edge, fading as they go: light forged by
// formulas.
void drawBands(Picture& picture, int start, double top, double spacing) {
    for (int x = start; x < picture.width; ++x) {
        const double fade = 1.0 - double(x - start) / (picture.width - start);
        for (int band = 0; band < 3; ++band) {
            const double centre = top + band * spacing + std::sin((x + band * 9) / 7.0) * 1.5;
            for (int y = 0; y < picture.height; ++y) {
                const double distance = std::abs(y - centre);
                if (distance >= 1.4) continue;
                const uint32_t light = blend(kRing, kEmber, band / 2.0);
                picture.set(x, y, blend(picture.at(x, y), light, (1.4 - distance) / 1.4 * fade));
            }
        }
    }
}

void drawText(Picture& picture, int x, int y, std::string_view text, uint32_t colour, int scale) {
    for (size_t n = 0; n < text.size(); ++n) {
        const auto rows = glyphRows(text[n]);
        const int left = x + int(n) * kGlyphAdvance * scale;
        for (int row = 0; row < kGlyphHeight; ++row)
            for (int column = 0; column < kGlyphWidth; ++column)
                if (rows[row] & (0x10 >> column)) picture.fillRect(left + column * scale, y + row * scale, scale, scale, colour);
    }
}

}  // namespace

Picture makeAboutLogo() {
    Picture logo(93, 28, kGround);
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x) logo.set(x, y, blend(kGround, kGroundLow, double(y) / logo.height));
    drawBands(logo, 23, 8, 6);
    drawLens(logo, 13.5, 13.5, 11);
    return logo;
}

// 250 x 22 pixels: 167 x 14 dialog units of the 8-point dialog font at 96 DPI. The word mark
// stands on the button face (mapped to the system's colour when loaded), the lens at its right.
Picture makeMainLogo() {
    Picture logo(250, 22, kButtonFace);
    constexpr std::string_view kWord = "LUMENFORGE";
    const int wordWidth = int(kWord.size()) * kGlyphAdvance * 2 - 2;
    const int wordLeft = logo.width - 26 - wordWidth;
    drawText(logo, wordLeft + 1, 5, kWord, kButtonLight, 2);
    drawText(logo, wordLeft, 4, kWord, kInk, 2);
    for (int x = 0; x < wordLeft - 6; ++x) {
        const double t = double(x) / (wordLeft - 6);
        logo.set(x, 10, blend(kButtonFace, kRing, t));
        logo.set(x, 11, blend(kButtonFace, kEmber, t));
    }
    drawLens(logo, logo.width - 12, 10.5, 7.5);
    return logo;
}

}  // namespace lumen::tools
