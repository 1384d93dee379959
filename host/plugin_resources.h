#pragma once
// How a host reads a plug-in's PiPL and AETE resources: parsed with every length checked.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace lumen::host {

struct PiplProperty {
    uint32_t vendor = 0;
    uint32_t key = 0;
    uint32_t id = 0;
    std::vector<uint8_t> data;  // as stored, padding included
};

std::optional<std::vector<PiplProperty>> parsePipl(std::span<const uint8_t> bytes, std::string& error);
nlohmann::ordered_json piplJson(const std::vector<PiplProperty>& properties);

// The entry point's name under the key for this host's architecture (wx86 or 8664).
std::optional<std::string> piplEntryName(const std::vector<PiplProperty>& properties);

std::optional<nlohmann::ordered_json> parseAete(std::span<const uint8_t> bytes, std::string& error);

}  // namespace lumen::host
