#pragma once
// The user's settings kept between runs: seven named values with registry types (a registry
// key on Windows, a per-user file elsewhere), and typed access with their defaults.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumen::filters {

// The registry's own type numbers, which the settings file keeps too.
enum class SettingsType : uint32_t { String = 1, Binary = 3, Dword = 4 };

struct SettingsValue {
    SettingsType type = SettingsType::String;
    std::vector<uint8_t> data;  // a string without its terminator; a dword as four bytes
    bool operator==(const SettingsValue&) const = default;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<SettingsValue> read(const std::string& name) = 0;
    virtual bool write(const std::string& name, const SettingsValue& value) = 0;
};

// The registry key on Windows; the settings file under the user's configuration directory
// elsewhere.
std::unique_ptr<SettingsStore> openUserSettings();

inline constexpr const char* kRegistryKey = "Software\\Korvath Software GmbH\\LUMENFORGE\\Settings";
inline constexpr const char* kDatabasePathValue = "DatabasePath";
inline constexpr const char* kDatabaseListValue = "DatabaseList";
inline constexpr const char* kRecentImportPathValue = "RecentImportPath";
inline constexpr const char* kRecentImportFilterValue = "RecentImportFilter";
inline constexpr const char* kRecentEditorImportPathValue = "RecentEditorImportPath";
inline constexpr const char* kEditorDefAuthorValue = "EditorDefAuthor";
inline constexpr const char* kEditorDefCopyrightValue = "EditorDefCopyright";
inline constexpr const char* kDefaultDatabaseName = "Korvath Filters.db";

// A value of another type than asked for counts as missing and gives the default.
std::string readStringSetting(SettingsStore& store, const std::string& name,
                              const std::string& fallback = {});
bool writeStringSetting(SettingsStore& store, const std::string& name, const std::string& value);
uint32_t readDwordSetting(SettingsStore& store, const std::string& name, uint32_t fallback = 0);
bool writeDwordSetting(SettingsStore& store, const std::string& name, uint32_t value);

// The recently used databases, oldest first, in their binary form.
std::vector<std::string> readDatabaseList(SettingsStore& store);
bool writeDatabaseList(SettingsStore& store, const std::vector<std::string>& names);

std::vector<uint8_t> encodeDatabaseList(const std::vector<std::string>& names);
// Nothing for data that ends early or holds more names than it has bytes for.
std::optional<std::vector<std::string>> decodeDatabaseList(std::span<const uint8_t> bytes);

}  // namespace lumen::filters
