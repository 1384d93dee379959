#include "image_buffer.h"

#include <algorithm>
#include <cstring>

#include "formula/channel_ranges.h"
#include "plugin/global_memory.h"

namespace lumen::plugin {
namespace {
// Images past this size are refused: their size would not fit the int32 row arithmetic.
constexpr int64_t kMaxImageBytes = int64_t{1} << 31;
}

ImageBuffer::~ImageBuffer() { release(); }

void ImageBuffer::release() {
    freeLockedGlobal(memory_);
    memory_ = nullptr;
    width_ = height_ = kind_ = 0;
    hasAlpha_ = false;
}

bool ImageBuffer::allocate(int32_t width, int32_t height, int32_t kind, bool hasAlpha, GlobalFill fill) {
    ranges_ = {};
    rangesKnown_ = true;
    if (memory_ && width == width_ && height == height_ && kind == kind_ && hasAlpha == hasAlpha_) return true;
    release();
    if (kind != kFourChannels && kind != kOneChannel) return false;
    const int64_t bytes = int64_t{width} * height * (kind == kFourChannels ? 4 : 1);
    if (width < 0 || height < 0 || bytes > kMaxImageBytes) return false;
    memory_ = static_cast<uint8_t*>(allocateLockedGlobal(static_cast<size_t>(bytes), fill));
    if (!memory_) return false;
    width_ = width;
    height_ = height;
    kind_ = kind;
    hasAlpha_ = hasAlpha;
    return true;
}

bool ImageBuffer::copyInto(ImageBuffer& other) const {
    if (other.kind_ != kind_ || !memory_ || !other.memory_) return false;
    if (other.width_ == width_ && other.height_ == height_) {
        std::memcpy(other.memory_, memory_, size_t(rowBytes()) * height_);
        return true;
    }
    // Rows of the other's width, the source stepping by its own rows: never past either buffer.
    const int32_t rows = std::min(other.height_, height_);
    const size_t bytes = size_t(std::min(other.rowBytes(), rowBytes()));
    for (int32_t y = 0; y < rows; ++y)
        std::memcpy(other.memory_ + size_t(y) * other.rowBytes(), memory_ + size_t(y) * rowBytes(), bytes);
    return true;
}

bool ImageBuffer::cloneFrom(const ImageBuffer& other) {
    if (!allocate(other.width_, other.height_, other.kind_, other.hasAlpha_,
                  other.memory_ ? GlobalFill::kUnset : GlobalFill::kZeroes))
        return false;
    if (other.memory_) std::memcpy(memory_, other.memory_, size_t(rowBytes()) * height_);
    ranges_ = other.ranges_;
    rangesKnown_ = other.rangesKnown_;
    return true;
}

void ImageBuffer::trackRow(const uint8_t* pixels, int32_t count) {
    if (count <= 0) return;
    formula::ByteRanges row;
    formula::widenByteRanges(pixels, static_cast<size_t>(count), row);
    const int channels = hasAlpha_ ? 4 : 3;
    for (int c = 0; c < channels; ++c) {
        ranges_.low[c] = std::min(ranges_.low[c], row.low[c]);
        ranges_.high[c] = std::max(ranges_.high[c], row.high[c]);
    }
}

formula::ByteRanges ImageBuffer::rangesOrFound() const {
    if (rangesKnown_) return ranges_;
    formula::ByteRanges found;
    if (kind_ == kFourChannels && memory_) formula::widenByteRanges(memory_, size_t(width_) * size_t(height_), found);
    if (!hasAlpha_) {
        found.low[3] = 255;
        found.high[3] = 0;
    }
    return found;
}

void ImageBuffer::findRanges() { setRanges(rangesOrFound()); }

void ImageBuffer::setRanges(const formula::ByteRanges& ranges) {
    ranges_ = ranges;
    rangesKnown_ = true;
}

}  // namespace lumen::plugin
