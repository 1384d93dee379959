#include "logo.h"

#include <algorithm>
#include <cmath>

#include "imaging/byte_reader.h"

namespace lumen::tools {
namespace {

constexpr int kWidth = 93;
constexpr int kHeight = 28;

struct Colour {
    double r, g, b;
};

Colour blend(Colour a, Colour b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// A glowing lens over a dark ground with three light bands running from it: light forged by
// formulas. Drawn in true colour, then reduced to a 6x7x6 colour cube.
Colour pixelAt(int x, int y) {
    const Colour ground{18, 20, 48}, ember{255, 150, 40}, glow{255, 236, 150}, ring{120, 140, 220};
    Colour colour = blend(ground, Colour{30, 36, 80}, double(y) / kHeight);
    for (int band = 0; band < 3; ++band) {
        double centre = 8 + band * 6 + std::sin((x + band * 9) / 7.0) * 1.5;
        double distance = std::abs(y - centre);
        if (x > 22 && distance < 1.4) {
            double fade = 1.0 - double(x - 22) / (kWidth - 22);
            colour = blend(colour, blend(ring, ember, band / 2.0), std::max(0.0, (1.4 - distance) / 1.4) * fade);
        }
    }
    const double dx = x - 13.5, dy = y - 13.5, radius = std::sqrt(dx * dx + dy * dy);
    if (radius < 11) colour = blend(glow, ember, radius / 11);
    if (radius >= 11 && radius < 13) colour = ring;
    return colour;
}

uint8_t paletteIndex(Colour c) {
    auto level = [](double v, int steps) { return std::clamp(int(std::lround(v / 255.0 * (steps - 1))), 0, steps - 1); };
    return static_cast<uint8_t>(level(c.r, 6) * 42 + level(c.g, 7) * 6 + level(c.b, 6));
}

}  // namespace

std::vector<uint8_t> makeLogoBitmapFile() {
    constexpr int kRowBytes = (kWidth + 3) / 4 * 4;
    constexpr int kPaletteBytes = 256 * 4;
    constexpr int kPixelOffset = 14 + 40 + kPaletteBytes;
    imaging::ByteWriter out;
    out.writeText("BM");
    out.writeU32(kPixelOffset + kRowBytes * kHeight);
    out.writeU32(0);
    out.writeU32(kPixelOffset);
    out.writeU32(40);
    out.writeI32(kWidth);
    out.writeI32(kHeight);  // positive: rows from the bottom
    out.writeU16(1);
    out.writeU16(8);
    out.writeU32(0);
    out.writeU32(kRowBytes * kHeight);
    out.writeU32(2835);
    out.writeU32(2835);
    out.writeU32(256);
    out.writeU32(0);
    for (int i = 0; i < 256; ++i) {
        const int r = i / 42, g = i / 6 % 7, b = i % 6;
        const bool inCube = i < 252;
        out.writeU8(static_cast<uint8_t>(inCube ? b * 51 : 0));
        out.writeU8(static_cast<uint8_t>(inCube ? g * 255 / 6 : 0));
        out.writeU8(static_cast<uint8_t>(inCube ? r * 51 : 0));
        out.writeU8(0);
    }
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kRowBytes; ++x) out.writeU8(x < kWidth ? paletteIndex(pixelAt(x, y)) : 0);
    }
    return out.take();
}

}  // namespace lumen::tools
