// Whole runs through the plug-in in every image mode the host may hand it: what goes in comes out
// through the identity filter, planes the plug-in does not compute keep their values, and a mode
// the plug-in cannot convert leaves the host's image alone.
#include <gtest/gtest.h>

#include <array>

#include "host/filter_session.h"

using namespace lumen;
using namespace lumen::host;

namespace {

imaging::RgbaImage patternImage(int width, int height, bool hasAlpha) {
    imaging::RgbaImage image{width, height, hasAlpha, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    if (!hasAlpha)
        for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
    return image;
}

// A recorded filter with these five sources.
Descriptor filterOf(const std::array<const char*, 5>& codes) {
    Descriptor descriptor;
    for (int i = 0; i < 5; ++i) {
        char key[5] = {'f', 'x', 'C', static_cast<char>('0' + i), 0};
        descriptor.push_back({hostapi::fourCharCode(key), hostapi::typeChar, 0, codes[i]});
    }
    return descriptor;
}

Descriptor identityFilter() { return filterOf({"0", "r", "g", "b", "a"}); }
Descriptor zeroRedFilter() { return filterOf({"0", "0", "g", "b", "a"}); }

class ImageModes : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        plugin = PluginModule::load(LUMEN_PLUGIN_PATH, error);
        ASSERT_TRUE(plugin) << error;
    }
    RunResult run(HostImage& image, ApplyOptions options) {
        options.playInfo = hostapi::plugInDialogDontDisplay;
        if (options.descriptor.empty()) options.descriptor = identityFilter();
        FilterSession session{*plugin};
        return session.apply(image, options);
    }
    std::unique_ptr<PluginModule> plugin;
};

}  // namespace

TEST_F(ImageModes, IdentityFilterReturnsEveryModeUnchanged) {
    for (HostMode mode : {HostMode::gray, HostMode::rgb, HostMode::multichannel}) {
        for (bool alpha : {false, true}) {
            for (bool columnBytes : {true, false}) {
                SCOPED_TRACE(testing::Message() << "mode " << int(mode) << " alpha " << alpha << " columnBytes " << columnBytes);
                HostImage image = hostImageFromRgba(patternImage(7, 5, alpha), mode, mode == HostMode::multichannel ? 2 : 0);
                const std::vector<uint8_t> before = image.pixels;
                ApplyOptions options;
                options.mode = mode;
                options.columnBytes = columnBytes;
                EXPECT_EQ(run(image, options).result, 0);
                EXPECT_EQ(image.pixels, before);
            }
        }
    }
}

TEST_F(ImageModes, HostDeliveringBlueFirstGetsItsImageBackInItsOrder) {
    HostImage image = hostImageFromRgba(patternImage(6, 4, true), HostMode::rgb, 0);
    const std::vector<uint8_t> before = image.pixels;
    ApplyOptions options;
    options.hostSignature = hostapi::fourCharCode("SABI");
    EXPECT_EQ(run(image, options).result, 0);
    EXPECT_EQ(image.pixels, before);
}

TEST_F(ImageModes, SinglePixelSelection) {
    HostImage image = hostImageFromRgba(patternImage(1, 1, false), HostMode::rgb, 0);
    const std::vector<uint8_t> before = image.pixels;
    RunResult result = run(image, {});
    EXPECT_EQ(result.result, 0);
    EXPECT_EQ(image.pixels, before);
}

TEST_F(ImageModes, CmykWithoutColourServicesIsRefusedAndLeftUntouched) {
    HostImage image = hostImageFromRgba(patternImage(5, 3, false), HostMode::cmyk, 0);
    const std::vector<uint8_t> before = image.pixels;
    ApplyOptions options;
    options.mode = HostMode::cmyk;
    options.colorServices = false;
    const RunResult result = run(image, options);
    EXPECT_EQ(result.result, hostapi::filterBadMode);
    EXPECT_EQ(image.pixels, before);
}

TEST_F(ImageModes, CmykThroughColourServicesComesBackAsCmyk) {
    HostImage image = hostImageFromRgba(patternImage(5, 3, false), HostMode::cmyk, 0);
    ApplyOptions options;
    options.mode = HostMode::cmyk;
    EXPECT_EQ(run(image, options).result, 0);
    EXPECT_EQ(image.planes, 4);
    EXPECT_EQ(rgbaFromHostImage(image).pixels, patternImage(5, 3, false).pixels)
        << "the identity filter gives back the colours the host converted";
}

TEST_F(ImageModes, PlanesThePluginDoesNotComputeKeepTheirValues) {
    HostImage image = hostImageFromRgba(patternImage(6, 5, true), HostMode::multichannel, 2);
    const std::vector<uint8_t> before = image.pixels;
    ApplyOptions options;
    options.mode = HostMode::multichannel;
    options.extraPlanes = 2;
    options.descriptor = zeroRedFilter();
    ASSERT_EQ(run(image, options).result, 0);
    for (size_t pixel = 0; pixel < size_t(image.width) * image.height; ++pixel) {
        const size_t at = pixel * image.planes;
        ASSERT_EQ(image.pixels[at], 0) << "the first plane is the filter's red";
        for (int plane = 1; plane < image.planes; ++plane) ASSERT_EQ(image.pixels[at + plane], before[at + plane]);
    }
}

TEST_F(ImageModes, HostDeliveringBlueFirstHasItsRedPlaneFiltered) {
    HostImage image = hostImageFromRgba(patternImage(4, 3, false), HostMode::rgb, 0);
    const std::vector<uint8_t> before = image.pixels;
    ApplyOptions options;
    options.hostSignature = hostapi::fourCharCode("SABI");
    options.descriptor = zeroRedFilter();
    ASSERT_EQ(run(image, options).result, 0);
    for (size_t at = 0; at < image.pixels.size(); at += 3) {
        EXPECT_EQ(image.pixels[at], before[at]) << "the host's first plane is its blue";
        EXPECT_EQ(image.pixels[at + 2], 0) << "and its third its red";
    }
}

// hmin and hmax are those of the image the host handed over, in the plug-in's channel order
// (a blue-first host's first plane is the plug-in's blue).
TEST_F(ImageModes, ChannelRangesAreTheHostImages) {
    for (const bool blueFirst : {false, true}) {
        SCOPED_TRACE(blueFirst ? "blue first" : "red first");
        imaging::RgbaImage rgba = patternImage(9, 4, false);
        for (size_t i = 0; i < rgba.pixels.size(); i += 4) {
            rgba.pixels[i] = static_cast<uint8_t>(30 + i % 50);  // red 30 ... 78
            rgba.pixels[i + 2] = 200;
        }
        HostImage image = hostImageFromRgba(rgba, HostMode::rgb, 0);
        ApplyOptions options;
        if (blueFirst) options.hostSignature = hostapi::fourCharCode("SABI");
        options.descriptor = filterOf({"0", "hmin(0)", "hmax(0) - hmin(0)", "hmin(2)", "a"});
        ASSERT_EQ(run(image, options).result, 0);
        const imaging::RgbaImage result = rgbaFromHostImage(image);
        for (size_t i = 0; i < result.pixels.size(); i += 4) {
            ASSERT_EQ(result.pixels[i], 30);
            ASSERT_EQ(result.pixels[i + 1], blueFirst ? 0 : 48);
            ASSERT_EQ(result.pixels[i + 2], 200);
        }
    }
}

TEST_F(ImageModes, AbortedApplyEndsCancelledWithTheImageUntouched) {
    HostImage image = hostImageFromRgba(patternImage(3, 45, false), HostMode::rgb, 0);
    const std::vector<uint8_t> before = image.pixels;
    ApplyOptions options;
    options.descriptor = zeroRedFilter();
    options.abortAfterRows = 20;
    const RunResult result = run(image, options);
    EXPECT_EQ(result.result, hostapi::userCanceledErr);
    EXPECT_EQ(image.pixels, before);
    const std::vector<std::pair<int32_t, int32_t>> progress{{0, 45}, {10, 45}, {20, 45}, {0, 45}};
    EXPECT_EQ(result.progress, progress) << "every 10 rows, then back to 0";
}
