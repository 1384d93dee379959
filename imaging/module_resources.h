#pragma once
// Resources carried by the binary that holds this code: on Windows the resources of the module
// (found, loaded and locked through the resource API); elsewhere data linked into the binary,
// which that binary hands over once with useEmbeddedResources.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace lumen::imaging {

struct EmbeddedResource {
    const char* type;
    int id;
    const unsigned char* data;
    size_t size;
};

void useEmbeddedResources(std::span<const EmbeddedResource> table);

// The resource of the given type name and integer id; empty when there is none. The bytes stay
// valid for as long as the module is loaded.
std::span<const uint8_t> findModuleResource(std::string_view type, int id);

}  // namespace lumen::imaging
