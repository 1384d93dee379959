#include "module_resources.h"

#include <strings.h>

#include <string>

namespace lumen::imaging {
namespace {
// Set once when the binary that carries the data initialises, before any lookup.
std::span<const EmbeddedResource> embeddedTable;
}  // namespace

void useEmbeddedResources(std::span<const EmbeddedResource> table) { embeddedTable = table; }

std::span<const uint8_t> findModuleResource(std::string_view type, int id) {
    for (const EmbeddedResource& entry : embeddedTable) {
        // Resource type names compare without regard to case, as on Windows.
        if (entry.id == id && type.size() == std::char_traits<char>::length(entry.type) &&
            strncasecmp(entry.type, type.data(), type.size()) == 0)
            return {entry.data, entry.size};
    }
    return {};
}

}  // namespace lumen::imaging
