#include <windows.h>

#include <algorithm>

#include "filters/settings_store.h"

namespace lumen::filters {
namespace {

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// Registry values are limited to what the settings file accepts as well.
constexpr DWORD kMaxRegistryValueSize = 1u << 20;

class RegistrySettingsStore final : public SettingsStore {
public:
    std::optional<SettingsValue> read(const std::string& name) override {
        RegistryKey key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            size > kMaxRegistryValueSize)
            return std::nullopt;
        if (type != REG_SZ && type != REG_BINARY && type != REG_DWORD) return std::nullopt;
        std::vector<uint8_t> data(size);
        if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            return std::nullopt;
        data.resize(std::min<size_t>(size, data.size()));
        if (type == REG_SZ) {
            while (!data.empty() && data.back() == 0) data.pop_back();
            return SettingsValue{SettingsType::String, std::move(data)};
        }
        return SettingsValue{type == REG_DWORD ? SettingsType::Dword : SettingsType::Binary, std::move(data)};
    }

    bool write(const std::string& name, const SettingsValue& value) override {
        RegistryKey key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            key.out(), nullptr) != ERROR_SUCCESS)
            return false;
        std::vector<uint8_t> data = value.data;
        DWORD type = REG_BINARY;
        if (value.type == SettingsType::String) {
            type = REG_SZ;
            data.push_back(0);
        } else if (value.type == SettingsType::Dword) {
            if (data.size() != 4) return false;
            type = REG_DWORD;
        }
        return RegSetValueExA(key.get(), name.c_str(), 0, type, data.data(),
                              static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }
};

}  // namespace

std::unique_ptr<SettingsStore> openUserSettings() {
    return std::make_unique<RegistrySettingsStore>();
}

}  // namespace lumen::filters
