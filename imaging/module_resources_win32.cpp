#include "module_resources.h"

#include <windows.h>

#include <string>

namespace lumen::imaging {

void useEmbeddedResources(std::span<const EmbeddedResource>) {}

std::span<const uint8_t> findModuleResource(std::string_view type, int id) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&findModuleResource), &module))
        return {};
    const std::string typeName{type};
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), typeName.c_str());
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const uint8_t*>(data), SizeofResource(module, found)};
}

}  // namespace lumen::imaging
