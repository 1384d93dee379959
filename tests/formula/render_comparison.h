#pragma once
// Renders compared with the tree walker: a patterned scene, and a check that every engine and
// thread count gives the tree walker's bytes.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "filter_sets.h"
#include "formula/compile_filter.h"
#include "formula/render_filter.h"

namespace lumen::formula::testing {

using testing_support::NamedFilter;

// A patterned source with every byte value in use, synthetic map images and gradients.
struct Scene {
    Scene(int32_t width, int32_t height, bool alpha, std::array<int32_t, 4> channelMap = {0, 1, 2, 3})
        : pixels(static_cast<size_t>(width) * height * 4), maps(kMapSide * kMapSide),
          gradients(static_cast<size_t>(kGradientCount) * kGradientBytes) {
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37 + i / 92 + (i >> 7));
        for (size_t i = 0; i < maps.size(); ++i) maps[i] = static_cast<uint8_t>(i * 13 + i / 256);
        for (size_t i = 0; i < gradients.size(); ++i) gradients[i] = static_cast<uint8_t>(i * 7 + i / 1024);
        image = {pixels.data(), width, height, alpha, channelMap};
        for (int m = 0; m < kTextureMapCount; m += 2) setUp.textureMaps[m] = maps.data();
        setUp.gradientTable = gradients.data();
        setUp.gradientIndex = 3;
        setUp.foreground = {10, 200, 30};
        setUp.background = {250, 5, 128};
    }
    Scene(const Scene&) = delete;  // image points into pixels

    std::vector<uint8_t> pixels, maps, gradients;
    ImageDescription image;
    RenderSetUp setUp;
    RenderThreads keptHelpers{2};  // serves every filter rendered over the scene, as a preview's do
};

// Renders by walking the trees, and compiled on 1 and 3 threads, in blocks and pixel by pixel:
// all must agree. Blocks on 3 threads take the scene's kept helpers, pixel by pixel starts its own.
inline void expectSameBytes(const NamedFilter& filter, Scene& scene) {
    FilterCompileResult compiled = compileFilter({filter.code[0].c_str(), filter.code[1].c_str(), filter.code[2].c_str(),
                                                  filter.code[3].c_str(), filter.code[4].c_str()});
    if (!compiled.ok) return;
    RenderSetUp setUp = scene.setUp;
    setUp.controls = filter.controls;
    std::vector<uint8_t> reference(scene.pixels.size(), 0x5A);
    ASSERT_EQ(renderFilterByTreeWalk(compiled.program, scene.image, reference.data(), setUp), RenderOutcome::kComplete);
    for (int attempt = 0; attempt < 4; ++attempt) {
        setUp.threads = attempt % 2 == 0 ? 1 : 3;
        setUp.blocks = attempt < 2;
        setUp.keptThreads = attempt == 1 ? &scene.keptHelpers : nullptr;
        std::vector<uint8_t> fast(scene.pixels.size(), 0x5A);
        ASSERT_EQ(renderFilter(compiled.program, scene.image, fast.data(), setUp), RenderOutcome::kComplete);
        if (fast != reference) {
            size_t at = 0;
            while (fast[at] == reference[at]) ++at;
            ADD_FAILURE() << filter.name << (setUp.blocks ? " in blocks" : " pixel by pixel") << " on "
                          << setUp.threads << " threads, alpha " << scene.image.hasAlpha << ": byte " << at << " is " << int(fast[at]) << ", the tree walker gives "
                          << int(reference[at]) << "\ncode0: " << filter.code[0] << "\ncode1: " << filter.code[1]
                          << "\ncode2: " << filter.code[2] << "\ncode3: " << filter.code[3]
                          << "\ncode4: " << filter.code[4];
            return;
        }
    }
}

inline void expectSameBytesOnAllScenes(const std::vector<NamedFilter>& filters, int32_t width, int32_t height) {
    Scene withAlpha(width, height, true), withoutAlpha(width, height, false, {2, 1, 0, 3});
    for (const NamedFilter& filter : filters) {
        expectSameBytes(filter, withAlpha);
        expectSameBytes(filter, withoutAlpha);
    }
}

}  // namespace lumen::formula::testing
