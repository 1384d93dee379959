// Thumbnails and their JPEG form: what adding a preset and loading a filter with presets cost.
#include <benchmark/benchmark.h>

#include "imaging/bitmap.h"
#include "imaging/jpeg_codec.h"

namespace {

using lumen::imaging::Bitmap;

Bitmap pattern(int width, int height) {
    Bitmap bitmap = *Bitmap::create(width, height);
    for (int y = 0; y < height; ++y)
        for (int i = 0; i < width * 3; ++i) bitmap.row(y)[i] = uint8_t(i * 7 + y * 13 + (i * y) / 5);
    return bitmap;
}

void reportPixels(benchmark::State& state, int64_t pixelsPerIteration) {
    state.counters["MP/s"] = benchmark::Counter(double(state.iterations() * pixelsPerIteration) / 1e6,
                                                benchmark::Counter::kIsRate);
}

// Source megapixels per second: a preview shrunk to a preset thumbnail.
void BM_MakeThumbnail(benchmark::State& state) {
    const Bitmap preview = pattern(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(lumen::imaging::makeThumbnail(preview));
    reportPixels(state, state.range(0) * state.range(1));
}
BENCHMARK(BM_MakeThumbnail)->Args({320, 240})->Args({1024, 768});

void BM_EncodeJpeg(benchmark::State& state) {
    const Bitmap bitmap = pattern(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(lumen::imaging::encodeJpeg(bitmap));
    reportPixels(state, state.range(0) * state.range(1));
}
BENCHMARK(BM_EncodeJpeg)->Args({110, 83})->Args({1024, 768});

void BM_DecodeJpeg(benchmark::State& state) {
    const std::vector<uint8_t> bytes = *lumen::imaging::encodeJpeg(pattern(int(state.range(0)), int(state.range(1))));
    for (auto _ : state) benchmark::DoNotOptimize(lumen::imaging::decodeJpeg(bytes));
    reportPixels(state, state.range(0) * state.range(1));
}
BENCHMARK(BM_DecodeJpeg)->Args({110, 83})->Args({1024, 768});

}  // namespace
