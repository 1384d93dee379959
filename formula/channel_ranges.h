#pragma once
// The smallest and largest byte at each of the four positions of a run of four-byte pixels:
// the channel ranges every render and every pixel exchange track.
#include <array>
#include <cstddef>
#include <cstdint>

namespace lumen::formula {

struct ByteRanges {
    std::array<uint8_t, 4> low{255, 255, 255, 255};
    std::array<uint8_t, 4> high{0, 0, 0, 0};
};

// Widens `ranges` by `pixelCount` pixels.
void widenByteRanges(const uint8_t* pixels, size_t pixelCount, ByteRanges& ranges);

}  // namespace lumen::formula
