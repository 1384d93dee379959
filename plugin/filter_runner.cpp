#include "plugin/filter_runner.h"

#include <thread>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "formula/row_scheduler.h"
#include "plugin/image_buffer.h"
#include "plugin/parameter_block.h"
#include "plugin/render_tables.h"

namespace lumen::plugin {

struct FilterRunner::Job {
    const ImageBuffer* source = nullptr;
    ImageBuffer* destination = nullptr;
    Mode mode = Mode::synchronous;
    CurrentFilter filter;
    RenderColours colours;
    bool swapRedBlue = false;
    int32_t threads = 0;
};

namespace {

constexpr int32_t kRowsPerProgressStep = 10;

bool renderable(const ImageBuffer& source, const ImageBuffer& destination) {
    return !source.empty() && !destination.empty() && source.kind() == ImageBuffer::kFourChannels &&
           destination.kind() == ImageBuffer::kFourChannels && source.width() == destination.width() &&
           source.height() == destination.height();
}

}  // namespace

void FilterRunner::render(const Job& job, HostProgress* host) {
    aborted_ = false;
    renderedEveryPixel_ = false;
    if (!renderable(*job.source, *job.destination)) return;
    std::array<const char*, formula::kSourceCount> sources{};
    for (int i = 0; i < formula::kSourceCount; ++i) sources[i] = job.filter.code[i].c_str();
    const formula::FilterCompileResult compiled = formula::compileFilter(sources);
    if (job.mode == Mode::asynchronous && preview_) preview_->sourcesChecked(compiled, job.filter.code);
    if (!compiled.ok) return;

    formula::ImageDescription image;
    image.pixels = job.source->pixels();
    image.width = job.source->width();
    image.height = job.source->height();
    image.hasAlpha = job.source->hasAlpha();
    if (job.swapRedBlue) image.channelMap = {2, 1, 0, 3};
    // Ranges the source tracked as it was filled spare the render a pass; unknown ones are
    // found by the render, and only for a filter that reads them.
    if (job.source->rangesKnown()) image.ranges = &job.source->ranges();

    formula::RenderSetUp setUp;
    for (int i = 0; i < kSliderCount; ++i) setUp.controls[i] = job.filter.controlValue[i];
    setUp.gradientIndex = job.filter.gradientIndex;
    setUp.foreground = job.colours.foreground;
    setUp.background = job.colours.background;
    const RenderTables& tables = renderTables();
    setUp.textureMaps = tables.textureMaps;
    setUp.gradientTable = tables.gradientTable;
    setUp.threads = job.threads;
    const bool asynchronous = job.mode == Mode::asynchronous;
    if (asynchronous) setUp.keptThreads = previewHelpers(job.threads);

    const int32_t height = image.height;
    auto onRow = [&](int32_t row, const formula::PixelContext& context) {
        if (asynchronous && preview_ && row == 0) preview_->started(height - 1, context.gradientByUser);
        if (row % kRowsPerProgressStep == 0) {
            if (asynchronous) {
                if (preview_) preview_->reachedRow(row);
                std::this_thread::yield();
            } else {
                host->progress(row, height);
                if (host->abortRequested()) {
                    aborted_ = true;
                    return false;
                }
            }
        }
        return !cancelRequest_.load();
    };
    renderedEveryPixel_ = formula::renderFilter(compiled.program, image, job.destination->pixels(), setUp, onRow) ==
                          formula::RenderOutcome::kComplete;
    if (asynchronous) {
        if (preview_) preview_->finished();
    } else {
        host->progress(0, height);
    }
}

formula::RenderThreads* FilterRunner::previewHelpers(int32_t threads) {
    const int helpers = (threads > 0 ? threads : formula::hardwareThreads()) - 1;
    if (helpers < 1) return nullptr;
    // Previews follow each other while a slider moves: their helpers stay from one to the next,
    // at the worker's lowered priority.
    if (!previewHelpers_ || previewHelpers_->helpers() != helpers)
        previewHelpers_ = std::make_unique<formula::RenderThreads>(helpers, lowerCurrentThreadPriority);
    return previewHelpers_.get();
}

void FilterRunner::stopWorker() {
    std::lock_guard threadLock{threadLock_};
    if (!worker_.running()) {
        worker_.waitForExit();
        return;
    }
    cancelRequest_ = true;
    worker_.waitForExit();
    cancelRequest_ = false;
}

bool FilterRunner::runSynchronous(const ImageBuffer& source, ImageBuffer& destination, HostProgress& host,
                                  ParameterBlock& block) {
    std::lock_guard jobLock{jobLock_};
    stopWorker();
    const Job job{&source, &destination, Mode::synchronous, filter_, colours_, swapRedBlue_, threads_};
    render(job, &host);
    storeCurrentFilter(job.filter, block);
    return !aborted_;
}

bool FilterRunner::runAsynchronous(const ImageBuffer& source, ImageBuffer& destination) {
    std::lock_guard jobLock{jobLock_};
    stopWorker();
    Job job{&source, &destination, Mode::asynchronous, filter_, colours_, swapRedBlue_, threads_};
    return worker_.start([this, job = std::move(job)] { render(job, nullptr); });
}

void FilterRunner::stop() { stopWorker(); }

}  // namespace lumen::plugin
