#include "ui/model/preview_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumen::ui {
namespace {

using plugin::ImageBuffer;

void fill(ImageBuffer& image, uint8_t (*value)(int x, int y, int c)) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            for (int c = 0; c < image.bytesPerPixel(); ++c)
                image.pixels()[(size_t(y) * image.width() + x) * image.bytesPerPixel() + c] = value(x, y, c);
}

const uint8_t* pixel(const ImageBuffer& image, int x, int y) {
    return image.pixels() + (size_t(y) * image.width() + x) * image.bytesPerPixel();
}

TEST(PreviewModel, ThumbnailSizeFitsTheAreaWithAPixelOfMarginAndKeepsTheAspect) {
    EXPECT_EQ(previewThumbnailSize({10, 10}, {200, 100}), (Size{98, 98}));
    EXPECT_EQ(previewThumbnailSize({1920, 1080}, {216, 150}), (Size{214, 119}));
    EXPECT_EQ(previewThumbnailSize({1000, 4000}, {200, 100}), (Size{23, 98}));
    // So thin that the margin would eat it: one pixel is kept.
    EXPECT_EQ(previewThumbnailSize({1, 1000}, {200, 100}), (Size{1, 98}));
    EXPECT_EQ(previewThumbnailSize({0, 10}, {200, 100}), (Size{}));
    EXPECT_EQ(previewThumbnailSize({10, 10}, {0, 100}), (Size{}));
}

TEST(PreviewModel, DownscaleEnlargesByRepeatingAndReducesByAveragingBoxes) {
    ImageBuffer big;
    ASSERT_TRUE(big.allocate(10, 10, ImageBuffer::kFourChannels, true));
    fill(big, [](int x, int y, int c) { return uint8_t(c == 3 ? 255 : x * 10 + y); });
    formula::ByteRanges tracked;
    tracked.low[0] = 3;
    tracked.high[0] = 99;
    big.setRanges(tracked);
    ImageBuffer source, destination;
    ASSERT_TRUE(makePreviewThumbnail(big, {200, 100}, source, destination));
    ASSERT_EQ(destination.width(), 98);
    ASSERT_EQ(destination.height(), 98);
    EXPECT_TRUE(destination.hasAlpha());
    // Each source pixel about ten times in each direction, the first at the corner.
    EXPECT_EQ(pixel(destination, 0, 0)[0], 0);
    EXPECT_EQ(pixel(destination, 97, 97)[0], 99);
    EXPECT_EQ(pixel(destination, 10, 0)[0], 0);   // column 10 reads x trunc(1.02 - 0.5) = 0
    EXPECT_EQ(pixel(destination, 15, 0)[0], 10);  // column 15 reads x trunc(1.53 - 0.5) = 1
    EXPECT_EQ(pixel(destination, 0, 20)[0], 1);   // row 20 reads y trunc(2.04 - 0.5) = 1
    EXPECT_EQ(destination.ranges().low[0], 3);
    EXPECT_EQ(destination.ranges().high[0], 99);
    EXPECT_EQ(std::vector<uint8_t>(source.pixels(), source.pixels() + 98 * 98 * 4),
              std::vector<uint8_t>(destination.pixels(), destination.pixels() + 98 * 98 * 4));

    // 4 x 2 into 2 x 1: boxes of 3 x 3 cut at the edge.
    ImageBuffer four, two;
    ASSERT_TRUE(four.allocate(4, 2, ImageBuffer::kFourChannels, false));
    fill(four, [](int x, int y, int c) { return uint8_t(x * 40 + y * 100 + c); });
    four.forgetRanges();  // filled as the host's pixels are, without tracking
    ASSERT_TRUE(two.allocate(2, 1, ImageBuffer::kFourChannels, false));
    ASSERT_TRUE(downscale(four, two));
    EXPECT_EQ(pixel(two, 0, 0)[0], (0 + 40 + 80 + 100 + 140 + 180) / 6);
    EXPECT_EQ(pixel(two, 1, 0)[0], (40 + 80 + 120 + 140 + 180 + 220) / 6);  // sx = trunc(1.5)
    EXPECT_EQ(pixel(two, 1, 0)[2], (40 + 80 + 120 + 140 + 180 + 220) / 6 + 2);
    // Unknown ranges are found over the big image's pixels; without alpha, alpha's stay empty.
    ASSERT_TRUE(two.rangesKnown());
    EXPECT_EQ(two.ranges().low[0], 0);
    EXPECT_EQ(two.ranges().high[0], 220);
    EXPECT_EQ(two.ranges().low[2], 2);
    EXPECT_EQ(two.ranges().high[3], 0);
    EXPECT_EQ(two.ranges().low[3], 255);

    ImageBuffer gray;
    ASSERT_TRUE(gray.allocate(2, 1, ImageBuffer::kOneChannel, false));
    EXPECT_FALSE(downscale(four, gray));
}

TEST(PreviewModel, CentredOrigin) {
    EXPECT_EQ(centredOrigin({216, 150}, {98, 98}), (Point{59, 26}));
    EXPECT_EQ(centredOrigin({10, 10}, {11, 3}), (Point{0, 4}));
}

TEST(PreviewModel, ATransparentBufferDrawsAsThePureCheckerboard) {
    ImageBuffer image;
    ASSERT_TRUE(image.allocate(16, 16, ImageBuffer::kFourChannels, true));
    fill(image, [](int x, int, int c) { return uint8_t(c == 3 ? 0 : 77 + x); });
    std::vector<uint8_t> scratch(16 * 16 * 4);
    ASSERT_TRUE(fillScratch(image, true, scratch));
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j) {
            const uint8_t expected = ((i % 8 < 4) == (j % 8 > 3)) ? 192 : 255;
            const uint8_t* out = &scratch[(size_t(i) * 16 + j) * 4];
            ASSERT_EQ(out[0], expected) << i << "," << j;
            ASSERT_EQ(out[1], expected);
            ASSERT_EQ(out[2], expected);
            ASSERT_EQ(out[3], 255);
        }
    EXPECT_EQ(checkerboardValue(0, 0), 255);
    EXPECT_EQ(checkerboardValue(0, 4), 192);
    EXPECT_EQ(checkerboardValue(4, 0), 192);
    EXPECT_EQ(checkerboardValue(4, 4), 255);
}

TEST(PreviewModel, ScratchPixelsAreBlueFirstAndBlendedByAlpha) {
    ImageBuffer image;
    ASSERT_TRUE(image.allocate(2, 1, ImageBuffer::kFourChannels, true));
    const uint8_t pixels[] = {10, 20, 30, 255, 200, 100, 0, 128};
    std::copy(std::begin(pixels), std::end(pixels), image.pixels());
    std::vector<uint8_t> scratch(8);
    ASSERT_TRUE(fillScratch(image, false, scratch));
    EXPECT_EQ(scratch, (std::vector<uint8_t>{30, 20, 10, 255, 0, 100, 200, 255}));
    ASSERT_TRUE(fillScratch(image, true, scratch));
    // Over the light square: (255 * 127 + c * 128) / 255.
    EXPECT_EQ(scratch, (std::vector<uint8_t>{30, 20, 10, 255, 127, 177, 227, 255}));
    std::vector<uint8_t> wrong(7);
    EXPECT_FALSE(fillScratch(image, false, wrong));
}

TEST(PreviewModel, TheGrabOfThePreviewAreaIsClippedToTheScreen) {
    EXPECT_EQ(clippedToScreen({10, 20, 216, 150}, {1920, 1080}), (Rect{10, 20, 216, 150}));
    EXPECT_EQ(clippedToScreen({-16, 1000, 216, 150}, {1920, 1080}), (Rect{0, 1000, 200, 80}));
    EXPECT_EQ(clippedToScreen({1920, 0, 216, 150}, {1920, 1080}), (Rect{}));
}

TEST(PreviewModel, PopupOpensUpAndLeftOfThePreviewAndStaysOnTheScreen) {
    EXPECT_EQ(popupRect({400, 300, 200, 100}, {1920, 1080}), (Rect{300, 250, 402, 202}));
    EXPECT_EQ(popupRect({50, 20, 200, 100}, {1920, 1080}), (Rect{0, 0, 402, 202}));
    // Near the bottom right corner it is moved to end at the screen's edges.
    EXPECT_EQ(popupRect({1800, 1000, 200, 100}, {1920, 1080}), (Rect{1518, 878, 402, 202}));
    // Larger than the screen: it starts at the corner.
    EXPECT_EQ(popupRect({100, 100, 200, 100}, {300, 150}), (Rect{0, 0, 402, 202}));
}

}  // namespace
}  // namespace lumen::ui
