// Random formulas covering the whole language render without fault under the sanitizers, and
// twice alike: nothing of one render reaches the next.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "random_formula.h"

namespace lumen::formula::testing {
namespace {

TEST(RandomRender, EveryConstructRendersDeterministically) {
    constexpr int32_t kWidth = 7, kHeight = 5;
    std::vector<uint8_t> source(kWidth * kHeight * 4);
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 29 + 11);
    std::vector<uint8_t> map(kMapSide * kMapSide), gradients(static_cast<size_t>(kGradientCount) * kGradientBytes);
    for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint8_t>(i ^ (i >> 8));
    for (size_t i = 0; i < gradients.size(); ++i) gradients[i] = static_cast<uint8_t>(i * 3);
    RenderSetUp setUp;
    setUp.controls = {0, 17, 64, 128, 200, 255, 3, 90};
    setUp.gradientIndex = 12;
    setUp.textureMaps[0] = setUp.textureMaps[5] = map.data();
    setUp.gradientTable = gradients.data();

    testing_support::RandomFormulaGenerator generator(20261208);
    for (int filter = 0; filter < 400; ++filter) {
        std::array<std::string, kSourceCount> texts;
        for (std::string& text : texts) text = generator.next(4);
        FilterCompileResult compiled = compileFilter(
            {texts[0].c_str(), texts[1].c_str(), texts[2].c_str(), texts[3].c_str(), texts[4].c_str()});
        ASSERT_TRUE(compiled.ok) << texts[compiled.failingIndex];
        const ImageDescription image{source.data(), kWidth, kHeight, filter % 2 == 0,
                                     filter % 3 == 0 ? std::array<int32_t, 4>{2, 1, 0, 3}
                                                     : std::array<int32_t, 4>{0, 1, 2, 3}};
        std::vector<uint8_t> first(source.size()), second(source.size());
        ASSERT_EQ(renderFilter(compiled.program, image, first.data(), setUp), RenderOutcome::kComplete);
        ASSERT_EQ(renderFilter(compiled.program, image, second.data(), setUp), RenderOutcome::kComplete);
        // rst(-1) seeds from the clock; only filters without it must repeat exactly.
        bool clockSeeded = false;
        for (const std::string& text : texts) clockSeeded |= text.find("rst") != std::string::npos;
        if (!clockSeeded) EXPECT_EQ(first, second) << texts[0] << "\n" << texts[1];
    }
}

}  // namespace
}  // namespace lumen::formula::testing
