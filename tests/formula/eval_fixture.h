#pragma once
// Evaluates formula texts against a small synthetic image, as a render's context would hold it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formula/evaluator.h"
#include "formula/render_filter.h"

namespace lumen::formula::testing {

class EvalFixture : public ::testing::Test {
protected:
    // Pixel (x, y) holds red 10x+y, green 100+x, blue 200-y, alpha 50+x+y.
    void makeImage(int32_t width, int32_t height, bool hasAlpha, std::array<int32_t, 4> channelMap = {0, 1, 2, 3}) {
        pixels.assign(static_cast<size_t>(width) * height * 4, 0);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const int values[4] = {10 * x + y, 100 + x, 200 - y, 50 + x + y};
                for (int z = 0; z < 4; ++z)
                    pixels[(static_cast<size_t>(y) * width + x) * 4 + channelMap[z]] = static_cast<uint8_t>(values[z]);
            }
        image = ImageDescription{pixels.data(), width, height, hasAlpha, channelMap};
        destination = pixels;
        reset();
    }

    void reset() { ASSERT_TRUE(setUpContext(context, state, image, destination.data(), setUp)); }

    // Compiles, registers labels and evaluates at (x, y, z); the tree stays alive for the test.
    int32_t eval(const std::string& text, int32_t x = 0, int32_t y = 0, int32_t z = 0) {
        CompileResult compiled = compileFormula(text.c_str(), true);
        EXPECT_EQ(compiled.status, kCompileOk) << text;
        if (!compiled.root) return INT32_MIN;
        state.registerCaseLabels(compiled.root.get());
        ContextScope scope(&context, &state);
        context.x = x;
        context.y = y;
        context.channel = z;
        int32_t value = evaluate(compiled.root.get());
        trees.push_back(std::move(compiled.root));
        return value;
    }

    std::vector<uint8_t> pixels;
    std::vector<uint8_t> destination;
    ImageDescription image;
    RenderSetUp setUp;
    PixelContext context{};
    RenderState state;
    std::vector<FormulaTree> trees;
};

}  // namespace lumen::formula::testing
