#pragma once
// Renders the current filter over a source image into a destination: synchronously for the
// apply (the host's progress and abort tests, then the filter is recorded in the block), or on
// a worker thread for the preview (stopped by the next job or by stop()).
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "formula/compile_filter.h"
#include "formula/render_threads.h"

#include "plugin/current_filter.h"
#include "plugin/worker_thread.h"

namespace lumen::plugin {

class ImageBuffer;
struct ParameterBlock;

// The host's side of a synchronous apply: its progress bar and its abort test.
class HostProgress {
public:
    virtual ~HostProgress() = default;
    virtual void progress(int32_t done, int32_t total) = 0;
    // True when the user asked the host to stop.
    virtual bool abortRequested() = 0;
};

// The dialog's side of a preview render; called on the worker thread, so implementations
// only post messages and invalidate windows.
class PreviewProgress {
public:
    virtual ~PreviewProgress() = default;
    // Before the first row: the progress range 0..lastRow, and whether Code0 selected a
    // gradient of the user's (the dialog then shows its gradient bar).
    virtual void started(int32_t lastRow, int32_t gradientByUser) = 0;
    // After the sources were checked, before any row; a failed check renders nothing and keeps
    // the destination as it was.
    virtual void sourcesChecked(const formula::FilterCompileResult& /*compiled*/,
                                const std::array<std::string, formula::kSourceCount>& /*sources*/) {}
    // Every 10 rows: the position, and the preview repainted as far as it has grown.
    virtual void reachedRow(int32_t row) = 0;
    virtual void finished() = 0;
};

struct RenderColours {
    std::array<uint8_t, 3> foreground{};
    std::array<uint8_t, 3> background{};
};

class FilterRunner {
public:
    explicit FilterRunner(PreviewProgress* preview = nullptr) : preview_(preview) {}
    FilterRunner(const FilterRunner&) = delete;
    FilterRunner& operator=(const FilterRunner&) = delete;
    ~FilterRunner() { stop(); }

    // The filter and settings of the next job; a running preview keeps the ones it started with.
    void setFilter(const CurrentFilter& filter) { filter_ = filter; }
    const CurrentFilter& filter() const { return filter_; }
    void setColours(const RenderColours& colours) { colours_ = colours; }
    void setSwapRedBlue(bool swap) { swapRedBlue_ = swap; }
    // Who hears of the preview's rows; set while no preview runs.
    void setPreviewProgress(PreviewProgress* preview) { preview_ = preview; }
    // Threads a job may render on; 0 (the default): one per core.
    void setThreads(int32_t threads) { threads_ = threads; }

    // Renders on the calling thread; then records the filter in `block`. A filter that does not
    // compile draws nothing and reports no progress, and the destination keeps its content.
    // False when the host's abort test stopped the render.
    bool runSynchronous(const ImageBuffer& source, ImageBuffer& destination, HostProgress& host,
                        ParameterBlock& block);
    // Stops a running preview, then starts this one on a worker thread and returns. Both
    // buffers must stay alive until the next run, stop() or the runner's end.
    bool runAsynchronous(const ImageBuffer& source, ImageBuffer& destination);
    // Stops a running preview; idle, it returns at once.
    void stop();

    bool aborted() const { return aborted_.load(); }
    // Whether the last render wrote every pixel of its destination (false when the filter did
    // not compile or the render was stopped).
    bool renderedEveryPixel() const { return renderedEveryPixel_.load(); }

private:
    enum class Mode { synchronous, asynchronous };
    struct Job;
    void stopWorker();
    void render(const Job& job, HostProgress* host);
    // The kept helper threads of previews on `threads` threads (0: every core); null for one.
    formula::RenderThreads* previewHelpers(int32_t threads);

    PreviewProgress* preview_;
    CurrentFilter filter_;
    RenderColours colours_;
    bool swapRedBlue_ = false;
    int32_t threads_ = 0;

    std::mutex jobLock_;     // taken first: held while a job starts or runs synchronously
    std::mutex threadLock_;  // then this one: held while a running job is stopped
    std::unique_ptr<formula::RenderThreads> previewHelpers_;  // used by the worker alone
    WorkerThread worker_;
    std::atomic<bool> cancelRequest_{false};
    std::atomic<bool> aborted_{false};
    std::atomic<bool> renderedEveryPixel_{false};
};

}  // namespace lumen::plugin
