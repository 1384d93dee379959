#include "imaging/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lumen::imaging;

namespace {

Bitmap gradient(int width, int height) {
    Bitmap bitmap = *Bitmap::create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            bitmap.row(y)[x * 3] = uint8_t(x * 255 / width);        // blue rises to the right
            bitmap.row(y)[x * 3 + 1] = 128;
            bitmap.row(y)[x * 3 + 2] = uint8_t(y * 255 / height);   // red rises downwards
        }
    return bitmap;
}

int largestDifference(const Bitmap& a, const Bitmap& b) {
    int largest = 0;
    for (int y = 0; y < a.height; ++y)
        for (int i = 0; i < a.width * 3; ++i) largest = std::max(largest, std::abs(a.row(y)[i] - b.row(y)[i]));
    return largest;
}

}  // namespace

TEST(Jpeg, RoundTripKeepsSizeAndColours) {
    for (auto [w, h] : {std::pair{83, 83}, {1, 1}, {97, 13}, {5, 200}}) {
        const Bitmap original = gradient(w, h);
        const std::optional<std::vector<uint8_t>> bytes = encodeJpeg(original);
        ASSERT_TRUE(bytes);
        ASSERT_GE(bytes->size(), 4u);
        EXPECT_EQ((*bytes)[0], 0xFF);
        EXPECT_EQ((*bytes)[1], 0xD8);
        const std::optional<Bitmap> decoded = decodeJpeg(*bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, w);
        EXPECT_EQ(decoded->height, h);
        EXPECT_EQ(decoded->bits.size(), original.bits.size());
        // Lossy, but a swapped red and blue would be far off.
        EXPECT_LT(largestDifference(original, *decoded), 40) << w << "x" << h;
    }
    EXPECT_FALSE(encodeJpeg(Bitmap{}));
}

TEST(Jpeg, TruncatedAndCorruptStreamsAreRefused) {
    const std::vector<uint8_t> bytes = *encodeJpeg(gradient(64, 48));
    EXPECT_FALSE(decodeJpeg({}));
    for (size_t cut : {size_t{1}, size_t{2}, size_t{20}, bytes.size() / 2, bytes.size() - 2})
        EXPECT_FALSE(decodeJpeg(std::span(bytes).first(cut))) << cut;
    std::vector<uint8_t> notJpeg(bytes.size(), 0x41);
    EXPECT_FALSE(decodeJpeg(notJpeg));
    // Damage inside the entropy-coded data: the decoder warns, and a warning is a failure.
    size_t scan = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) scan = i;
    ASSERT_NE(scan, 0u);
    std::vector<uint8_t> damaged = bytes;
    for (size_t i = scan + 40; i < scan + 60; ++i) damaged[i] = 0xFF;
    EXPECT_FALSE(decodeJpeg(damaged));
}

TEST(Jpeg, OversizedHeaderIsRefusedBeforeDecoding) {
    std::vector<uint8_t> bytes = *encodeJpeg(gradient(16, 16));
    // Rewrite the frame header's height and width (SOF0: FF C0, length, precision, h, w).
    size_t frame = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) frame = i;
    ASSERT_NE(frame, 0u);
    auto setSize = [&](int width, int height) {
        std::vector<uint8_t> copy = bytes;
        copy[frame + 5] = uint8_t(height >> 8);
        copy[frame + 6] = uint8_t(height);
        copy[frame + 7] = uint8_t(width >> 8);
        copy[frame + 8] = uint8_t(width);
        return copy;
    };
    EXPECT_FALSE(decodeJpeg(setSize(kMaxJpegSide + 1, 16)));
    EXPECT_FALSE(decodeJpeg(setSize(16, 60000)));
    EXPECT_TRUE(decodeJpeg(setSize(16, 16)));

    // A caller's own limits, each side and the area, also stop a stream at its header.
    const JpegLimits limits{20, 10, 150};
    EXPECT_TRUE(decodeJpeg(setSize(15, 10), limits));
    EXPECT_FALSE(decodeJpeg(setSize(21, 5), limits));
    EXPECT_FALSE(decodeJpeg(setSize(16, 11), limits));
    EXPECT_FALSE(decodeJpeg(setSize(16, 10), limits));
    EXPECT_FALSE(decodeJpeg(setSize(4096, 4096), {kMaxJpegSide, kMaxJpegSide, 1 << 20}));
}
