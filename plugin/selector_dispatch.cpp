#include "selector_dispatch.h"

#include <memory>
#include <new>

#include "plugin/about_box.h"
#include "plugin/image_requests.h"
#include "plugin/main_dialog.h"
#include "plugin/parameter_block.h"
#include "plugin/pixel_exchange.h"
#include "plugin/plugin_instance.h"
#include "plugin/scripting_descriptor.h"

namespace lumen::plugin {
namespace {

using namespace hostapi;

std::unique_ptr<PluginInstance> instance;

// The host's progress bar and abort test; either may be missing.
class RecordProgress final : public HostProgress {
public:
    explicit RecordProgress(const FilterRecord& record)
        : progress_(record.progressProc), abort_(record.abortProc) {}
    void progress(int32_t done, int32_t total) override {
        if (progress_) progress_(done, total);
    }
    bool abortRequested() override { return abort_ && abort_(); }

private:
    ProgressProc progress_;
    TestAbortProc abort_;
};

RenderColours coloursOf(const FilterRecord& record) {
    RenderColours colours;
    for (int i = 0; i < 3; ++i) {
        colours.foreground[i] = record.foreColor[i];
        colours.background[i] = record.backColor[i];
    }
    return colours;
}

int16_t cancelRun(FilterRecord& record) {
    clearRequests(record);
    instance.reset();
    return userCanceledErr;
}

int16_t prepareBlock(FilterRecord& record, bool forceDialog) {
    EnsureResult ensured = ensureParameterBlock(record);
    if (!ensured.block) return memFullErr;
    if (forceDialog || ensured.created) ensured.block->showDialog = 1;
    return noErr;
}

int16_t start(FilterRecord& record) {
    ParameterBlock* block = currentParameterBlock();
    if (!block) return memFullErr;
    readScriptingDescriptor(record, *block);
    requestInput(record);
    return noErr;
}

int16_t inputPhase(FilterRecord& record) {
    ParameterBlock* block = currentParameterBlock();
    if (!block) return memFullErr;
    if (const int16_t read = readInputFromHost(record, instance->source); read != noErr) return read;
    // Every preview of the dialog stands for this image and takes its ranges: found once here.
    if (block->showDialog) instance->source.findRanges();
    std::unique_ptr<MainDialog> dialog = makeMainDialog(*instance, *block);
    if (block->showDialog) {
        const DialogResult outcome = dialog->runModal();
        block->showDialog = 0;
        if (outcome != DialogResult::apply) {
            dialog.reset();
            return cancelRun(record);
        }
    }
    // The render writes every pixel, so the working image is not filled first; a filter that
    // does not compile draws nothing, and then the unfiltered copy goes back.
    const ImageBuffer& source = instance->source;
    if (!instance->working.allocate(source.width(), source.height(), source.kind(), source.hasAlpha(),
                                    GlobalFill::kUnset))
        return memFullErr;
    FilterRunner& runner = dialog->runner();
    runner.setColours(coloursOf(record));
    runner.setSwapRedBlue(block->swapRedBlue != 0);
    RecordProgress progress{record};
    if (!runner.runSynchronous(source, instance->working, progress, *block)) {
        dialog.reset();
        return cancelRun(record);
    }
    if (!runner.renderedEveryPixel() && !instance->working.cloneFrom(source)) return memFullErr;
    requestOutput(record);
    return noErr;
}

int16_t outputPhase(FilterRecord& record) {
    if (const int16_t written = writeOutputToHost(record, instance->working); written != noErr) return written;
    if (ParameterBlock* block = currentParameterBlock()) writeScriptingDescriptor(record, *block);
    clearRequests(record);
    instance.reset();
    return noErr;
}

int16_t continuePhase(FilterRecord& record) {
    if (inputDelivered(record)) return inputPhase(record);
    if (outputDelivered(record)) return outputPhase(record);
    clearRequests(record);
    return noErr;
}

int16_t dispatch(int16_t selector, void* record) {
    if (!instance) instance = std::make_unique<PluginInstance>();
    instance->record = static_cast<FilterRecord*>(record);
    if (selector == filterSelectorAbout) {
        showAboutBox(static_cast<const AboutRecord*>(record));
        return noErr;
    }
    if (selector < filterSelectorParameters || selector > filterSelectorFinish) return filterBadParameters;
    if (!record) return paramErr;
    FilterRecord& filter = *static_cast<FilterRecord*>(record);
    switch (selector) {
    case filterSelectorParameters: return prepareBlock(filter, true);
    case filterSelectorPrepare: return prepareBlock(filter, false);
    case filterSelectorStart: return start(filter);
    case filterSelectorContinue: return continuePhase(filter);
    default:
        clearRequests(filter);
        instance.reset();
        return noErr;
    }
}

}  // namespace

PluginInstance* currentInstance() { return instance.get(); }

int16_t dispatchSelector(int16_t selector, void* record) {
    try {
        return dispatch(selector, record);
    } catch (const std::bad_alloc&) {
        return memFullErr;
    } catch (...) {
        return paramErr;
    }
}

}  // namespace lumen::plugin
