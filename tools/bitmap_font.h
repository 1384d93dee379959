#pragma once
// A small built-in 5 x 7 pixel font for the labels of contact sheets: letters, digits and the
// common punctuation; any other character is drawn as a hollow box.
#include <array>
#include <cstdint>
#include <string_view>

#include "imaging/png_io.h"

namespace lumen::tools {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = kGlyphWidth + 1;

// Seven rows, top first; bit 4 is the leftmost column.
std::array<uint8_t, kGlyphHeight> glyphRows(char c);

// Width in pixels of `text` at `scale` (no trailing gap).
int textWidth(std::string_view text, int scale);

// Draws opaque pixels of `rgb` into the image; parts outside the image are clipped.
void drawText(imaging::RgbaImage& image, int x, int y, std::string_view text, std::array<uint8_t, 3> rgb, int scale);

}  // namespace lumen::tools
