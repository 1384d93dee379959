#include "contact_sheet.h"

#include <algorithm>
#include <cmath>

#include "bitmap_font.h"
#include "imaging/bitmap.h"

namespace lumen::tools {
namespace {

constexpr int kMargin = 8;
constexpr int kMaxSheetSide = 16384;
constexpr std::array<uint8_t, 3> kBackground = {38, 40, 46};
constexpr std::array<uint8_t, 3> kLabelColour = {232, 232, 236};

bool wellFormed(const imaging::RgbaImage& image) {
    return image.width > 0 && image.height > 0 && int64_t{image.width} * image.height <= imaging::kMaxPngPixels &&
           image.pixels.size() == size_t(image.width) * size_t(image.height) * 4;
}

// Transparency becomes visible: pixels are laid over a grey checkerboard.
imaging::Bitmap flatten(const imaging::RgbaImage& image) {
    imaging::Bitmap bitmap = *imaging::Bitmap::create(image.width, image.height);
    for (int y = 0; y < image.height; ++y) {
        uint8_t* out = bitmap.row(y);
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* in = &image.pixels[(size_t(y) * image.width + x) * 4];
            const int alpha = image.hasAlpha ? in[3] : 255;
            const int board = ((x / 8 + y / 8) % 2) ? 200 : 150;
            for (int c = 0; c < 3; ++c) out[x * 3 + 2 - c] = uint8_t((in[c] * alpha + board * (255 - alpha) + 127) / 255);
        }
    }
    return bitmap;
}

using imaging::BitmapSize;

// The picture's size scaled down, keeping its shape, to fit the largest cell.
BitmapSize fit(const imaging::RgbaImage& image, const SheetOptions& options) {
    const double scale = std::min({1.0, double(options.maxCellWidth) / image.width,
                                   double(options.maxCellHeight) / image.height});
    return {std::max(1, int(image.width * scale)), std::max(1, int(image.height * scale))};
}

// The label cut to the width available, marked with ".." when cut.
std::string fitLabel(const std::string& label, int width, int scale) {
    if (textWidth(label, scale) <= width) return label;
    std::string cut = label;
    while (!cut.empty() && textWidth(cut + "..", scale) > width) cut.pop_back();
    return cut.empty() ? std::string() : cut + "..";
}

void fill(imaging::RgbaImage& sheet, std::array<uint8_t, 3> rgb) {
    for (size_t i = 0; i < sheet.pixels.size(); i += 4) {
        sheet.pixels[i] = rgb[0];
        sheet.pixels[i + 1] = rgb[1];
        sheet.pixels[i + 2] = rgb[2];
        sheet.pixels[i + 3] = 255;
    }
}

void paste(imaging::RgbaImage& sheet, const imaging::Bitmap& bitmap, int left, int top) {
    for (int y = 0; y < bitmap.height; ++y) {
        const uint8_t* in = bitmap.row(y);
        for (int x = 0; x < bitmap.width; ++x) {
            uint8_t* out = &sheet.pixels[(size_t(top + y) * sheet.width + left + x) * 4];
            out[0] = in[x * 3 + 2];
            out[1] = in[x * 3 + 1];
            out[2] = in[x * 3];
        }
    }
}

}  // namespace

std::optional<imaging::RgbaImage> composeContactSheet(std::span<const LabelledImage> images,
                                                      const SheetOptions& options, std::string& error) {
    if (images.empty()) {
        error = "no pictures for the contact sheet";
        return std::nullopt;
    }
    if (options.columns < 0 || options.maxCellWidth < 1 || options.maxCellHeight < 1 || options.labelScale < 1 ||
        options.labelScale > 4 || options.maxCellWidth > kMaxSheetSide || options.maxCellHeight > kMaxSheetSide) {
        error = "contact sheet options out of range";
        return std::nullopt;
    }
    int cellWidth = 1, cellHeight = 1;
    for (const LabelledImage& item : images) {
        if (!wellFormed(item.image)) {
            error = "picture '" + item.label + "' does not match its size";
            return std::nullopt;
        }
        const BitmapSize fitted = fit(item.image, options);
        cellWidth = std::max(cellWidth, fitted.width);
        cellHeight = std::max(cellHeight, fitted.height);
    }
    const int count = int(images.size());
    const int columns = options.columns > 0 ? std::min(options.columns, count)
                                            : int(std::ceil(std::sqrt(double(count))));
    const int rows = (count + columns - 1) / columns;
    const int labelHeight = kGlyphHeight * options.labelScale + 6;
    const int64_t width = int64_t{columns} * (cellWidth + kMargin) + kMargin;
    const int64_t height = int64_t{rows} * (cellHeight + labelHeight + kMargin) + kMargin;
    if (width > kMaxSheetSide || height > kMaxSheetSide) {
        error = "the contact sheet would be larger than 16384 pixels a side";
        return std::nullopt;
    }
    imaging::RgbaImage sheet;
    sheet.width = int(width);
    sheet.height = int(height);
    sheet.pixels.resize(size_t(width) * size_t(height) * 4);
    fill(sheet, kBackground);

    for (int n = 0; n < count; ++n) {
        const imaging::RgbaImage& image = images[n].image;
        const auto [w, h] = fit(image, options);
        std::optional<imaging::Bitmap> scaled = imaging::resample(flatten(image), w, h);
        if (!scaled) {
            error = "picture '" + images[n].label + "' could not be scaled";
            return std::nullopt;
        }
        const int cellLeft = kMargin + (n % columns) * (cellWidth + kMargin);
        const int cellTop = kMargin + (n / columns) * (cellHeight + labelHeight + kMargin);
        paste(sheet, *scaled, cellLeft + (cellWidth - w) / 2, cellTop + (cellHeight - h) / 2);
        const std::string label = fitLabel(images[n].label, cellWidth, options.labelScale);
        drawText(sheet, cellLeft + (cellWidth - textWidth(label, options.labelScale)) / 2, cellTop + cellHeight + 4,
                 label, kLabelColour, options.labelScale);
    }
    return sheet;
}

}  // namespace lumen::tools
