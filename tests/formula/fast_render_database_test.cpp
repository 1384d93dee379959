// The default database's filters and presets, compiled, give the tree walker's bytes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render_comparison.h"
#include "tools/filter_source.h"

namespace lumen::formula::testing {
namespace {

TEST(FastRender, DefaultDatabaseMatchesTheTreeWalker) {
    const std::filesystem::path root = std::filesystem::path(LUMEN_SOURCE_DIR) / "database" / "filters";
    if (!std::filesystem::is_directory(root)) GTEST_SKIP() << "no default database sources";
    std::vector<NamedFilter> filters;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.path().extension() != ".txt") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string error;
        auto source = tools::parseFilterSource(text, entry.path().string(), error);
        ASSERT_TRUE(source) << error;
        NamedFilter filter{entry.path().filename().string(), source->code};
        for (int i = 0; i < 8; ++i) filter.controls[i] = source->controls[i].value;
        filters.push_back(filter);
        for (const auto& preset : source->presets) {
            filter.controls = preset.values;
            filters.push_back(filter);
        }
    }
    ASSERT_FALSE(filters.empty());
    expectSameBytesOnAllScenes(filters, 37, 23);
}

}  // namespace
}  // namespace lumen::formula::testing
