#pragma once
// The default database's sources and the render tables, loaded once for all tests.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/database_builder.h"
#include "tools/sample_image.h"

namespace lumen::tools {

inline const std::vector<NamedSource>& shippedSources() {
    static const std::vector<NamedSource> sources = [] {
        std::string error;
        auto loaded = loadFilterSources(LUMEN_SOURCE_DIR "/database/filters", error);
        EXPECT_TRUE(loaded) << error;
        return loaded ? std::move(*loaded) : std::vector<NamedSource>{};
    }();
    return sources;
}

inline const RenderTables& renderTables() {
    static const RenderTables tables = [] {
        std::ifstream in(LUMEN_SOURCE_DIR "/resources/gradients.txt");
        std::ostringstream text;
        text << in.rdbuf();
        std::string error;
        auto made = makeRenderTables(text.str(), error);
        EXPECT_TRUE(made) << error;
        return made ? std::move(*made) : RenderTables{};
    }();
    return tables;
}

inline std::array<int32_t, 8> defaultsOf(const FilterSource& source) {
    std::array<int32_t, 8> values{};
    for (int i = 0; i < 8; ++i) values[i] = source.controls[i].value;
    return values;
}

}  // namespace lumen::tools
