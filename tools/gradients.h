#pragma once
// The GRAD resource: 100 gradients of 256 entries (red, green, blue, 255), made from the
// readable stop list in resources/gradients.txt.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumen::tools {

constexpr int kGradientCount = 100;
constexpr int kGradientEntries = 256;

std::optional<std::vector<uint8_t>> makeGradientTable(std::string_view description, std::string& error);

}  // namespace lumen::tools
