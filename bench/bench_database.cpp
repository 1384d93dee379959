// Opening a database of 2000 filters: from a valid index (no filter file is read) and after the
// index was deleted (every file read).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "filters/ffx_file.h"
#include "filters/filter_database.h"

namespace {

using namespace lumen::filters;

constexpr int kFilterCount = 2000;

class BenchDatabase {
public:
    BenchDatabase() {
        std::random_device random;
        path_ = (std::filesystem::temp_directory_path() / ("lumen-bench-db-" + std::to_string(random()) + ".db"))
                    .string();
        std::filesystem::create_directory(path_);
        FilterDatabase database(nativeFileSystem());
        database.open(path_);
        for (int i = 0; i < kFilterCount; ++i) {
            FilterDefinition filter;
            database.newFilter(filter, "Category " + std::to_string(i % 25), "Filter " + std::to_string(i));
        }
    }
    ~BenchDatabase() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

const BenchDatabase& benchDatabase() {
    static BenchDatabase database;
    return database;
}

void BM_OpenWithIndex(benchmark::State& state) {
    const std::string& path = benchDatabase().path();
    for (auto _ : state) {
        FilterDatabase database(nativeFileSystem());
        benchmark::DoNotOptimize(database.open(path));
    }
    state.SetItemsProcessed(state.iterations() * kFilterCount);
}
BENCHMARK(BM_OpenWithIndex)->Unit(benchmark::kMillisecond);

void BM_OpenWithoutIndex(benchmark::State& state) {
    const std::string& path = benchDatabase().path();
    for (auto _ : state) {
        state.PauseTiming();
        nativeFileSystem().removeFile(joinPath(path, kIndexFileName));
        state.ResumeTiming();
        FilterDatabase database(nativeFileSystem());
        benchmark::DoNotOptimize(database.open(path));
    }
    state.SetItemsProcessed(state.iterations() * kFilterCount);
}
BENCHMARK(BM_OpenWithoutIndex)->Unit(benchmark::kMillisecond);

}  // namespace
