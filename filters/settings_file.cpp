#include "filters/settings_file.h"

#include "filters/ffx_format.h"

namespace lumen::filters {
namespace {

constexpr std::string_view kSettingsMagic = "LFSETTINGS1";

bool knownType(uint32_t type) {
    return type == static_cast<uint32_t>(SettingsType::String) ||
           type == static_cast<uint32_t>(SettingsType::Binary) ||
           type == static_cast<uint32_t>(SettingsType::Dword);
}

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::vector<uint8_t> serializeSettings(const SettingsValues& values) {
    imaging::ByteWriter writer;
    writer.writeText(std::string(kSettingsMagic));
    writer.writeU32(static_cast<uint32_t>(values.size()));
    for (const auto& [name, value] : values) {
        writeFfxString(writer, name);
        writer.writeU32(static_cast<uint32_t>(value.type));
        writer.writeU32(static_cast<uint32_t>(value.data.size()));
        writer.writeBytes(value.data);
    }
    return writer.take();
}

std::optional<SettingsValues> parseSettings(std::span<const uint8_t> bytes) {
    imaging::ByteReader reader(bytes);
    std::string magic;
    uint32_t count;
    if (!reader.readText(kSettingsMagic.size(), magic) || magic != kSettingsMagic ||
        !reader.readU32(count))
        return std::nullopt;
    SettingsValues values;
    for (uint32_t i = 0; i < count; ++i) {
        std::string name;
        uint32_t type, size;
        std::span<const uint8_t> data;
        if (!readFfxString(reader, name) || !reader.readU32(type) || !knownType(type) ||
            !reader.readU32(size) || size > kMaxSettingsValueSize || !reader.readBytes(size, data))
            return std::nullopt;
        values[name] = {static_cast<SettingsType>(type), {data.begin(), data.end()}};
    }
    return values;
}

SettingsValues FileSettingsStore::load() {
    std::optional<std::vector<uint8_t>> bytes = fs_.readFile(path_);
    if (!bytes) return {};
    return parseSettings(*bytes).value_or(SettingsValues{});
}

std::optional<SettingsValue> FileSettingsStore::read(const std::string& name) {
    SettingsValues values = load();
    auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
}

bool FileSettingsStore::write(const std::string& name, const SettingsValue& value) {
    if (name.size() > kMaxFfxStringLength || value.data.size() > kMaxSettingsValueSize) return false;
    SettingsValues values = load();
    values[name] = value;
    std::string directory = parentOf(path_);
    if (!directory.empty() && !fs_.directoryExists(directory)) {
        std::string grandparent = parentOf(directory);
        if (!grandparent.empty() && !fs_.directoryExists(grandparent)) fs_.createDirectory(grandparent);
        fs_.createDirectory(directory);
    }
    return fs_.writeFileAtomic(path_, serializeSettings(values));
}

}  // namespace lumen::filters
