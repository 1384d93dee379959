#pragma once
// Settings kept in a file where there is no registry: the magic "LFSETTINGS1", a count, then
// per value its name (FFX string), registry type (uint32), byte count (uint32) and bytes.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "filters/file_system.h"
#include "filters/settings_store.h"

namespace lumen::filters {

using SettingsValues = std::map<std::string, SettingsValue>;

// Values beyond this size are refused: nothing the plug-in keeps comes near it.
constexpr size_t kMaxSettingsValueSize = 1u << 20;

std::vector<uint8_t> serializeSettings(const SettingsValues& values);
// Nothing for a file of another magic, an unknown type or a count past the data.
std::optional<SettingsValues> parseSettings(std::span<const uint8_t> bytes);

class FileSettingsStore final : public SettingsStore {
public:
    FileSettingsStore(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}

    std::optional<SettingsValue> read(const std::string& name) override;
    // Rewrites the whole file (through a temporary file), creating its directory when missing.
    bool write(const std::string& name, const SettingsValue& value) override;

private:
    SettingsValues load();

    FileSystem& fs_;
    std::string path_;
};

}  // namespace lumen::filters
