#pragma once
// The project's benchmark filter set. Every speed figure is quoted on it, so a benchmark binary
// that cannot read it stops with a message instead of quietly listing no render benchmarks.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/formula/filter_sets.h"

namespace lumen::bench {

inline const std::vector<formula::testing_support::NamedFilter>& benchmarkFilters() {
    static const auto filters = [] {
        auto read = formula::testing_support::readBenchmarkFilters(LUMEN_BENCH_FILTERS);
        if (read.empty()) {
            std::fprintf(stderr, "lumenforge-bench: no benchmark filters could be read from %s\n", LUMEN_BENCH_FILTERS);
            std::exit(2);
        }
        return read;
    }();
    return filters;
}

}  // namespace lumen::bench
