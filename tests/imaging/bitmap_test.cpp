#include "imaging/bitmap.h"

#include <gtest/gtest.h>

using namespace lumen::imaging;

namespace {

std::vector<uint8_t> rgbaPattern(int width, int height, size_t rowBytes) {
    std::vector<uint8_t> pixels(rowBytes * size_t(height), 0xEE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) pixels[size_t(y) * rowBytes + size_t(x) * 4 + size_t(c)] = uint8_t(x * 31 + y * 17 + c * 70);
    return pixels;
}

Bitmap filled(int width, int height, uint8_t b, uint8_t g, uint8_t r) {
    Bitmap bitmap = *Bitmap::create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bitmap.row(y)[x * 3] = b;
            bitmap.row(y)[x * 3 + 1] = g;
            bitmap.row(y)[x * 3 + 2] = r;
        }
    return bitmap;
}

}  // namespace

TEST(Bitmap, FourChannelRowsRoundTripInBothChannelOrders) {
    const int width = 5, height = 3;
    const size_t rowBytes = width * 4 + 8;  // rows with slack between them
    const std::vector<uint8_t> pixels = rgbaPattern(width, height, rowBytes);
    for (ChannelOffsets offsets : {kRgbaOffsets, kBgraOffsets}) {
        const std::optional<Bitmap> bitmap = bitmapFromRows(pixels, width, height, rowBytes, offsets);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->bits.size(), 16u * height);  // 15 bytes a row, padded to 16
        // The first pixel lands as blue, green, red.
        EXPECT_EQ(bitmap->row(0)[0], pixels[offsets.blue]);
        EXPECT_EQ(bitmap->row(0)[2], pixels[offsets.red]);
        std::vector<uint8_t> back(rowBytes * height, 0);
        ASSERT_TRUE(bitmapToRows(*bitmap, back, rowBytes, offsets));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const size_t at = size_t(y) * rowBytes + size_t(x) * 4;
                EXPECT_EQ(back[at + offsets.red], pixels[at + offsets.red]);
                EXPECT_EQ(back[at + offsets.green], pixels[at + offsets.green]);
                EXPECT_EQ(back[at + offsets.blue], pixels[at + offsets.blue]);
                EXPECT_EQ(back[at + offsets.alpha], 255);
            }
    }
}

TEST(Bitmap, RowsThatDoNotFitAreRefused) {
    const std::vector<uint8_t> pixels = rgbaPattern(4, 2, 32);
    // The last row needs only its own pixels.
    EXPECT_TRUE(bitmapFromRows(std::span(pixels).first(16 + 16), 4, 2, 16, kRgbaOffsets));
    EXPECT_TRUE(bitmapFromRows(std::span(pixels).first(20 + 16), 4, 2, 20, kRgbaOffsets));
    EXPECT_FALSE(bitmapFromRows(std::span(pixels).first(31), 4, 2, 16, kRgbaOffsets));
    EXPECT_FALSE(bitmapFromRows(pixels, 4, 2, 12, kRgbaOffsets));
    EXPECT_FALSE(bitmapFromRows(pixels, 4, 2, 16, ChannelOffsets{0, 1, 4, 3}));
    std::vector<uint8_t> small(31);
    EXPECT_FALSE(bitmapToRows(*Bitmap::create(4, 2), small, 16, kRgbaOffsets));
    EXPECT_FALSE(Bitmap::create(0, 3));
    EXPECT_FALSE(Bitmap::create(1 << 15, 1 << 14));  // past the pixel cap
}

TEST(Resample, KeepsFlatColourAndAveragesAreas) {
    const Bitmap flat = filled(7, 5, 10, 200, 77);
    for (auto [w, h] : {std::pair{3, 2}, {7, 5}, {20, 11}, {1, 1}}) {
        const std::optional<Bitmap> out = resample(flat, w, h);
        ASSERT_TRUE(out);
        ASSERT_EQ(out->width, w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(out->row(y)[x * 3], 10);
                EXPECT_EQ(out->row(y)[x * 3 + 1], 200);
                EXPECT_EQ(out->row(y)[x * 3 + 2], 77);
            }
    }
    // Two columns, black and white, shrink to their mean.
    Bitmap halves = filled(2, 1, 0, 0, 0);
    halves.row(0)[3] = halves.row(0)[4] = halves.row(0)[5] = 255;
    EXPECT_EQ(resample(halves, 1, 1)->row(0)[0], 128);
    // Three to two: the middle column is shared half and half.
    Bitmap three = filled(3, 1, 0, 0, 0);
    three.row(0)[3] = 90;
    three.row(0)[6] = 180;
    const Bitmap two = *resample(three, 2, 1);
    EXPECT_EQ(two.row(0)[0], 30);   // (0*2 + 90*1) / 3
    EXPECT_EQ(two.row(0)[3], 150);  // (90*1 + 180*2) / 3
    EXPECT_FALSE(resample(three, 0, 1));
}

TEST(Thumbnail, SizeRuleAtTheBoundaries) {
    EXPECT_EQ(thumbnailSize(100, 83), (BitmapSize{100, 83}));
    EXPECT_EQ(thumbnailSize(100, 84), (BitmapSize{99, 83}));   // divisor 1.01
    EXPECT_EQ(thumbnailSize(168, 168), (BitmapSize{83, 83}));  // 2.01, not 2.00 (84 > 83)
    EXPECT_EQ(thumbnailSize(1, 1000), (BitmapSize{1, 83}));    // width kept at least 1
    EXPECT_EQ(thumbnailSize(0, 100), (BitmapSize{}));
    // Never wider than a thumbnail may be read back.
    EXPECT_EQ(thumbnailSize(5000, 50), (BitmapSize{kMaxThumbnailWidth, 50}));
    EXPECT_EQ(thumbnailSize(200000, 100), (BitmapSize{kMaxThumbnailWidth, 83}));
}

TEST(Thumbnail, MatchesTheStepwiseDivisorEverywhere) {
    for (int height = 1; height < 3000; ++height) {
        int expectHeight = height, divisor = 100;
        if (height >= 84)
            while ((expectHeight = height * 100 / divisor) > 83) ++divisor;
        const int width = height * 7 / 3 + 1;
        const BitmapSize size = thumbnailSize(width, height);
        ASSERT_EQ(size.height, expectHeight) << height;
        ASSERT_EQ(size.width, height >= 84 ? std::max(1, width * 100 / divisor) : width) << height;
    }
}

TEST(Thumbnail, ScalesThePreview) {
    const std::optional<Bitmap> thumb = makeThumbnail(filled(300, 120, 1, 2, 3));
    ASSERT_TRUE(thumb);
    EXPECT_EQ(thumb->width, 209);
    EXPECT_EQ(thumb->height, 83);
    EXPECT_EQ(thumb->row(82)[208 * 3 + 2], 3);
    const Bitmap small = filled(30, 20, 1, 2, 3);
    EXPECT_EQ(makeThumbnail(small)->bits, small.bits);
    EXPECT_FALSE(makeThumbnail(Bitmap{}));
}
