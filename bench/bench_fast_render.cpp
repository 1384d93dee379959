// The benchmark filters over 1920 x 1080 RGBA: walking the trees, the compiled form pixel by
// pixel on one thread, and over blocks of pixels on one thread and on every core, the helper
// threads started by each render (as an apply does) or kept from render to render (as the
// preview does). Figures in megapixels per second.
#include <benchmark/benchmark.h>

#include <optional>
#include <string>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "formula/row_scheduler.h"
#include "benchmark_filters.h"

namespace {

using namespace lumen::formula;
using lumen::formula::testing_support::NamedFilter;

constexpr int32_t kWidth = 1920, kHeight = 1080;

// A deterministic test pattern, synthetic maps and gradients.
struct Scene {
    Scene() : pixels(static_cast<size_t>(kWidth) * kHeight * 4), destination(pixels.size()),
              maps(kMapSide * kMapSide), gradients(static_cast<size_t>(kGradientCount) * kGradientBytes) {
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x) {
                uint8_t* p = &pixels[(static_cast<size_t>(y) * kWidth + x) * 4];
                p[0] = static_cast<uint8_t>(x ^ y);
                p[1] = static_cast<uint8_t>(x * 3 + y);
                p[2] = static_cast<uint8_t>((x * y) >> 4);
                p[3] = static_cast<uint8_t>(255 - y);
            }
        for (size_t i = 0; i < maps.size(); ++i) maps[i] = static_cast<uint8_t>(i * 13 + i / 256);
        for (size_t i = 0; i < gradients.size(); ++i) gradients[i] = static_cast<uint8_t>(i * 7);
        image = {pixels.data(), kWidth, kHeight, true, {0, 1, 2, 3}};
    }
    std::vector<uint8_t> pixels, destination, maps, gradients;
    ImageDescription image;
};

Scene& scene() {
    static Scene shared;
    return shared;
}

enum class Engine { kTreeWalk, kCompiledOneThread, kBlocksOneThread, kBlocksAllCores, kBlocksAllCoresKept };

void renderBenchmark(benchmark::State& state, const NamedFilter& filter, Engine engine) {
    Scene& s = scene();
    FilterCompileResult compiled = compileFilter({filter.code[0].c_str(), filter.code[1].c_str(), filter.code[2].c_str(),
                                                  filter.code[3].c_str(), filter.code[4].c_str()});
    if (!compiled.ok) {
        state.SkipWithError("the filter does not compile");
        return;
    }
    RenderSetUp setUp;
    setUp.controls = filter.controls;
    for (const uint8_t*& map : setUp.textureMaps) map = s.maps.data();
    setUp.gradientTable = s.gradients.data();
    const bool allCores = engine == Engine::kBlocksAllCores || engine == Engine::kBlocksAllCoresKept;
    setUp.threads = allCores ? hardwareThreads() : 1;
    setUp.blocks = engine != Engine::kCompiledOneThread;
    std::optional<RenderThreads> kept;
    if (engine == Engine::kBlocksAllCoresKept) setUp.keptThreads = &kept.emplace(setUp.threads - 1);
    for (auto _ : state) {
        if (engine == Engine::kTreeWalk)
            renderFilterByTreeWalk(compiled.program, s.image, s.destination.data(), setUp);
        else
            renderFilter(compiled.program, s.image, s.destination.data(), setUp);
        benchmark::ClobberMemory();
    }
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kWidth * kHeight / 1e6,
                                                benchmark::Counter::kIsRate);
    state.counters["threads"] = setUp.threads;
}

const bool registered = [] {
    const struct {
        const char* name;
        Engine engine;
    } engines[] = {{"TreeWalk", Engine::kTreeWalk},
                   {"Compiled1", Engine::kCompiledOneThread},
                   {"Blocks1", Engine::kBlocksOneThread},
                   {"BlocksAll", Engine::kBlocksAllCores},
                   {"BlocksAllKept", Engine::kBlocksAllCoresKept}};
    for (const NamedFilter& filter : lumen::bench::benchmarkFilters())
        for (const auto& engine : engines)
            benchmark::RegisterBenchmark(("BM_FastRender/" + filter.name + "/" + engine.name).c_str(), renderBenchmark,
                                         filter, engine.engine)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(0.3);
    return true;
}();

}  // namespace
