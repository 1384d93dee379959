#include <windows.h>

#include "plugin_module.h"

namespace lumen::host {

bool PluginModule::open(const std::string& path, std::string& error) {
    module_ = LoadLibraryA(path.c_str());
    if (!module_) error = path + ": LoadLibrary failed with error " + std::to_string(GetLastError());
    return module_ != nullptr;
}

void* PluginModule::symbol(const std::string& name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), name.c_str()));
}

std::vector<uint8_t> PluginModule::resource(const char* type, int id) const {
    auto module = static_cast<HMODULE>(module_);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    return data ? std::vector<uint8_t>(data, data + SizeofResource(module, found)) : std::vector<uint8_t>{};
}

void PluginModule::close() {
    if (module_) FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
}

}  // namespace lumen::host
