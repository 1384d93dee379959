#pragma once
// The textures and gradients every render reads: the module's eight MAPS resources and its
// GRAD table, found once and kept for the life of the module.
#include <array>
#include <cstdint>

namespace lumen::plugin {

constexpr int kTextureCount = 8;
constexpr int kTextureSide = 256;
constexpr int kGradientCount = 100;
constexpr int kGradientBytes = 256 * 4;

struct RenderTables {
    // Map i is null when its resource is missing or of the wrong size.
    std::array<const uint8_t*, kTextureCount> textureMaps{};
    // Null when the GRAD resource is missing or of the wrong size.
    const uint8_t* gradientTable = nullptr;
};

const RenderTables& renderTables();

}  // namespace lumen::plugin
