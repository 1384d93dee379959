#include "plugin/selector_dispatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "plugin/current_filter.h"
#include "plugin/main_dialog.h"
#include "plugin/parameter_block.h"
#include "plugin/plugin_instance.h"

using namespace lumen::plugin;
using namespace lumen::hostapi;

namespace {

class ScriptedDialog final : public MainDialog {
public:
    static inline DialogResult answer = DialogResult::apply;
    static inline int shown = 0;
    static inline int built = 0;
    DialogResult runModal() override {
        ++shown;
        return answer;
    }
};

std::unique_ptr<MainDialog> makeScriptedDialog(PluginInstance&) {
    ++ScriptedDialog::built;
    return std::make_unique<ScriptedDialog>();
}

class SelectorDispatch : public testing::Test {
protected:
    void SetUp() override {
        ScriptedDialog::answer = DialogResult::apply;
        ScriptedDialog::shown = ScriptedDialog::built = 0;
        setMainDialogFactory(makeScriptedDialog);
        record.filterRect = {2, 3, 12, 23};
        record.planes = 3;
        record.imageMode = plugInModeRGBColor;
    }
    void TearDown() override {
        setMainDialogFactory(nullptr);
        dispatchSelector(filterSelectorFinish, &record);
        disposeParameterHandle(record.parameters);
    }

    // Plays the host's part for one continue call: hands over the requested area.
    int16_t continueWithDelivery() {
        record.inData = record.inRect.right ? pixels.data() : nullptr;
        record.outData = record.outRect.right ? output.data() : nullptr;
        record.inRowBytes = record.outRowBytes = 20 * 3;
        return dispatchSelector(filterSelectorContinue, &record);
    }

    // Calls continue until the plug-in asks for nothing more.
    int16_t runContinues() {
        int16_t result = noErr;
        for (int calls = 0; calls < 4 && (record.inRect.right || record.outRect.right); ++calls) {
            result = continueWithDelivery();
            if (result != noErr) break;
        }
        return result;
    }

    FilterRecord record{};
    std::vector<uint8_t> pixels = std::vector<uint8_t>(20 * 10 * 3, 77);
    std::vector<uint8_t> output = std::vector<uint8_t>(pixels.size(), 5);
};

}  // namespace

TEST_F(SelectorDispatch, FinishWithoutAnyEarlierCallSucceedsAndLeavesNoInstance) {
    EXPECT_EQ(dispatchSelector(filterSelectorFinish, &record), noErr);
    EXPECT_EQ(currentInstance(), nullptr);
}

TEST_F(SelectorDispatch, UnknownSelectorsAreRefusedAndChangeNothing) {
    for (int16_t selector : {int16_t{6}, int16_t{-1}, int16_t{1000}}) {
        EXPECT_EQ(dispatchSelector(selector, &record), filterBadParameters);
        EXPECT_EQ(static_cast<Handle>(record.parameters), nullptr);
    }
}

TEST_F(SelectorDispatch, AboutNeedsNoParametersAndLeavesNoBlock) {
    AboutRecord about{};
    EXPECT_EQ(dispatchSelector(filterSelectorAbout, &about), noErr);
    EXPECT_EQ(currentParameterBlock(), nullptr);
}

TEST_F(SelectorDispatch, ParametersAlwaysAsksForTheDialogPrepareOnlyForANewBlock) {
    ASSERT_EQ(dispatchSelector(filterSelectorPrepare, &record), noErr);
    ParameterBlock* block = currentParameterBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->showDialog, 1);
    block->showDialog = 0;
    ASSERT_EQ(dispatchSelector(filterSelectorPrepare, &record), noErr);
    EXPECT_EQ(block->showDialog, 0);
    ASSERT_EQ(dispatchSelector(filterSelectorParameters, &record), noErr);
    EXPECT_EQ(block->showDialog, 1);
}

TEST_F(SelectorDispatch, PrepareLeavesTheHostsMemoryFigures) {
    record.bufferSpace = 1234;
    record.maxSpace = 5678;
    dispatchSelector(filterSelectorPrepare, &record);
    EXPECT_EQ(record.bufferSpace, 1234);
    EXPECT_EQ(record.maxSpace, 5678);
}

TEST_F(SelectorDispatch, StartRequestsTheWholeAreaInAllPlanes) {
    record.outRect = {1, 1, 2, 2};
    record.maskRect = {1, 1, 2, 2};
    dispatchSelector(filterSelectorPrepare, &record);
    ASSERT_EQ(dispatchSelector(filterSelectorStart, &record), noErr);
    EXPECT_EQ(record.inRect.top, 2);
    EXPECT_EQ(record.inRect.left, 3);
    EXPECT_EQ(record.inRect.bottom, 12);
    EXPECT_EQ(record.inRect.right, 23);
    EXPECT_EQ(record.inLoPlane, 0);
    EXPECT_EQ(record.inHiPlane, 2);
    EXPECT_EQ(record.outRect.right, 0);
    EXPECT_EQ(record.maskRect.right, 0);
    EXPECT_EQ(record.inputRate, 0x10000);
    EXPECT_EQ(record.maskRate, 0);
}

TEST_F(SelectorDispatch, AppliedRunAsksForTheOutputThenStops) {
    dispatchSelector(filterSelectorPrepare, &record);
    dispatchSelector(filterSelectorStart, &record);
    ASSERT_EQ(continueWithDelivery(), noErr);
    EXPECT_EQ(ScriptedDialog::shown, 1);
    EXPECT_EQ(currentParameterBlock()->showDialog, 0);
    EXPECT_EQ(record.inRect.right, 0);
    EXPECT_EQ(record.outRect.right, 23);
    EXPECT_EQ(record.outHiPlane, 2);
    ASSERT_EQ(continueWithDelivery(), noErr);
    EXPECT_EQ(record.outRect.right, 0);
    EXPECT_EQ(currentInstance(), nullptr) << "the output phase ends the run";
    EXPECT_EQ(dispatchSelector(filterSelectorFinish, &record), noErr);
}

// The working image is not filled before the render; a filter that does not compile must still
// give the image back unfiltered.
TEST_F(SelectorDispatch, AppliedFilterOrTheUnfilteredImageGoesBack) {
    for (const char* red : {"255-r", "r+"}) {
        std::fill(output.begin(), output.end(), 5);
        dispatchSelector(filterSelectorPrepare, &record);
        CurrentFilter filter;
        filter.title = filter.category = "test";
        filter.code = {"0", red, "g", "b", "a"};
        storeCurrentFilter(filter, *currentParameterBlock());
        dispatchSelector(filterSelectorStart, &record);
        ASSERT_EQ(runContinues(), noErr);
        const bool compiles = std::string(red) == "255-r";
        for (size_t i = 0; i < output.size(); ++i)
            ASSERT_EQ(output[i], i % 3 == 0 && compiles ? 178 : 77) << red << " at byte " << i;
        dispatchSelector(filterSelectorFinish, &record);
    }
}

TEST_F(SelectorDispatch, ReplayWithoutTheDialogStillBuildsItButDoesNotShowIt) {
    dispatchSelector(filterSelectorPrepare, &record);
    currentParameterBlock()->showDialog = 0;
    dispatchSelector(filterSelectorStart, &record);
    EXPECT_EQ(runContinues(), noErr);
    EXPECT_EQ(ScriptedDialog::built, 1);
    EXPECT_EQ(ScriptedDialog::shown, 0);
}

TEST_F(SelectorDispatch, CancelledDialogEndsTheRunWithUserCanceled) {
    ScriptedDialog::answer = DialogResult::cancel;
    dispatchSelector(filterSelectorParameters, &record);
    dispatchSelector(filterSelectorPrepare, &record);
    dispatchSelector(filterSelectorStart, &record);
    EXPECT_EQ(continueWithDelivery(), userCanceledErr);
    EXPECT_EQ(record.inRect.right, 0);
    EXPECT_EQ(record.outRect.right, 0);
    EXPECT_EQ(record.maskRect.right, 0);
    EXPECT_EQ(currentInstance(), nullptr);
    EXPECT_EQ(currentParameterBlock()->showDialog, 0);
}

TEST_F(SelectorDispatch, ContinueWithNothingDeliveredClearsTheRequests) {
    dispatchSelector(filterSelectorPrepare, &record);
    record.maskRect = {0, 0, 5, 5};
    record.inRect = {0, 0, 5, 0};
    EXPECT_EQ(dispatchSelector(filterSelectorContinue, &record), noErr);
    EXPECT_EQ(record.maskRect.right, 0);
    EXPECT_EQ(record.inRect.bottom, 0);
    EXPECT_EQ(ScriptedDialog::built, 0);
}

TEST_F(SelectorDispatch, SelectorsThatNeedARecordRefuseNull) {
    EXPECT_EQ(dispatchSelector(filterSelectorPrepare, nullptr), paramErr);
    EXPECT_EQ(dispatchSelector(filterSelectorContinue, nullptr), paramErr);
}
