// Rendering the benchmark filters with the reference render loop, in megapixels per second.
#include <benchmark/benchmark.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"

namespace {

using namespace lumen::formula;

struct BenchFilter {
    std::string name;
    std::array<std::string, kSourceCount> code;
    std::array<int32_t, 8> controls{};
};

// Blocks of "filter NAME", "codeN: TEXT" and an optional "controls: v0 v1 ...".
std::vector<BenchFilter> readFilters() {
    std::vector<BenchFilter> filters;
    std::ifstream in(LUMEN_BENCH_FILTERS);
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, 7, "filter ") == 0) {
            filters.push_back({line.substr(7), {}, {}});
        } else if (!filters.empty() && line.size() > 7 && line.compare(0, 4, "code") == 0 && line[5] == ':') {
            int index = line[4] - '0';
            if (index >= 0 && index < kSourceCount) filters.back().code[index] = line.substr(7);
        } else if (!filters.empty() && line.compare(0, 9, "controls:") == 0) {
            std::istringstream values(line.substr(9));
            for (int32_t& control : filters.back().controls)
                if (!(values >> control)) break;
        }
    }
    return filters;
}

// A deterministic test pattern, synthetic maps and gradients.
struct Scene {
    Scene(int32_t width, int32_t height) : pixels(static_cast<size_t>(width) * height * 4),
        maps(kMapSide * kMapSide), gradients(static_cast<size_t>(kGradientCount) * kGradientBytes) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
                p[0] = static_cast<uint8_t>(x ^ y);
                p[1] = static_cast<uint8_t>(x * 3 + y);
                p[2] = static_cast<uint8_t>((x * y) >> 4);
                p[3] = static_cast<uint8_t>(255 - y);
            }
        for (size_t i = 0; i < maps.size(); ++i) maps[i] = static_cast<uint8_t>(i * 13 + i / 256);
        for (size_t i = 0; i < gradients.size(); ++i) gradients[i] = static_cast<uint8_t>(i * 7);
        image = {pixels.data(), width, height, true, {0, 1, 2, 3}};
        destination.resize(pixels.size());
    }
    std::vector<uint8_t> pixels, maps, gradients, destination;
    ImageDescription image;
};

void renderBenchmark(benchmark::State& state, const BenchFilter& filter) {
    const auto width = static_cast<int32_t>(state.range(0)), height = static_cast<int32_t>(state.range(1));
    Scene scene(width, height);
    FilterCompileResult compiled = compileFilter({filter.code[0].c_str(), filter.code[1].c_str(),
                                                  filter.code[2].c_str(), filter.code[3].c_str(),
                                                  filter.code[4].c_str()});
    if (!compiled.ok) {
        state.SkipWithError("the filter does not compile");
        return;
    }
    RenderSetUp setUp;
    setUp.controls = filter.controls;
    for (const uint8_t*& map : setUp.textureMaps) map = scene.maps.data();
    setUp.gradientTable = scene.gradients.data();
    for (auto _ : state) {
        renderFilter(compiled.program, scene.image, scene.destination.data(), setUp);
        benchmark::DoNotOptimize(scene.destination.data());
    }
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * width * height / 1e6,
                                                benchmark::Counter::kIsRate);
}

const bool registered = [] {
    for (const BenchFilter& filter : readFilters())
        benchmark::RegisterBenchmark(("BM_Render/" + filter.name).c_str(), renderBenchmark, filter)
            ->Args({1024, 1024})
            ->Args({1920, 1080})
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
