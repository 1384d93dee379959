#include "filters/settings_store.h"

#include "imaging/byte_reader.h"

namespace lumen::filters {
namespace {

constexpr uint8_t kLongLength = 0xFF;
constexpr uint16_t kLongerLength = 0xFFFF;

void writeLength(imaging::ByteWriter& writer, size_t length) {
    if (length < kLongLength) {
        writer.writeU8(static_cast<uint8_t>(length));
        return;
    }
    writer.writeU8(kLongLength);
    if (length < kLongerLength - 1) {
        writer.writeU16(static_cast<uint16_t>(length));
        return;
    }
    writer.writeU16(kLongerLength);
    writer.writeU32(static_cast<uint32_t>(length));
}

bool readLength(imaging::ByteReader& reader, uint32_t& length) {
    uint8_t first;
    if (!reader.readU8(first)) return false;
    if (first != kLongLength) {
        length = first;
        return true;
    }
    uint16_t second;
    if (!reader.readU16(second)) return false;
    if (second != kLongerLength) {
        length = second;
        return true;
    }
    return reader.readU32(length);
}

}  // namespace

std::string readStringSetting(SettingsStore& store, const std::string& name,
                              const std::string& fallback) {
    std::optional<SettingsValue> value = store.read(name);
    if (!value || value->type != SettingsType::String) return fallback;
    std::string text(value->data.begin(), value->data.end());
    // Registry strings may carry their terminator (or several); the text ends at the first.
    if (size_t end = text.find('\0'); end != std::string::npos) text.resize(end);
    return text;
}

bool writeStringSetting(SettingsStore& store, const std::string& name, const std::string& value) {
    return store.write(name, {SettingsType::String, {value.begin(), value.end()}});
}

uint32_t readDwordSetting(SettingsStore& store, const std::string& name, uint32_t fallback) {
    std::optional<SettingsValue> value = store.read(name);
    if (!value || value->type != SettingsType::Dword || value->data.size() != 4) return fallback;
    uint32_t result = 0;
    imaging::ByteReader(value->data).readU32(result);
    return result;
}

bool writeDwordSetting(SettingsStore& store, const std::string& name, uint32_t value) {
    imaging::ByteWriter writer;
    writer.writeU32(value);
    return store.write(name, {SettingsType::Dword, writer.take()});
}

std::vector<std::string> readDatabaseList(SettingsStore& store) {
    std::optional<SettingsValue> value = store.read(kDatabaseListValue);
    if (!value || value->type != SettingsType::Binary) return {};
    return decodeDatabaseList(value->data).value_or(std::vector<std::string>{});
}

bool writeDatabaseList(SettingsStore& store, const std::vector<std::string>& names) {
    return store.write(kDatabaseListValue, {SettingsType::Binary, encodeDatabaseList(names)});
}

std::vector<uint8_t> encodeDatabaseList(const std::vector<std::string>& names) {
    imaging::ByteWriter writer;
    if (names.size() < kLongerLength) {
        writer.writeU16(static_cast<uint16_t>(names.size()));
    } else {
        writer.writeU16(kLongerLength);
        writer.writeU32(static_cast<uint32_t>(names.size()));
    }
    for (const std::string& name : names) {
        writeLength(writer, name.size());
        writer.writeText(name);
    }
    return writer.take();
}

std::optional<std::vector<std::string>> decodeDatabaseList(std::span<const uint8_t> bytes) {
    imaging::ByteReader reader(bytes);
    uint16_t shortCount;
    if (!reader.readU16(shortCount)) return std::nullopt;
    uint32_t count = shortCount;
    if (shortCount == kLongerLength && !reader.readU32(count)) return std::nullopt;
    // Every name takes at least its one-byte length: a larger count cannot be true.
    if (count > reader.remaining()) return std::nullopt;
    std::vector<std::string> names(count);
    for (std::string& name : names) {
        uint32_t length;
        if (!readLength(reader, length) || !reader.readText(length, name)) return std::nullopt;
    }
    return names;
}

}  // namespace lumen::filters
