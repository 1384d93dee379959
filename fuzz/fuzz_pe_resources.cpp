#include <cstddef>
#include <cstdint>

#include "imaging/pe_resources.h"
#include "imaging/version_info.h"

using namespace lumen::imaging;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (const std::optional<PeResources> resources = PeResources::parse(bytes)) {
        for (const ResourceItem& item : resources->list())
            if (!item.data.empty() && (item.data.data() < data || item.data.data() + item.data.size() > data + size))
                __builtin_trap();
        resources->find(ResourceKey::fromName("PARM"), ResourceKey::fromId(16));
        if (auto version = resources->find(ResourceKey::fromId(16), ResourceKey::fromId(1))) fileVersionText(*version);
    }
    // The same bytes as a version resource on their own.
    fileVersionText(bytes);
    return 0;
}
