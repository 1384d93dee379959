#pragma once
// The eight texture maps and the hundred gradients a render reads, made by the same generators
// that make the plug-in's resources, for renders done at build time and in tests.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formula/render_filter.h"

namespace lumen::tools {

struct RenderTables {
    std::array<std::vector<uint8_t>, formula::kTextureMapCount> maps;
    std::vector<uint8_t> gradients;

    // Controls and gradient as given; foreground black and background white, as hosts start.
    formula::RenderSetUp setUp(const std::array<int32_t, 8>& controls, int32_t gradientIndex) const;
};

// `gradientDescription` is the text of resources/gradients.txt.
std::optional<RenderTables> makeRenderTables(std::string_view gradientDescription, std::string& error);

}  // namespace lumen::tools
