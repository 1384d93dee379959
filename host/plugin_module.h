#pragma once
// A plug-in binary loaded the way a host loads it: the PiPL names the entry point.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/plugin_resources.h"
#include "plugin/host_api.h"

namespace lumen::host {

class PluginModule {
public:
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string& error);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // A resource of the binary by type name ("PiPL", "AETE") and id; empty when absent.
    std::vector<uint8_t> resource(const char* type, int id) const;
    const std::vector<PiplProperty>& pipl() const { return pipl_; }
    hostapi::PluginEntryProc entry() const { return entry_; }

private:
    PluginModule() = default;

    // Platform parts: open the binary, look up a symbol, read a resource, close.
    bool open(const std::string& path, std::string& error);
    void* symbol(const std::string& name) const;
    void close();

    void* module_ = nullptr;
    std::vector<PiplProperty> pipl_;
    hostapi::PluginEntryProc entry_ = nullptr;
};

constexpr int kPiplResourceId = 16000;

}  // namespace lumen::host
