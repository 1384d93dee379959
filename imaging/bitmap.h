#pragma once
// 24-bit device-independent bitmaps: the pixel layout GDI takes from a BITMAPINFOHEADER with
// 24 bits a pixel (blue, green, red; rows padded to four bytes). Rows are kept top-down, so a
// header handed to GDI carries a negative height.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lumen::imaging {

// Refuses bitmaps of more pixels than this, so a bad size cannot demand gigabytes.
constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bits;  // height rows of stride() bytes, top row first, B G R a pixel

    static size_t strideFor(int width) { return (size_t(width) * 3 + 3) & ~size_t{3}; }
    // A black bitmap; nothing when a side is not positive or the size is past the cap.
    static std::optional<Bitmap> create(int width, int height);

    size_t stride() const { return strideFor(width); }
    // Positive sides and exactly the bytes they need.
    bool valid() const {
        return width > 0 && height > 0 && int64_t{width} * height <= kMaxBitmapPixels &&
               bits.size() == strideFor(width) * size_t(height);
    }
    uint8_t* row(int y) { return bits.data() + size_t(y) * stride(); }
    const uint8_t* row(int y) const { return bits.data() + size_t(y) * stride(); }
};

// Where red, green, blue and alpha lie in a four-byte pixel: {0,1,2,3} for RGBA rows, {2,1,0,3}
// for hosts that deliver blue first.
struct ChannelOffsets {
    uint8_t red = 0;
    uint8_t green = 1;
    uint8_t blue = 2;
    uint8_t alpha = 3;
};
constexpr ChannelOffsets kRgbaOffsets{0, 1, 2, 3};
constexpr ChannelOffsets kBgraOffsets{2, 1, 0, 3};

// From rows of four-byte pixels, `rowBytes` apart (at least width * 4). Alpha is dropped.
// Nothing when the rows do not fit in `pixels` or the offsets leave the pixel.
std::optional<Bitmap> bitmapFromRows(std::span<const uint8_t> pixels, int width, int height,
                                     size_t rowBytes, ChannelOffsets offsets);
// Into rows of four-byte pixels of the bitmap's size; alpha becomes 255. False (nothing written)
// when the rows do not fit in `pixels`.
bool bitmapToRows(const Bitmap& bitmap, std::span<uint8_t> pixels, size_t rowBytes,
                  ChannelOffsets offsets);

// Area-average resampling to any positive size (shrinking and enlarging).
std::optional<Bitmap> resample(const Bitmap& source, int width, int height);

struct BitmapSize {
    int width = 0;
    int height = 0;
    bool operator==(const BitmapSize&) const = default;
};

// The largest preset thumbnail a preview can give: the rule keeps the height at 83 or less, and
// no preview area is wider than this.
constexpr int kMaxThumbnailHeight = 83;
constexpr int kMaxThumbnailWidth = 1024;

// Size of a preset thumbnail of a preview of the given size: a preview of 84 rows or more is
// divided by the smallest divisor of 1.00, 1.01, 1.02 ... that brings its height to 83 or less;
// a lower one keeps its size. The width never falls below 1 nor passes kMaxThumbnailWidth.
BitmapSize thumbnailSize(int width, int height);
std::optional<Bitmap> makeThumbnail(const Bitmap& preview);

}  // namespace lumen::imaging
