#include "plugin/render_tables.h"

#include "imaging/module_resources.h"

namespace lumen::plugin {
namespace {

// Map 0 is id 164 and map 1 id 163: the order hosts' filters were written against.
constexpr int kTextureIds[kTextureCount] = {164, 163, 169, 170, 171, 172, 176, 177};
constexpr int kGradientTableId = 175;

const uint8_t* resourceOfSize(const char* type, int id, size_t size) {
    const auto bytes = imaging::findModuleResource(type, id);
    return bytes.size() == size ? bytes.data() : nullptr;
}

RenderTables loadTables() {
    RenderTables tables;
    for (int i = 0; i < kTextureCount; ++i)
        tables.textureMaps[i] = resourceOfSize("MAPS", kTextureIds[i], kTextureSide * kTextureSide);
    tables.gradientTable = resourceOfSize("GRAD", kGradientTableId, kGradientCount * kGradientBytes);
    return tables;
}

}  // namespace

const RenderTables& renderTables() {
    static const RenderTables tables = loadTables();
    return tables;
}

}  // namespace lumen::plugin
