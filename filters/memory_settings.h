#pragma once
// Settings kept in memory only: for tools that must not touch the user's settings, and tests.
#include <map>

#include "filters/settings_store.h"

namespace lumen::filters {

class MemorySettingsStore final : public SettingsStore {
public:
    std::optional<SettingsValue> read(const std::string& name) override {
        auto found = values.find(name);
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    bool write(const std::string& name, const SettingsValue& value) override {
        values[name] = value;
        return true;
    }

    std::map<std::string, SettingsValue> values;
};

}  // namespace lumen::filters
