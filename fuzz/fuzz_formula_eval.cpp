// Formula text from anywhere, evaluated: the text before the first newline is Code0, the rest
// is every channel source. Rendered over a tiny image with small synthetic maps and gradients,
// so each input costs little; nothing may crash, overflow or read outside a buffer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"

namespace {

using namespace lumen::formula;

constexpr size_t kMaxSource = 1023;  // what a filter's source field holds

struct Tables {
    Tables() : maps(kTextureMapCount, std::vector<uint8_t>(kMapSide * kMapSide)),
               gradients(static_cast<size_t>(kGradientCount) * kGradientBytes) {
        for (size_t m = 0; m < maps.size(); ++m)
            for (size_t i = 0; i < maps[m].size(); ++i) maps[m][i] = static_cast<uint8_t>(i * (m + 3) + i / 256);
        for (size_t i = 0; i < gradients.size(); ++i) gradients[i] = static_cast<uint8_t>(i * 7);
    }
    std::vector<std::vector<uint8_t>> maps;
    std::vector<uint8_t> gradients;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const Tables tables;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    std::string code0 = newline == std::string::npos ? "0" : input.substr(0, newline);
    std::string channel = newline == std::string::npos ? input : input.substr(newline + 1);
    if (code0.size() > kMaxSource || channel.size() > kMaxSource) return 0;
    if (code0.find('\0') != std::string::npos || channel.find('\0') != std::string::npos) return 0;

    FilterCompileResult compiled =
        compileFilter({code0.c_str(), channel.c_str(), channel.c_str(), channel.c_str(), channel.c_str()});
    if (!compiled.ok) return 0;

    constexpr int32_t kWidth = 3, kHeight = 2;
    std::array<uint8_t, kWidth * kHeight * 4> source{};
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 41 + 3);
    std::array<uint8_t, kWidth * kHeight * 4> destination{};
    const ImageDescription image{source.data(), kWidth, kHeight, size % 2 == 0, {2, 1, 0, 3}};
    RenderSetUp setUp;
    setUp.controls = {0, 1, 2, 127, 128, 200, 254, 255};
    setUp.gradientIndex = static_cast<int32_t>(size % kGradientCount);
    setUp.foreground = {1, 2, 3};
    setUp.background = {250, 251, 252};
    for (int m = 0; m < kTextureMapCount - 1; ++m) setUp.textureMaps[m] = tables.maps[m].data();
    setUp.gradientTable = tables.gradients.data();
    renderFilter(compiled.program, image, destination.data(), setUp);
    return 0;
}
