#include <dlfcn.h>

#include "plugin_module.h"

namespace lumen::host {
namespace {
using ResourceProc = const void* (*)(uint32_t type, int32_t id, uint32_t* size);
}

bool PluginModule::open(const std::string& path, std::string& error) {
    module_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module_) error = dlerror();
    return module_ != nullptr;
}

void* PluginModule::symbol(const std::string& name) const { return dlsym(module_, name.c_str()); }

// Outside Windows a plug-in hands out its resources through PluginResource.
std::vector<uint8_t> PluginModule::resource(const char* type, int id) const {
    auto lookup = reinterpret_cast<ResourceProc>(symbol("PluginResource"));
    if (!lookup) return {};
    uint32_t size = 0;
    const auto* data = static_cast<const uint8_t*>(lookup(hostapi::fourCharCode(
        {type[0], type[1], type[2], type[3], 0}), id, &size));
    return data ? std::vector<uint8_t>(data, data + size) : std::vector<uint8_t>{};
}

void PluginModule::close() {
    if (module_) dlclose(module_);
    module_ = nullptr;
}

}  // namespace lumen::host
