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
    std::optional<std::vector<uint8_t>> written = serializeFfx(filter, true);
    if (!written) return 0;
    FilterDefinition again;
    if (!parseFfx(*written, again) || again.title != filter.title || again.code != filter.code ||
        again.presets.size() != filter.presets.size())
        std::abort();
    return 0;
}
