#include "render_tables.h"

#include "gradients.h"
#include "textures.h"

namespace lumen::tools {

formula::RenderSetUp RenderTables::setUp(const std::array<int32_t, 8>& controls, int32_t gradientIndex) const {
    formula::RenderSetUp setUp;
    setUp.controls = controls;
    setUp.gradientIndex = gradientIndex;
    setUp.foreground = {0, 0, 0};
    setUp.background = {255, 255, 255};
    for (int i = 0; i < formula::kTextureMapCount; ++i) setUp.textureMaps[i] = maps[i].data();
    setUp.gradientTable = gradients.data();
    return setUp;
}

std::optional<RenderTables> makeRenderTables(std::string_view gradientDescription, std::string& error) {
    RenderTables tables;
    for (int i = 0; i < formula::kTextureMapCount; ++i) {
        tables.maps[i] = makeTexture(i);
        if (tables.maps[i].size() != size_t(formula::kMapSide) * formula::kMapSide) {
            error = "texture " + std::to_string(i) + " has the wrong size";
            return std::nullopt;
        }
    }
    std::optional<std::vector<uint8_t>> gradients = makeGradientTable(gradientDescription, error);
    if (!gradients) return std::nullopt;
    if (gradients->size() != size_t(formula::kGradientCount) * formula::kGradientBytes) {
        error = "the gradient table has the wrong size";
        return std::nullopt;
    }
    tables.gradients = std::move(*gradients);
    return tables;
}

}  // namespace lumen::tools
