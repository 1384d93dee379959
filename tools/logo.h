#pragma once
// The about box's logo: a 93 x 28, 256-colour Windows bitmap file drawn in code.
#include <cstdint>
#include <vector>

namespace lumen::tools {
std::vector<uint8_t> makeLogoBitmapFile();
}
