#include "plugin_resources.h"

#include "host/json_text.h"
#include "imaging/byte_reader.h"
#include "plugin/host_api.h"

namespace lumen::host {
namespace {

using imaging::ByteReader;
using Json = nlohmann::ordered_json;

constexpr uint32_t code(const char (&text)[5]) { return hostapi::fourCharCode(text); }

bool readPascal(ByteReader& in, std::string& text) {
    uint8_t length = 0;
    return in.readU8(length) && in.readText(length, text);
}

std::string cString(const std::vector<uint8_t>& data, size_t start) {
    std::string text;
    for (size_t i = start; i < data.size() && data[i] != 0; ++i) text += static_cast<char>(data[i]);
    return text;
}

uint32_t wordAt(const std::vector<uint8_t>& data, size_t at) {
    ByteReader in{data};
    uint32_t value = 0;
    return in.seek(at) && in.readU32(value) ? value : 0;
}

const char* modeName(int bit) {
    static const char* names[] = {"bitmap", "grayscale", "indexed", "rgb", "cmyk", "hsl", "hsb",
                                  "multichannel", "duotone", "lab", "gray16", "rgb48", "lab48",
                                  "cmyk64", "deepMultichannel", "duotone16"};
    return names[bit];
}

Json propertyValue(const PiplProperty& property) {
    const std::vector<uint8_t>& data = property.data;
    switch (property.key) {
    case code("kind"): return fourCharText(wordAt(data, 0));
    case code("vers"): return wordAt(data, 0);
    case code("name"):
    case code("catg"): {
        ByteReader in{data};
        std::string text;
        return readPascal(in, text) ? Json(latin1ToUtf8(text)) : Json(nullptr);
    }
    case code("wx86"):
    case code("8664"): return cString(data, 0);
    case code("mtsh"): {
        ByteReader in{data};
        uint32_t version = 0, eventClass = 0, eventId = 0;
        uint16_t terminology = 0;
        if (!in.readU32(version) || !in.readU32(eventClass) || !in.readU32(eventId) || !in.readU16(terminology))
            return nullptr;
        return Json{{"version", version}, {"class", fourCharText(eventClass)}, {"event", fourCharText(eventId)},
                    {"terminologyId", terminology}, {"scope", latin1ToUtf8(cString(data, in.position()))}};
    }
    case code("mode"): {
        Json modes = Json::array();
        for (int bit = 0; bit < 16 && static_cast<size_t>(bit / 8) < data.size(); ++bit)
            if (data[bit / 8] & (0x80 >> (bit % 8))) modes.push_back(modeName(bit));
        return modes;
    }
    case code("fici"): {
        Json cases = Json::array();
        for (size_t at = 0; at + 4 <= data.size() && cases.size() < 7; at += 4)
            cases.push_back({{"inputHandling", data[at]}, {"outputHandling", data[at + 1]},
                             {"flags1", data[at + 2]}, {"flags2", data[at + 3]}});
        return cases;
    }
    default: {
        Json bytes = Json::array();
        for (uint8_t b : data) bytes.push_back(b);
        return bytes;
    }
    }
}

}  // namespace

std::optional<std::vector<PiplProperty>> parsePipl(std::span<const uint8_t> bytes, std::string& error) {
    ByteReader in{bytes};
    uint16_t version = 0;
    uint32_t kind = 0, count = 0;
    if (!in.readU16(version) || !in.readU32(kind) || !in.readU32(count)) {
        error = "PiPL too short for its header";
        return std::nullopt;
    }
    if (version != 1 || kind != 0) {
        error = "unknown PiPL version";
        return std::nullopt;
    }
    std::vector<PiplProperty> properties;
    for (uint32_t i = 0; i < count; ++i) {
        PiplProperty property;
        uint32_t length = 0;
        std::span<const uint8_t> data;
        if (!in.readU32(property.vendor) || !in.readU32(property.key) || !in.readU32(property.id) ||
            !in.readU32(length) || !in.readBytes(length, data)) {
            error = "PiPL property " + std::to_string(i) + " runs past the resource";
            return std::nullopt;
        }
        property.data.assign(data.begin(), data.end());
        properties.push_back(std::move(property));
    }
    return properties;
}

Json piplJson(const std::vector<PiplProperty>& properties) {
    Json list = Json::array();
    for (const PiplProperty& property : properties)
        list.push_back({{"vendor", fourCharText(property.vendor)}, {"key", fourCharText(property.key)},
                        {"id", property.id}, {"length", property.data.size()}, {"value", propertyValue(property)}});
    return Json{{"properties", list}};
}

std::optional<std::string> piplEntryName(const std::vector<PiplProperty>& properties) {
    const uint32_t wanted = sizeof(void*) == 4 ? code("wx86") : code("8664");
    for (const PiplProperty& property : properties)
        if (property.vendor == code("8BIM") && property.key == wanted) return cString(property.data, 0);
    return std::nullopt;
}

std::optional<Json> parseAete(std::span<const uint8_t> bytes, std::string& error) {
    ByteReader in{bytes};
    auto fail = [&](const char* what) -> std::optional<Json> {
        error = std::string("AETE ends inside ") + what;
        return std::nullopt;
    };
    uint16_t version = 0, language = 0, script = 0, suiteCount = 0;
    uint8_t major = 0, minor = 0;
    if (!in.readU16(version) || !in.readU8(major) || !in.readU8(minor) || !in.readU16(language) ||
        !in.readU16(script) || !in.readU16(suiteCount))
        return fail("the header");
    Json suites = Json::array();
    for (uint16_t s = 0; s < suiteCount; ++s) {
        std::string name, description;
        uint32_t suiteCode = 0;
        uint16_t level = 0, suiteVersion = 0, eventCount = 0;
        if (!readPascal(in, name) || !readPascal(in, description) || !in.readU32(suiteCode) ||
            !in.readU16(level) || !in.readU16(suiteVersion) || !in.readU16(eventCount))
            return fail("a suite");
        Json events = Json::array();
        for (uint16_t e = 0; e < eventCount; ++e) {
            std::string eventName, eventDescription, replyDescription, directDescription;
            uint32_t eventClass = 0, eventId = 0, replyType = 0, directType = 0;
            uint16_t replyFlags = 0, directFlags = 0, parameterCount = 0;
            if (!readPascal(in, eventName) || !readPascal(in, eventDescription) || !in.readU32(eventClass) ||
                !in.readU32(eventId) || !in.readU32(replyType) || !readPascal(in, replyDescription) ||
                !in.readU16(replyFlags) || !in.readU32(directType) || !readPascal(in, directDescription) ||
                !in.readU16(directFlags) || !in.readU16(parameterCount))
                return fail("an event");
            Json parameters = Json::array();
            for (uint16_t p = 0; p < parameterCount; ++p) {
                std::string parameterName, parameterDescription;
                uint32_t key = 0, type = 0;
                uint16_t flags = 0;
                if (!readPascal(in, parameterName) || !in.readU32(key) || !in.readU32(type) ||
                    !readPascal(in, parameterDescription) || !in.readU16(flags))
                    return fail("a parameter");
                parameters.push_back({{"name", latin1ToUtf8(parameterName)}, {"key", fourCharText(key)},
                                      {"type", fourCharText(type)}, {"description", latin1ToUtf8(parameterDescription)},
                                      {"flags", flags}});
            }
            events.push_back({{"name", latin1ToUtf8(eventName)}, {"description", latin1ToUtf8(eventDescription)},
                              {"class", fourCharText(eventClass)}, {"id", fourCharText(eventId)},
                              {"replyType", fourCharText(replyType)}, {"replyFlags", replyFlags},
                              {"directParameterType", fourCharText(directType)},
                              {"directParameterFlags", directFlags}, {"parameters", parameters}});
        }
        suites.push_back({{"name", latin1ToUtf8(name)}, {"description", latin1ToUtf8(description)},
                          {"code", fourCharText(suiteCode)}, {"level", level}, {"version", suiteVersion},
                          {"events", events}});
    }
    uint16_t classes = 0, comparisons = 0, enumerations = 0;
    if (!in.readU16(classes) || !in.readU16(comparisons) || !in.readU16(enumerations)) return fail("the trailer");
    return Json{{"version", version}, {"major", major}, {"minor", minor}, {"language", language},
                {"script", script}, {"suites", suites}, {"classCount", classes},
                {"comparisonOperatorCount", comparisons}, {"enumerationCount", enumerations}};
}

}  // namespace lumen::host
