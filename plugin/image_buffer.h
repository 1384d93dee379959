#pragma once
// Every image of the plug-in: four 8-bit channels a pixel (kind 1) or one (kind 2), rows from
// the top without padding, in locked global memory, with per-channel minima and maxima where
// they are known.
#include <cstdint>

#include "formula/channel_ranges.h"
#include "plugin/global_memory.h"

namespace lumen::plugin {

class ImageBuffer {
public:
    static constexpr int32_t kFourChannels = 1;
    static constexpr int32_t kOneChannel = 2;

    ImageBuffer() = default;
    ImageBuffer(const ImageBuffer&) = delete;
    ImageBuffer& operator=(const ImageBuffer&) = delete;
    virtual ~ImageBuffer();

    // Pixels of the given shape, zeroed unless `fill` says otherwise (for a buffer its user
    // fills whole); keeps the memory when the shape is unchanged. The ranges start known and
    // empty (minima 255, maxima 0), to be widened by trackRow. False (and empty) when the memory
    // cannot be had.
    bool allocate(int32_t width, int32_t height, int32_t kind, bool hasAlpha, GlobalFill fill = GlobalFill::kZeroes);
    void release();
    // Copies the pixels into `other` (same kind): the whole block when the sizes agree, else
    // row by row, `other`'s width of pixels for each of its rows.
    bool copyInto(ImageBuffer& other) const;
    // Takes other's shape, pixels and ranges.
    bool cloneFrom(const ImageBuffer& other);

    // Lowers the minima and raises the maxima by `count` consecutive four-channel pixels;
    // alpha only with alpha.
    void trackRow(const uint8_t* pixels, int32_t count);
    // For pixels filled without tracking: the ranges are unknown until found. Most filters never
    // read them, and a pass over a large image is not free.
    void forgetRanges() { rangesKnown_ = false; }
    // Makes the ranges known, from every pixel of the buffer where they were not.
    void findRanges();
    void setRanges(const formula::ByteRanges& ranges);
    bool rangesKnown() const { return rangesKnown_; }
    // The ranges, meaningful only while known.
    const formula::ByteRanges& ranges() const { return ranges_; }
    // The known ranges, or ones found now over every pixel, without keeping them (for a
    // buffer that other threads may be reading).
    formula::ByteRanges rangesOrFound() const;

    uint8_t* pixels() { return memory_; }
    const uint8_t* pixels() const { return memory_; }
    bool empty() const { return memory_ == nullptr; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t kind() const { return kind_; }
    bool hasAlpha() const { return hasAlpha_; }
    int32_t bytesPerPixel() const { return kind_ == kFourChannels ? 4 : 1; }
    int32_t rowBytes() const { return width_ * bytesPerPixel(); }

private:
    formula::ByteRanges ranges_;
    bool rangesKnown_ = true;
    uint8_t* memory_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t kind_ = 0;
    bool hasAlpha_ = false;
};

}  // namespace lumen::plugin
