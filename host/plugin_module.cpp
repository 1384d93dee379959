#include "plugin_module.h"

namespace lumen::host {

std::unique_ptr<PluginModule> PluginModule::load(const std::string& path, std::string& error) {
    std::unique_ptr<PluginModule> module{new PluginModule};
    if (!module->open(path, error)) return nullptr;
    std::vector<uint8_t> pipl = module->resource("PiPL", kPiplResourceId);
    if (pipl.empty()) {
        error = path + ": no PiPL resource";
        return nullptr;
    }
    auto properties = parsePipl(pipl, error);
    if (!properties) {
        error = path + ": " + error;
        return nullptr;
    }
    module->pipl_ = std::move(*properties);
    std::optional<std::string> entryName = piplEntryName(module->pipl_);
    if (!entryName) {
        error = path + ": the PiPL names no entry point for this architecture";
        return nullptr;
    }
    module->entry_ = reinterpret_cast<hostapi::PluginEntryProc>(module->symbol(*entryName));
    if (!module->entry_) {
        error = path + ": no exported function " + *entryName;
        return nullptr;
    }
    return module;
}

PluginModule::~PluginModule() { close(); }

}  // namespace lumen::host
