#pragma once
// A contact sheet: labelled pictures laid out in a grid on one image, each scaled down to fit
// its cell, transparency shown over a checkerboard, the label written below it.
#include <optional>
#include <span>
#include <string>

#include "imaging/png_io.h"

namespace lumen::tools {

struct LabelledImage {
    std::string label;
    imaging::RgbaImage image;
};

struct SheetOptions {
    int columns = 0;           // 0: about as many columns as rows
    int maxCellWidth = 256;    // pictures are scaled down, never up, to fit the cell
    int maxCellHeight = 256;
    int labelScale = 1;        // font pixels per screen pixel: 1 to 4
};

// Fails (with the reason) when there is no picture, a picture's pixels do not match its size,
// an option is out of range, or the sheet would be larger than 16384 pixels a side.
std::optional<imaging::RgbaImage> composeContactSheet(std::span<const LabelledImage> images,
                                                      const SheetOptions& options, std::string& error);

}  // namespace lumen::tools
