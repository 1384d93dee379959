// The preview as the user waits for it: from a slider's release (a new asynchronous job on the
// runner) to the last row of the thumbnail of a 1920 x 1080 host image, for each benchmark
// filter; and the pixels of one GDI frame (the blend over the checkerboard or not).
#include <benchmark/benchmark.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "benchmark_filters.h"
#include "formula/compile_filter.h"
#include "plugin/filter_runner.h"
#include "plugin/image_buffer.h"
#include "ui/model/preview_model.h"

namespace {

using namespace lumen;
using formula::testing_support::NamedFilter;

constexpr int kHostWidth = 1920, kHostHeight = 1080;
// The control panel's preview area (144 x 100 dialog units) at 96 DPI in MS Sans Serif 8.
constexpr ui::Size kPreviewArea{216, 162};

struct Thumbnail {
    Thumbnail() {
        plugin::ImageBuffer host;
        host.allocate(kHostWidth, kHostHeight, plugin::ImageBuffer::kFourChannels, true);
        uint8_t* p = host.pixels();
        for (int y = 0; y < kHostHeight; ++y)
            for (int x = 0; x < kHostWidth; ++x, p += 4) {
                p[0] = uint8_t(x ^ y), p[1] = uint8_t(x * 3 + y), p[2] = uint8_t((x * y) >> 4), p[3] = uint8_t(255 - y);
            }
        ui::makePreviewThumbnail(host, kPreviewArea, source, destination);
    }
    plugin::ImageBuffer source, destination;
};

Thumbnail& thumbnail() {
    static Thumbnail shared;
    return shared;
}

// What the control panel hears from the worker; here it only tells when the last row is done.
class FinishSignal : public plugin::PreviewProgress {
public:
    void started(int32_t, int32_t) override {}
    void reachedRow(int32_t) override {}
    void finished() override {
        std::lock_guard guard{lock_};
        done_ = true;
        changed_.notify_all();
    }
    void arm() {
        std::lock_guard guard{lock_};
        done_ = false;
    }
    void wait() {
        std::unique_lock guard{lock_};
        changed_.wait(guard, [this] { return done_; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool done_ = false;
};

void releaseToPreview(benchmark::State& state, const NamedFilter& named) {
    // A filter that does not compile reports no end.
    if (!formula::compileFilter({named.code[0].c_str(), named.code[1].c_str(), named.code[2].c_str(),
                                 named.code[3].c_str(), named.code[4].c_str()})
             .ok) {
        state.SkipWithError("the filter does not compile");
        return;
    }
    Thumbnail& images = thumbnail();
    FinishSignal signal;
    plugin::FilterRunner runner{&signal};
    plugin::CurrentFilter filter;
    filter.code = named.code;
    filter.controlValue = named.controls;
    runner.setFilter(filter);
    for (auto _ : state) {
        signal.arm();
        if (!runner.runAsynchronous(images.source, images.destination)) {
            state.SkipWithError("no worker");
            return;
        }
        signal.wait();
    }
    runner.stop();
    if (!runner.renderedEveryPixel()) state.SkipWithError("the filter did not render");
    state.counters["pixels"] = double(images.destination.width()) * images.destination.height();
}

void gdiFramePixels(benchmark::State& state) {
    const plugin::ImageBuffer& shown = thumbnail().destination;
    std::vector<uint8_t> scratch(size_t(shown.width()) * shown.height() * 4);
    const bool checkerboard = state.range(0) != 0;
    for (auto _ : state) {
        ui::fillScratch(shown, checkerboard, scratch);
        benchmark::DoNotOptimize(scratch.data());
    }
}
BENCHMARK(gdiFramePixels)->Name("BM_PreviewFramePixels")->ArgName("checkerboard")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

const bool registered = [] {
    for (const NamedFilter& filter : bench::benchmarkFilters())
        benchmark::RegisterBenchmark(("BM_ReleaseToPreview/" + filter.name).c_str(), releaseToPreview, filter)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MinTime(0.3);
    return true;
}();

}  // namespace
