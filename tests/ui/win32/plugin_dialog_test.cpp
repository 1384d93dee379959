// The plug-in as a host runs it with the dialog shown: Apply filters the host's image, Cancel
// ends the run with userCanceledErr and leaves the image as it was.
#include <gtest/gtest.h>

#include "host/filter_session.h"
#include "resources/resource_ids.h"
#include "ui_driver.h"

namespace lumen::ui {
namespace {

using namespace testing;
using namespace lumen::host;

imaging::RgbaImage pattern() {
    imaging::RgbaImage image{9, 6, false, std::vector<uint8_t>(9 * 6 * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i % 4 == 3 ? 255 : i * 29);
    return image;
}

ApplyOptions invertingRed() {
    ApplyOptions options;
    options.playInfo = hostapi::plugInDialogDisplay;
    const char* codes[] = {"0", "255-r", "g", "b", "a"};
    for (int i = 0; i < 5; ++i) {
        char key[5] = {'f', 'x', 'C', static_cast<char>('0' + i), 0};
        options.descriptor.push_back({hostapi::fourCharCode(key), hostapi::typeChar, 0, codes[i]});
    }
    return options;
}

class PluginDialog : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        plugin_ = PluginModule::load(LUMEN_PLUGIN_PATH, error);
        ASSERT_TRUE(plugin_) << error;
    }
    // Runs the filter with the dialog; the driver presses `button` once it is up.
    RunResult runPressing(FilterSession& session, HostImage& image, int button) {
        RunResult run;
        runDriven([&] { run = session.apply(image, invertingRed()); },
                  [&](DWORD ui) {
                      HWND dialog = waitForWindowWith(ui, kMainTabs);
                      ASSERT_TRUE(dialog) << "the dialog is shown";
                      pressButton(dialog, button);
                  });
        return run;
    }
    std::unique_ptr<PluginModule> plugin_;
};

TEST_F(PluginDialog, ApplyFiltersTheHostsImage) {
    FilterSession session{*plugin_};
    HostImage image = hostImageFromRgba(pattern(), HostMode::rgb, 0);
    const std::vector<uint8_t> before = image.pixels;
    EXPECT_EQ(runPressing(session, image, IDOK).result, hostapi::noErr);
    ASSERT_EQ(image.pixels.size(), before.size());
    for (size_t i = 0; i < before.size(); i += static_cast<size_t>(image.planes)) {
        EXPECT_EQ(image.pixels[i], 255 - before[i]);
        EXPECT_EQ(image.pixels[i + 1], before[i + 1]);
    }
    auto block = session.savedParameters();
    ASSERT_TRUE(block);
    EXPECT_EQ((*block)[6572], 0) << "the dialog ran, so it is not asked for again";
}

TEST_F(PluginDialog, CancelLeavesTheHostsImageUntouched) {
    FilterSession session{*plugin_};
    HostImage image = hostImageFromRgba(pattern(), HostMode::rgb, 0);
    const std::vector<uint8_t> before = image.pixels;
    EXPECT_EQ(runPressing(session, image, IDCANCEL).result, hostapi::userCanceledErr);
    EXPECT_EQ(image.pixels, before);
}

}  // namespace
}  // namespace lumen::ui
