// What the host shows of a plug-in's pixel map: the colours laid over white by the mat, and
// maps it cannot take refused rather than read past.
#include "host/host_display.h"

#include <gtest/gtest.h>

#include <array>

namespace lumen::host {
namespace {

using namespace hostapi;

struct TwoPixels {
    std::array<uint8_t, 8> rgba{10, 20, 30, 255, 200, 100, 50, 0};
    PSPixelMask mat{nullptr, rgba.data() + 3, 8, 4, 0};
    PSPixelMap map{};
    TwoPixels() {
        map.version = 1;
        map.bounds = {0, 0, 1, 2};
        map.imageMode = plugInModeRGBColor;
        map.rowBytes = 8;
        map.colBytes = 4;
        map.planeBytes = 1;
        map.baseAddr = rgba.data();
    }
};

TEST(HostDisplay, OpaquePixelsKeepTheirColourAndTransparentOnesShowWhite) {
    TwoPixels pixels;
    pixels.map.mat = &pixels.mat;
    const auto rows = composeForDisplay(pixels.map, pixels.map.bounds);
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, (std::vector<uint8_t>{30, 20, 10, 0, 255, 255, 255, 0}));
    pixels.rgba[7] = 128;
    const auto half = composeForDisplay(pixels.map, pixels.map.bounds);
    ASSERT_TRUE(half);
    EXPECT_EQ(std::vector<uint8_t>(half->begin() + 4, half->end()),
              (std::vector<uint8_t>{(50 * 128 + 255 * 127) / 255, (100 * 128 + 255 * 127) / 255,
                                    (200 * 128 + 255 * 127) / 255, 0}));
}

TEST(HostDisplay, WithoutMatEveryPixelIsOpaqueAndAPartOfTheMapCanBeShown) {
    TwoPixels pixels;
    const auto rows = composeForDisplay(pixels.map, {0, 1, 1, 2});
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, (std::vector<uint8_t>{50, 100, 200, 0}));
}

TEST(HostDisplay, MapsTheHostCannotTakeAreRefused) {
    TwoPixels pixels;
    EXPECT_FALSE(composeForDisplay(pixels.map, {0, 0, 2, 2})) << "rectangle below the bounds";
    EXPECT_FALSE(composeForDisplay(pixels.map, {0, 1, 1, 1})) << "empty rectangle";
    PSPixelMap cmyk = pixels.map;
    cmyk.imageMode = plugInModeCMYKColor;
    EXPECT_FALSE(composeForDisplay(cmyk, cmyk.bounds));
    PSPixelMap noPixels = pixels.map;
    noPixels.baseAddr = nullptr;
    EXPECT_FALSE(composeForDisplay(noPixels, noPixels.bounds));
    PSPixelMask emptyMat = pixels.mat;
    emptyMat.maskData = nullptr;
    PSPixelMap badMat = pixels.map;
    badMat.mat = &emptyMat;
    EXPECT_FALSE(composeForDisplay(badMat, badMat.bounds));
}

}  // namespace
}  // namespace lumen::host
