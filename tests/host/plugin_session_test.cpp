// The plug-in driven in-process by the host's own code, as lumenforge-host drives it: found
// through its PiPL, run through the whole selector sequence, parameters kept between runs.
#include "host/filter_session.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/host_handles.h"

using namespace lumen;
using namespace lumen::host;

namespace {

imaging::RgbaImage sampleImage() {
    imaging::RgbaImage image;
    std::string error;
    EXPECT_TRUE(imaging::readPng(std::string(LUMEN_SOURCE_DIR) + "/tests/host/data/sample.png", image, error)) << error;
    return image;
}

// Windows plug-ins show their dialog to a display run and wait for a user; the dialog itself is
// driven by the user-interface tests.
ApplyOptions unattended() {
    ApplyOptions options;
#ifdef _WIN32
    options.playInfo = hostapi::plugInDialogDontDisplay;
#endif
    return options;
}

std::unique_ptr<PluginModule> loadPlugin() {
    std::string error;
    auto plugin = PluginModule::load(LUMEN_PLUGIN_PATH, error);
    EXPECT_TRUE(plugin) << error;
    return plugin;
}

}  // namespace

TEST(PluginSession, TwoRunsKeepTheParameterHandle) {
    auto plugin = loadPlugin();
    ASSERT_TRUE(plugin);
    FilterSession session{*plugin};
    const imaging::RgbaImage input = sampleImage();
    HostImage image = hostImageFromRgba(input, HostMode::rgb, 0);
    RunResult first = session.apply(image, unattended());
    EXPECT_EQ(first.result, 0);
    const hostapi::Handle parameters = session.parameters();
    ASSERT_NE(parameters, nullptr);
    auto block = session.savedParameters();
    ASSERT_TRUE(block);
    EXPECT_EQ(block->size(), kParameterBlockSize);
    EXPECT_EQ((*block)[6572], 0) << "the dialog ran, so it is not asked for again";

    image = hostImageFromRgba(input, HostMode::rgb, 0);
    RunResult second = session.apply(image, unattended());
    EXPECT_EQ(second.result, 0);
    EXPECT_EQ(session.parameters(), parameters);
}

TEST(PluginSession, SavedBlockComesBackInThePluginsOwnForm) {
    auto plugin = loadPlugin();
    ASSERT_TRUE(plugin);
    std::string saved(kParameterBlockSize, '\0');
    saved[6568] = 17;  // gradientIndex
    saved[6574] = 1;   // drawPreviewDirect, as an earlier detection left it
    FilterSession session{*plugin};
    ASSERT_TRUE(session.restoreParameters(saved));
    EXPECT_FALSE(session.restoreParameters("short"));
    HostImage image = hostImageFromRgba(sampleImage(), HostMode::gray, 0);
    EXPECT_EQ(session.apply(image, unattended()).result, 0);
    auto after = session.savedParameters();
    ASSERT_TRUE(after);
    EXPECT_EQ((*after)[6568], 17);
    EXPECT_EQ((*after)[6574], 1);
}

TEST(PluginSession, AboutReturnsWithoutTouchingParameters) {
    auto plugin = loadPlugin();
    ASSERT_TRUE(plugin);
    FilterSession session{*plugin};
#ifndef _WIN32
    EXPECT_EQ(session.about(), 0);  // under Windows the box would wait for a user
#endif
    EXPECT_EQ(session.parameters(), nullptr);
}

TEST(PluginSession, HostImageConversionsRoundTrip) {
    const imaging::RgbaImage input = sampleImage();
    for (HostMode mode : {HostMode::rgb, HostMode::cmyk, HostMode::multichannel}) {
        const HostImage image = hostImageFromRgba(input, mode, mode == HostMode::multichannel ? 2 : 0);
        EXPECT_EQ(rgbaFromHostImage(image).pixels, input.pixels);
    }
    const HostImage gray = hostImageFromRgba(input, HostMode::gray, 0);
    EXPECT_EQ(gray.planes, 2);
    const imaging::RgbaImage back = rgbaFromHostImage(gray);
    EXPECT_EQ(back.pixels[0], back.pixels[1]);
    EXPECT_EQ(back.pixels[3], input.pixels[3]);
}
