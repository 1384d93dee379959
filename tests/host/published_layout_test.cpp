// The built plug-in replaying a recorded step for a host whose tables lie at the published
// offsets, not where our declarations put them: the run must not crash, must apply the
// recorded filter and must write the step back.
#include <gtest/gtest.h>

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#include "host/about_watch.h"
#include "host/filter_session.h"
#include "host/host_handles.h"
#include "tests/host/published_host.h"

using namespace lumen;
using namespace lumen::host;
using testhost::PublishedHost;

namespace {

imaging::RgbaImage patternImage(int width, int height) {
    imaging::RgbaImage image{width, height, true, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    return image;
}

DescriptorItem text(const char (&key)[5], std::string value) {
    return {hostapi::fourCharCode(key), hostapi::typeChar, 0, std::move(value)};
}

// Red inverted, green from the first slider, blue halved, alpha kept.
Descriptor recordedStep() {
    return {text("fxNM", "Layout check"), text("fxCT", "Tests"),     text("fxS0", "1:64:Green"),
            text("fxC0", "0"),            text("fxC1", "255-r"),     text("fxC2", "ctl(0)"),
            text("fxC3", "b/2"),          text("fxC4", "a"),         {hostapi::fourCharCode("fxGD"), hostapi::typeInteger, 3, {}}};
}

class PublishedLayoutRun : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        plugin = PluginModule::load(LUMEN_PLUGIN_PATH, error);
        ASSERT_TRUE(plugin) << error;
    }
    std::unique_ptr<PluginModule> plugin;
};

}  // namespace

TEST_F(PublishedLayoutRun, RecordedFilterIsAppliedAndWrittenBack) {
    for (HostMode mode : {HostMode::rgb, HostMode::cmyk}) {
        SCOPED_TRACE(mode == HostMode::rgb ? "RGB" : "CMYK");
        const int handlesBefore = liveHostHandles();
        PublishedHost published;
        published.giveDescriptor(recordedStep());
        const imaging::RgbaImage input = patternImage(9, 4);
        HostImage image = hostImageFromRgba(input, mode, 0);
        ApplyOptions options;
        options.mode = mode;
        options.finishRecord = [&](hostapi::FilterRecord& record) { published.attachTo(record); };
        FilterSession session{*plugin};
        const RunResult run = session.apply(image, options);
        ASSERT_EQ(run.result, 0) << "failed at selector " << run.failedSelector;

        const imaging::RgbaImage output = rgbaFromHostImage(image);
        for (size_t i = 0; i < input.pixels.size(); i += 4) {
            SCOPED_TRACE(testing::Message() << "pixel " << i / 4);
            EXPECT_EQ(output.pixels[i], 255 - input.pixels[i]);
            EXPECT_EQ(output.pixels[i + 1], 64);
            EXPECT_EQ(output.pixels[i + 2], input.pixels[i + 2] / 2);
            EXPECT_EQ(output.pixels[i + 3], input.pixels[i + 3]);
        }
        if (mode == HostMode::cmyk) {
            EXPECT_EQ(PublishedHost::colourCalls().conversions, 2 * 9 * 4) << "every pixel, in and out";
            EXPECT_EQ(PublishedHost::colourCalls().refused, 0);
            EXPECT_EQ(PublishedHost::colourCalls().lastInfoSize, int32_t(testhost::color_services_info::size));
        }

        ASSERT_NE(published.descriptor(), nullptr) << "the step is written where the host looks for it";
        EXPECT_EQ(published.descriptorParameters.get<int16_t>(testhost::descriptor_parameters::recordInfo),
                  hostapi::plugInDialogOptional);
        auto written = decodeDescriptor(hostHandleBytes(published.descriptor()));
        ASSERT_TRUE(written);
        ASSERT_EQ(written->size(), 17u);
        EXPECT_EQ((*written)[0].text, "Layout check");
        EXPECT_EQ((*written)[1].text, "Tests");
        EXPECT_EQ((*written)[3].text, "1:64:Green");
        EXPECT_EQ((*written)[12].text, "255-r");
        EXPECT_EQ((*written)[13].text, "ctl(0)");
        EXPECT_EQ((*written)[16].integer, 3);
        published.disposeDescriptor();
        EXPECT_EQ(liveHostHandles(), handlesBefore) << "every handle of the run is given back";
    }
}

TEST(PublishedLayoutHost, OurHostsTablesLieAtThePublishedOffsets) {
    // The published host places our host's own procedures at the published offsets, so the
    // two agree byte for byte only when our host's tables are laid out as published.
    PublishedHost published;
    EXPECT_EQ(std::memcmp(&hostHandleProcs(), published.handleProcs.data(), testhost::handle_procs::size), 0);
    EXPECT_EQ(std::memcmp(&hostBufferProcs(), published.bufferProcs.data(), testhost::buffer_procs::size), 0);
    EXPECT_EQ(std::memcmp(hostReadDescriptorProcs(), published.readDescriptorProcs.data(),
                          testhost::read_descriptor_procs::size),
              0);
    EXPECT_EQ(std::memcmp(hostWriteDescriptorProcs(), published.writeDescriptorProcs.data(),
                          testhost::write_descriptor_procs::size),
              0);
}

TEST_F(PublishedLayoutRun, OurHostsColourServicesReadThePublishedRecord) {
    hostapi::ColorServicesProc colourServices = nullptr;
    ApplyOptions options;
    options.playInfo = hostapi::plugInDialogDontDisplay;
    options.finishRecord = [&](hostapi::FilterRecord& record) { colourServices = record.colorServices; };
    HostImage image = hostImageFromRgba(patternImage(2, 2), HostMode::rgb, 0);
    FilterSession session{*plugin};
    session.apply(image, options);
    ASSERT_NE(colourServices, nullptr);

    namespace info = testhost::color_services_info;
    testhost::RawRecord record{info::size};
    record.put<int32_t>(info::infoSize, info::size);
    record.put<int16_t>(info::selector, hostapi::plugIncolorServicesConvertColor);
    record.put<int16_t>(info::sourceSpace, hostapi::plugIncolorServicesCMYKSpace);
    record.put<int16_t>(info::resultSpace, hostapi::plugIncolorServicesRGBSpace);
    const int16_t cmyk[4] = {10, 20, 30, 5};
    for (int i = 0; i < 4; ++i) record.put<int16_t>(info::colorComponents + 2 * i, cmyk[i]);
    auto* published = static_cast<hostapi::ColorServicesInfo*>(record.data());
    ASSERT_EQ(colourServices(published), hostapi::noErr);
    EXPECT_EQ(record.get<int16_t>(info::colorComponents), 240);
    EXPECT_EQ(record.get<int16_t>(info::colorComponents + 2), 230);
    EXPECT_EQ(record.get<int16_t>(info::colorComponents + 4), 220);

    // A record sized for 32-bit hosts has its components elsewhere: refused, not misread.
    record.put<int32_t>(info::infoSize, 36);
    EXPECT_EQ(colourServices(published), hostapi::paramErr);
}

#ifdef _WIN32
// Needs a display: the Windows tests run inside one xvfb-run.
TEST_F(PublishedLayoutRun, AboutBoxBelongsToTheWindowInThePublishedAboutRecord) {
    HWND window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    testhost::PublishedAboutRecord about{reinterpret_cast<intptr_t>(window)};
    AboutWatch watch{"", 300};
    int16_t result = -1;
    intptr_t data = 0;
    plugin->entry()(hostapi::filterSelectorAbout, about.data(), &data, &result);
    EXPECT_TRUE(watch.finish());
    EXPECT_EQ(watch.owner(), reinterpret_cast<intptr_t>(window));
    EXPECT_EQ(result, 0);
    DestroyWindow(window);
}
#endif
