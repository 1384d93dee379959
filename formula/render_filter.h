#pragma once
// Running a compiled filter over an image: the context set-up every render shares, and the
// reference render loop.
#include <array>
#include <cstdint>
#include <functional>

#include "formula/channel_ranges.h"
#include "formula/compile_filter.h"
#include "formula/pixel_context.h"
#include "formula/render_state.h"
#include "formula/render_threads.h"

namespace lumen::formula {

// Four bytes a pixel, rows from the top without padding; channel z lies at byte channelMap[z].
struct ImageDescription {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    bool hasAlpha = false;
    std::array<int32_t, 4> channelMap{0, 1, 2, 3};
    // The smallest and largest byte at each offset of the pixels, where the caller tracks them
    // already; null: the render finds them.
    const ByteRanges* ranges = nullptr;
};

struct RenderSetUp {
    std::array<int32_t, 8> controls{};
    int32_t gradientIndex = 0;
    std::array<uint8_t, 3> foreground{};
    std::array<uint8_t, 3> background{};
    std::array<const uint8_t*, kTextureMapCount> textureMaps{};  // kMapSide x kMapSide each, or null
    const uint8_t* gradientTable = nullptr;  // kGradientCount x kGradientBytes, or null
    // Threads rendering rows at once; 0: one per core. Filters whose pixels depend on the order
    // they are computed in always render on the calling thread alone.
    int32_t threads = 0;
    // False: the channel sources run pixel by pixel in the compiled form even where they could
    // run over blocks of pixels (the two are compared by tests and benchmarks).
    bool blocks = true;
    // Helper threads kept by a caller that renders again and again; null: the render starts
    // its own and stops them before it returns.
    RenderThreads* keptThreads = nullptr;
};

// Zero-fills the context and sets it up for a render of `source` into `destination` (same
// geometry): geometry, channel minima and maxima, settings, maps, gradients, and the state's
// fresh cells. False (context untouched) when the image is empty, too large to address, or its
// channelMap is not an arrangement of 0..3. With findRanges false and no ranges given, the
// channel minima and maxima are left unknown (hmin 255, hmax 0): a render whose sources never
// ask for them does not read the whole image for them.
bool setUpContext(PixelContext& context, RenderState& state, const ImageDescription& source,
                  const uint8_t* destination, const RenderSetUp& setUp, bool findRanges = true);

// Called on the calling thread for each row in order, before that row starts; answering false
// stops the render before that row (rows already under way on other threads finish). The
// context shows the settings Code0 made (for example gradientByUser).
using RowCallback = std::function<bool(int32_t row, const PixelContext& context)>;

enum class RenderOutcome { kComplete, kStopped, kBadImage, kNotCompiled };

// Evaluates Code0 once, then Code1..Code4 for every pixel, clamping each value to 0..255 and
// storing it at the channel's byte of the destination pixel. Pixels of rows not reached keep
// what the destination held. kNotCompiled: a root is missing or a tree is not whole.
// The channel sources run over blocks of pixels (BlockProgram) or, where that cannot be done,
// pixel by pixel in the compiled form (FastProgram), on setUp.threads threads.
RenderOutcome renderFilter(const FilterProgram& program, const ImageDescription& source, uint8_t* destination,
                           const RenderSetUp& setUp, const RowCallback& onRow = {});

// The same render by walking the syntax trees on the calling thread: the reference the
// compiled form must match byte for byte.
RenderOutcome renderFilterByTreeWalk(const FilterProgram& program, const ImageDescription& source,
                                     uint8_t* destination, const RenderSetUp& setUp, const RowCallback& onRow = {});

}  // namespace lumen::formula
