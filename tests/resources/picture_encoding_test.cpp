// The 256-colour bitmap writer of the picture generators, read back through the same reader the
// resource checks use.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "tools/indexed_bitmap.h"
#include "win32_resource_formats.h"

namespace {

using lumen::testing::parseBitmap;
using namespace lumen::tools;

// The bitmap file without its 14-byte file header, as a BITMAP resource holds it.
std::optional<lumen::testing::BitmapInfo> decode(const Picture& picture) {
    const std::vector<uint8_t> file = encodeBitmapFile(picture);
    if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    return parseBitmap(std::span<const uint8_t>(file).subspan(14));
}

uint32_t decodedAt(const lumen::testing::BitmapInfo& bitmap, int x, int y) {
    return bitmap.palette.at(bitmap.indices.at(size_t(y) * bitmap.width + x));
}

int channelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16}) worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return worst;
}

TEST(PictureEncoding, FewColoursStayExactAndRowsKeepTheirOrder) {
    Picture picture(7, 3, kMagenta);  // an odd width: rows are padded to four bytes
    picture.set(0, 0, rgb(1, 2, 3));
    picture.set(6, 2, kButtonFace);
    picture.fillRect(2, 1, 3, 1, rgb(250, 10, 20));
    const auto bitmap = decode(picture);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 7);
    EXPECT_EQ(bitmap->height, 3);
    EXPECT_EQ(bitmap->bitCount, 8);
    EXPECT_EQ(bitmap->colourCount, 256);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(decodedAt(*bitmap, x, y), picture.at(x, y)) << x << "," << y;
}

TEST(PictureEncoding, ManyColoursAreReducedNearlyWithTheSpecialColoursExact) {
    Picture picture(64, 64, kButtonFace);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 64; ++x) picture.set(x, y, rgb(x * 4, y * 4, (x * y) % 256));
    for (int x = 0; x < 64; ++x) {
        picture.set(x, 61, kMagenta);
        picture.set(x, 62, kButtonShadow);
        picture.set(x, 63, kButtonLight);
    }
    const auto bitmap = decode(picture);
    ASSERT_TRUE(bitmap);
    std::set<uint32_t> used;
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint32_t colour = decodedAt(*bitmap, x, y);
            used.insert(colour);
            if (y >= 60) EXPECT_EQ(colour, picture.at(x, y)) << x << "," << y;
            else worst = std::max(worst, channelDistance(colour, picture.at(x, y)));
        }
    }
    EXPECT_LE(used.size(), 256u);
    EXPECT_GT(used.size(), 200u) << "the palette should be put to use";
    EXPECT_LE(worst, 48) << "a reduced colour strays too far from the drawn one";
}

}  // namespace
