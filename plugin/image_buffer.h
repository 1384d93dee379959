#pragma once
// Every image of the plug-in: four 8-bit channels a pixel (kind 1) or one (kind 2), rows from
// the top without padding, in locked global memory, with per-channel minima and maxima.
#include <cstdint>

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
    // fills whole); keeps the memory when the shape is unchanged. Resets the minima to 255 and
    // the maxima to 0. False (and empty) when the memory cannot be had.
    bool allocate(int32_t width, int32_t height, int32_t kind, bool hasAlpha, GlobalFill fill = GlobalFill::kZeroes);
    void release();
    // Copies the pixels into `other` (same kind): the whole block when the sizes agree, else
    // row by row, `other`'s width of pixels for each of its rows.
    bool copyInto(ImageBuffer& other) const;
    // Takes other's shape, pixels, minima and maxima.
    bool cloneFrom(const ImageBuffer& other);

    // Lowers the minima and raises the maxima by `count` consecutive four-channel pixels;
    // alpha only with alpha.
    void trackRow(const uint8_t* pixels, int32_t count);

    uint8_t* pixels() { return memory_; }
    const uint8_t* pixels() const { return memory_; }
    bool empty() const { return memory_ == nullptr; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    int32_t kind() const { return kind_; }
    bool hasAlpha() const { return hasAlpha_; }
    int32_t bytesPerPixel() const { return kind_ == kFourChannels ? 4 : 1; }
    int32_t rowBytes() const { return width_ * bytesPerPixel(); }

    int32_t channelMinimum[4] = {255, 255, 255, 255};
    int32_t channelMaximum[4] = {0, 0, 0, 0};

private:
    uint8_t* memory_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t kind_ = 0;
    bool hasAlpha_ = false;
};

}  // namespace lumen::plugin
