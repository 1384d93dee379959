#pragma once
// The eight greyscale textures formulas read through their map lookups: 256 x 256 bytes each,
// row after row, all tiling seamlessly so a tiled lookup shows no seams.
#include <array>
#include <cstdint>
#include <vector>

namespace lumen::tools {

constexpr int kTextureSize = 256;
constexpr int kTextureCount = 8;
// Resource ids in map order: map 0 is id 164, map 1 id 163, then ascending.
constexpr std::array<int, kTextureCount> kTextureResourceIds = {164, 163, 169, 170, 171, 172, 176, 177};

std::vector<uint8_t> makeTexture(int map);

}  // namespace lumen::tools
