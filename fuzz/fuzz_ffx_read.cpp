// .ffx bytes from anywhere: parsed, and when accepted written back and parsed again the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "filters/ffx_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen::filters;
    std::span<const uint8_t> bytes(data, size);
    looksLikeFfx(bytes);
    rewriteFfxTitleAndCategory(bytes, "title", "category");
    FilterDefinition filter;
    if (!parseFfx(bytes, filter)) return 0;
    // No accepted file holds a thumbnail larger than a preview gives, nor more pixels in all.
    int64_t pixels = 0;
    for (const Preset& preset : filter.presets) {
        if (preset.thumbnail.width > lumen::imaging::kMaxThumbnailWidth ||
            preset.thumbnail.height > lumen::imaging::kMaxThumbnailHeight)
            std::abort();
        pixels += int64_t{preset.thumbnail.width} * preset.thumbnail.height;
    }
    if (pixels > kMaxThumbnailPixelsPerFile) std::abort();
    std::optional<std::vector<uint8_t>> written = serializeFfx(filter, true);
    if (!written) return 0;
    FilterDefinition again;
    if (!parseFfx(*written, again) || again.title != filter.title || again.code != filter.code ||
        again.presets.size() != filter.presets.size())
        std::abort();
    return 0;
}
