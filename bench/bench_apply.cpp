// A whole apply through the plug-in's entry, as a host drives it (input copy, render, output
// copy), against the render alone, for the identity filter: the difference is what the pixel
// exchange with the host costs.
#include <benchmark/benchmark.h>

#include <string>

#include "host/filter_session.h"
#include "plugin/filter_runner.h"
#include "plugin/parameter_block.h"
#include "plugin/pixel_exchange.h"
#include "plugin/rgba_images.h"

namespace {

using namespace lumen;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

imaging::RgbaImage testPattern() {
    imaging::RgbaImage image{kWidth, kHeight, true, std::vector<uint8_t>(size_t(kWidth) * kHeight * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 7 + i / 4099);
    return image;
}

host::Descriptor identityDescriptor() {
    host::Descriptor descriptor;
    const char* codes[] = {"0", "r", "g", "b", "a"};
    for (int i = 0; i < 5; ++i) {
        const char key[5] = {'f', 'x', 'C', static_cast<char>('0' + i), 0};
        descriptor.push_back({hostapi::fourCharCode(key), hostapi::typeChar, 0, codes[i]});
    }
    return descriptor;
}

void setMegapixels(benchmark::State& state) {
    state.counters["MP/s"] = benchmark::Counter(double(kWidth) * kHeight / 1e6 * double(state.iterations()),
                                                benchmark::Counter::kIsRate);
}

void BM_ApplyThroughTheEntry(benchmark::State& state) {
    std::string error;
    auto plugin = host::PluginModule::load(LUMEN_PLUGIN_PATH, error);
    if (!plugin) {
        state.SkipWithError(error.c_str());
        return;
    }
    const imaging::RgbaImage pattern = testPattern();
    host::ApplyOptions options;
    options.playInfo = hostapi::plugInDialogDontDisplay;
    options.descriptor = identityDescriptor();
    host::FilterSession session{*plugin};
    for (auto _ : state) {
        state.PauseTiming();
        host::HostImage image = host::hostImageFromRgba(pattern, host::HostMode::rgb, 0);
        state.ResumeTiming();
        const host::RunResult result = session.apply(image, options);
        if (result.result != 0) state.SkipWithError("the apply failed");
        benchmark::DoNotOptimize(image.pixels.data());
    }
    setMegapixels(state);
}

class NoHost final : public plugin::HostProgress {
public:
    void progress(int32_t, int32_t) override {}
    bool abortRequested() override { return false; }
};

void BM_RenderAlone(benchmark::State& state) {
    plugin::ImageBuffer source, destination;
    if (!plugin::imageBufferFromRgba(testPattern(), source) || !destination.cloneFrom(source)) {
        state.SkipWithError("no memory for the images");
        return;
    }
    plugin::FilterRunner runner;
    plugin::CurrentFilter identity;
    identity.code = {"0", "r", "g", "b", "a"};
    runner.setFilter(identity);
    NoHost host;
    plugin::ParameterBlock block{};
    for (auto _ : state) {
        runner.runSynchronous(source, destination, host, block);
        benchmark::DoNotOptimize(destination.pixels());
    }
    setMegapixels(state);
}

// The plug-in's own share of an apply: the input copy (its ranges left unknown), the working
// copy, and the output copy, without the host's work around them.
void BM_PixelExchange(benchmark::State& state) {
    const imaging::RgbaImage pattern = testPattern();
    std::vector<uint8_t> hostPixels = pattern.pixels;
    hostapi::FilterRecord record{};
    record.imageMode = hostapi::plugInModeRGBColor;
    record.planes = 4;
    record.filterRect = record.inRect = record.outRect = {0, 0, kHeight, kWidth};
    record.inLoPlane = record.outLoPlane = 0;
    record.inHiPlane = record.outHiPlane = 3;
    record.inData = record.outData = hostPixels.data();
    record.inRowBytes = record.outRowBytes = kWidth * 4;
    record.inColumnBytes = record.outColumnBytes = 4;
    plugin::ImageBuffer source, working;
    for (auto _ : state) {
        if (plugin::readInputFromHost(record, source) != 0 || !working.cloneFrom(source) ||
            plugin::writeOutputToHost(record, working) != 0)
            state.SkipWithError("the exchange failed");
        benchmark::DoNotOptimize(hostPixels.data());
    }
    setMegapixels(state);
}

BENCHMARK(BM_PixelExchange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ApplyThroughTheEntry)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
