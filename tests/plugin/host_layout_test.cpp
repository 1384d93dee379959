// The plug-in's users of the host's tables, over tables laid out at the published offsets
// rather than through our own declarations: a layout fault shared by our plug-in and our host
// shows here as a wrong value or a call through the wrong slot.
#include <gtest/gtest.h>

#include <cstring>

#include "host/host_handles.h"
#include "plugin/handle_layer.h"
#include "plugin/host_detection.h"
#include "plugin/host_drawing.h"
#include "plugin/image_buffer.h"
#include "plugin/parameter_block.h"
#include "plugin/pixel_exchange.h"
#include "plugin/scripting_descriptor.h"
#include "tests/host/published_host.h"

using namespace lumen;
using namespace lumen::plugin;
using namespace lumen::hostapi;
using testhost::PublishedHost;

namespace {

class PublishedLayout : public testing::Test {
protected:
    void SetUp() override {
        std::memset(&block, 0, sizeof block);
        host.attachTo(record);
        handlesBefore = host::liveHostHandles();
    }
    void TearDown() override {
        host.disposeDescriptor();
        EXPECT_EQ(host::liveHostHandles(), handlesBefore) << "every handle is given back";
    }

    static host::DescriptorItem text(const char (&key)[5], std::string value) {
        return {fourCharCode(key), typeChar, 0, std::move(value)};
    }

    PublishedHost host;
    FilterRecord record{};
    ParameterBlock block;
    int handlesBefore = 0;
};

}  // namespace

TEST_F(PublishedLayout, RecordedStepIsReadAndWrittenThroughThePublishedTables) {
    host.descriptorParameters.put<int16_t>(testhost::descriptor_parameters::playInfo, plugInDialogDisplay);
    host.giveDescriptor({text("fxNM", "Ripple"), text("fxCT", "Distort"), text("fxS2", "1:128:Amount: %"),
                         text("fxC1", "255-r"), {fourCharCode("fxGD"), typeInteger, 17, {}}});
    ASSERT_TRUE(descriptorSuiteAvailable(record));
    readScriptingDescriptor(record, block);
    EXPECT_EQ(fieldText(block.filterName), "Ripple");
    EXPECT_EQ(fieldText(block.filterCategory), "Distort");
    EXPECT_EQ(block.sliderInUse[2], 1);
    EXPECT_EQ(block.sliderValue[2], 128);
    EXPECT_EQ(fieldText(block.sliderLabel[2]), "Amount: %");
    EXPECT_EQ(fieldText(block.codeText[1]), "255-r");
    EXPECT_EQ(block.gradientIndex, 17);
    EXPECT_EQ(block.showDialog, 1) << "playInfo is read where the host put it";
    EXPECT_EQ(host.descriptor(), nullptr) << "the read descriptor is disposed and cleared at its offset";

    writeScriptingDescriptor(record, block);
    ASSERT_NE(host.descriptor(), nullptr);
    EXPECT_EQ(host.descriptorParameters.get<int16_t>(testhost::descriptor_parameters::recordInfo),
              plugInDialogOptional);
    auto written = host::decodeDescriptor(host::hostHandleBytes(host.descriptor()));
    ASSERT_TRUE(written);
    ASSERT_EQ(written->size(), 17u);
    EXPECT_EQ((*written)[0].text, "Ripple");
    EXPECT_EQ((*written)[5].text, "1:128:Amount: %");
    EXPECT_EQ((*written)[12].text, "255-r");
    EXPECT_EQ((*written)[16].integer, 17);
}

TEST_F(PublishedLayout, TablesWithTooFewProceduresAreNotUsed) {
    host.readDescriptorProcs.put<int16_t>(testhost::read_descriptor_procs::count, 17);
    EXPECT_FALSE(descriptorSuiteAvailable(record));
    host.readDescriptorProcs.put<int16_t>(testhost::read_descriptor_procs::count, 18);
    host.readDescriptorProcs.put<void*>(testhost::read_descriptor_procs::firstProc + 8 * 17, nullptr);
    EXPECT_FALSE(descriptorSuiteAvailable(record)) << "the last read procedure is missing";

    host.handleProcs.put<int16_t>(testhost::handle_procs::count, 6);
    EXPECT_FALSE(HandleLayer{record}.usesHostProcs());
}

TEST_F(PublishedLayout, TextHandlesAreTheHostsOwn) {
    HandleLayer handles{record};
    ASSERT_TRUE(handles.usesHostProcs());
    Handle handle = handles.textHandle("Korvath");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(host::liveHostHandles(), handlesBefore + 1);
    EXPECT_EQ(host::hostHandleBytes(handle), "Korvath") << "made by newProc, filled through lockProc";
    EXPECT_EQ(handles.size(handle), 7);
    EXPECT_EQ(handles.takeText(handle), "Korvath");
    EXPECT_EQ(handles.lastError(), noErr);
}

TEST_F(PublishedLayout, CmykGoesBothWaysThroughTheColourServices) {
    // Two pixels of C, M, Y, K and alpha: the host's model gives RGB = 255 - C - K.
    uint8_t in[10] = {10, 20, 30, 5, 200, 255, 0, 100, 0, 77};
    record.imageMode = plugInModeCMYKColor;
    record.planes = 5;
    record.filterRect = {0, 0, 1, 2};
    record.inData = in;
    record.inRowBytes = 10;
    record.inColumnBytes = 5;
    record.inLoPlane = 0;
    record.inHiPlane = 4;
    ImageBuffer source;
    ASSERT_EQ(readInputFromHost(record, source), noErr);
    const uint8_t expected[8] = {240, 230, 220, 200, 0, 255, 155, 77};
    EXPECT_EQ(std::memcmp(source.pixels(), expected, 8), 0);
    EXPECT_EQ(PublishedHost::colourCalls().conversions, 2);
    EXPECT_EQ(PublishedHost::colourCalls().refused, 0);
    EXPECT_EQ(PublishedHost::colourCalls().lastInfoSize, int32_t(testhost::color_services_info::size));

    uint8_t out[10] = {};
    record.outData = out;
    record.outRect = record.filterRect;
    record.outRowBytes = 10;
    record.outColumnBytes = 5;
    record.outLoPlane = 0;
    record.outHiPlane = 4;
    ASSERT_EQ(writeOutputToHost(record, source), noErr);
    const uint8_t back[10] = {15, 25, 35, 0, 200, 255, 0, 100, 0, 77};
    EXPECT_EQ(std::memcmp(out, back, 10), 0);
    EXPECT_EQ(PublishedHost::colourCalls().conversions, 4);
}

TEST_F(PublishedLayout, PreviewIsDescribedToDisplayPixelsAtThePublishedOffsets) {
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "with alpha" : "without alpha");
        ImageBuffer buffer;
        ASSERT_TRUE(buffer.allocate(3, 2, ImageBuffer::kFourChannels, alpha));
        for (int i = 0; i < 24; ++i) buffer.pixels()[i] = static_cast<uint8_t>(i * 11 + 1);
        int deviceContext = 0;
        ASSERT_EQ(drawThroughHost(record, buffer, &deviceContext, 40, 30), noErr);

        const testhost::DrawnMap& drawn = PublishedHost::drawn();
        EXPECT_EQ(drawn.calls, alpha ? 2 : 1);
        EXPECT_EQ(drawn.version, 1);
        EXPECT_EQ(drawn.bounds[0], 0);
        EXPECT_EQ(drawn.bounds[1], 0);
        EXPECT_EQ(drawn.bounds[2], 2);
        EXPECT_EQ(drawn.bounds[3], 3);
        EXPECT_EQ(std::memcmp(drawn.sourceRect, drawn.bounds, sizeof drawn.bounds), 0);
        EXPECT_EQ(drawn.imageMode, plugInModeRGBColor);
        EXPECT_EQ(drawn.rowBytes, 12);
        EXPECT_EQ(drawn.colBytes, 4);
        EXPECT_EQ(drawn.planeBytes, 1);
        EXPECT_EQ(drawn.baseAddr, buffer.pixels());
        EXPECT_EQ(drawn.masks, nullptr);
        EXPECT_EQ(drawn.destinationRow, 30);
        EXPECT_EQ(drawn.destinationColumn, 40);
        EXPECT_EQ(drawn.context, &deviceContext);
        EXPECT_EQ(drawn.hasMat, alpha);
        if (alpha) {
            EXPECT_FALSE(drawn.matHasNext);
            EXPECT_EQ(drawn.matRowBytes, 12);
            EXPECT_EQ(drawn.matColBytes, 4);
            EXPECT_EQ(drawn.matDescription, 0);
        }
        std::vector<uint8_t> expected(buffer.pixels(), buffer.pixels() + 24);
        if (!alpha)
            for (size_t i = 3; i < expected.size(); i += 4) expected[i] = 255;
        EXPECT_EQ(drawn.rgba, expected) << "the host reads the buffer's pixels, alpha from the mat";
    }
}

TEST_F(PublishedLayout, DrawingFallsBackWhenTheHostCannot) {
    ImageBuffer buffer;
    ASSERT_TRUE(buffer.allocate(2, 2, ImageBuffer::kFourChannels, false));
    PublishedHost::drawResult() = errPlugInHostInsufficient;
    EXPECT_EQ(drawThroughHost(record, buffer, nullptr, 0, 0), errPlugInHostInsufficient);
    ImageBuffer empty;
    EXPECT_EQ(drawThroughHost(record, empty, nullptr, 0, 0), paramErr);
    EXPECT_EQ(PublishedHost::drawn().calls, 1) << "an empty buffer is not handed over";
    record.displayPixels = nullptr;
    PublishedHost::drawResult() = noErr;
    EXPECT_EQ(drawThroughHost(record, buffer, nullptr, 0, 0), errPlugInHostInsufficient);

    // A host that offers displayPixels and the buffer procedures draws the preview itself.
    host.attachTo(record);
    detectHost(record, HostProcess{"C:\\Apps\\Editor.exe", nullptr}, block);
    EXPECT_EQ(block.drawPreviewDirect, 0);
    record.bufferProcs = nullptr;
    detectHost(record, HostProcess{"C:\\Apps\\Editor.exe", nullptr}, block);
    EXPECT_EQ(block.drawPreviewDirect, 1);
}
