#include "formula/channel_ranges.h"

#include <algorithm>
#include <iterator>

namespace lumen::formula {

void widenByteRanges(const uint8_t* pixels, size_t pixelCount, ByteRanges& ranges) {
    // Byte lanes over blocks of eight pixels, with plain comparisons on a copied byte: written
    // this way the compiler turns the loop into vector minima and maxima (std::min's references
    // keep it from doing so). Lane k holds byte position k % 4.
    constexpr size_t kLanes = 32;
    uint8_t low[kLanes], high[kLanes];
    std::fill(std::begin(low), std::end(low), uint8_t{255});
    std::fill(std::begin(high), std::end(high), uint8_t{0});
    const size_t bytes = pixelCount * 4;
    size_t at = 0;
    for (; at + kLanes <= bytes; at += kLanes) {
        for (size_t k = 0; k < kLanes; ++k) {
            const uint8_t value = pixels[at + k];
            low[k] = value < low[k] ? value : low[k];
            high[k] = value > high[k] ? value : high[k];
        }
    }
    for (size_t k = 0; at + k < bytes; ++k) {
        const uint8_t value = pixels[at + k];
        low[k] = value < low[k] ? value : low[k];
        high[k] = value > high[k] ? value : high[k];
    }
    for (size_t k = 0; k < kLanes; ++k) {
        ranges.low[k % 4] = std::min(ranges.low[k % 4], low[k]);
        ranges.high[k % 4] = std::max(ranges.high[k % 4], high[k]);
    }
}

}  // namespace lumen::formula
