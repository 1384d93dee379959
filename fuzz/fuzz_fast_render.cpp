// Formula text from anywhere, rendered by walking the trees and by the compiled form, over blocks
// of pixels and pixel by pixel, on one and on two threads: all must give the same bytes. Lines are Code0, Code1, ... Code4; a
// missing line leaves the source's identity default.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formula/block_program.h"
#include "formula/compile_filter.h"
#include "formula/render_filter.h"

namespace {

using namespace lumen::formula;

constexpr size_t kMaxSource = 1023;  // what a filter's source field holds

struct Tables {
    Tables() : map(kMapSide * kMapSide), gradients(static_cast<size_t>(kGradientCount) * kGradientBytes) {
        for (size_t i = 0; i < map.size(); ++i) map[i] = static_cast<uint8_t>(i * 5 + i / 256);
        for (size_t i = 0; i < gradients.size(); ++i) gradients[i] = static_cast<uint8_t>(i * 7);
    }
    std::vector<uint8_t> map;
    std::vector<uint8_t> gradients;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const Tables tables;
    const std::string input(reinterpret_cast<const char*>(data), size);
    // A time-seeded generator gives other numbers on every render.
    if (input.find('\0') != std::string::npos || input.find("rst") != std::string::npos) return 0;
    std::array<std::string, kSourceCount> code{"0", "r", "g", "b", "a"};
    size_t start = 0;
    for (int i = 0; i < kSourceCount && start <= input.size(); ++i) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        code[i] = input.substr(start, end - start);
        if (code[i].size() > kMaxSource) return 0;
        start = end + 1;
    }
    FilterCompileResult compiled =
        compileFilter({code[0].c_str(), code[1].c_str(), code[2].c_str(), code[3].c_str(), code[4].c_str()});
    if (!compiled.ok) return 0;

    // A full block of pixels and a short one in every row.
    constexpr int32_t kWidth = kBlockLanes + 3, kHeight = 3;
    std::array<uint8_t, kWidth * kHeight * 4> source{};
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<uint8_t>(i * 41 + 3);
    const ImageDescription image{source.data(), kWidth, kHeight, size % 2 == 0, {2, 1, 0, 3}};
    RenderSetUp setUp;
    setUp.controls = {0, 1, 2, 127, 128, 200, 254, 255};
    setUp.gradientIndex = static_cast<int32_t>(size % kGradientCount);
    setUp.foreground = {1, 2, 3};
    setUp.background = {250, 251, 252};
    setUp.textureMaps[0] = tables.map.data();
    setUp.gradientTable = tables.gradients.data();

    std::array<uint8_t, kWidth * kHeight * 4> reference{};
    renderFilterByTreeWalk(compiled.program, image, reference.data(), setUp);
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::array<uint8_t, kWidth * kHeight * 4> fast{};
        setUp.threads = 1 + attempt % 2;
        setUp.blocks = attempt < 2;
        renderFilter(compiled.program, image, fast.data(), setUp);
        if (fast != reference) std::abort();
    }
    return 0;
}
