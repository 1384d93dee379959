// Compiling formulas: the check pass (no nodes) and the tree-building pass, for the benchmark
// filters' channel sources and for long sources at the 1023-character limit.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "benchmark_filters.h"
#include "formula/formula_node.h"

namespace {

// The channel sources of the benchmark filter set.
std::vector<std::string> benchmarkSources() {
    std::vector<std::string> sources;
    for (const auto& filter : lumen::bench::benchmarkFilters())
        sources.insert(sources.end(), filter.code.begin(), filter.code.end());
    return sources;
}

// A 1023-character source mixing calls, operators, conditionals and a case.
std::string longSource() {
    const std::string piece =
        "(r*ctl(0)+g*ctl(1)-b/(ctl(2)+1))%256<<1>>1,x<X/2?src(x+sin(y),y,z):"
        "case(z,0:r,1:g,2:b),";
    std::string text;
    while (text.size() + piece.size() < 1022) text += piece;
    text += std::string(1023 - text.size(), '1');
    return text;
}

void compileAll(benchmark::State& state, const std::vector<std::string>& sources, bool buildTree) {
    std::size_t bytes = 0;
    for (const std::string& source : sources) bytes += source.size();
    for (auto _ : state) {
        for (const std::string& source : sources) {
            auto result = lumen::formula::compileFormula(source.c_str(), buildTree);
            benchmark::DoNotOptimize(result.root.get());
            if (result.status != lumen::formula::kCompileOk) state.SkipWithError(source.c_str());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["sources/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * sources.size()), benchmark::Counter::kIsRate);
}

void BM_CheckTypical(benchmark::State& state) { compileAll(state, benchmarkSources(), false); }
void BM_BuildTypical(benchmark::State& state) { compileAll(state, benchmarkSources(), true); }
void BM_CheckLong(benchmark::State& state) { compileAll(state, {longSource()}, false); }
void BM_BuildLong(benchmark::State& state) { compileAll(state, {longSource()}, true); }

BENCHMARK(BM_CheckTypical);
BENCHMARK(BM_BuildTypical);
BENCHMARK(BM_CheckLong);
BENCHMARK(BM_BuildLong);

}  // namespace
