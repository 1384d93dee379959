#include "imaging/png_io.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

using lumen::imaging::readPng;
using lumen::imaging::RgbaImage;
using lumen::imaging::writePng;

namespace {

RgbaImage pattern(int width, int height, bool alpha) {
    RgbaImage image{width, height, alpha, std::vector<uint8_t>(size_t(width) * height * 4)};
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + i / 4);
    if (!alpha)
        for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 255;
    return image;
}

}  // namespace

TEST(PngIo, RoundTripsWithAndWithoutAlpha) {
    for (bool alpha : {false, true}) {
        const RgbaImage original = pattern(7, 5, alpha);
        const std::string path = testing::TempDir() + (alpha ? "rgba.png" : "rgb.png");
        std::string error;
        ASSERT_TRUE(writePng(path, original, error)) << error;
        RgbaImage read;
        ASSERT_TRUE(readPng(path, read, error)) << error;
        EXPECT_EQ(read.width, 7);
        EXPECT_EQ(read.height, 5);
        EXPECT_EQ(read.hasAlpha, alpha);
        EXPECT_EQ(read.pixels, original.pixels);
        std::remove(path.c_str());
    }
}

TEST(PngIo, RefusesMissingAndDamagedFiles) {
    RgbaImage image;
    std::string error;
    EXPECT_FALSE(readPng(testing::TempDir() + "no-such.png", image, error));
    EXPECT_FALSE(error.empty());

    const std::string path = testing::TempDir() + "damaged.png";
    ASSERT_TRUE(writePng(path, pattern(16, 16, true), error));
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    in.close();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size() / 2);
    EXPECT_FALSE(readPng(path, image, error));
    std::remove(path.c_str());

    EXPECT_FALSE(writePng(path, RgbaImage{}, error));
}

// A folder that is not there, and a device that takes no bytes: the second fails inside
// libpng, after the file was opened.
TEST(PngIo, WriteFailuresAreReported) {
    std::string error;
    EXPECT_FALSE(writePng(testing::TempDir() + "no-such-folder/out.png", pattern(8, 8, false), error));
    EXPECT_NE(error.find("no-such-folder"), std::string::npos) << error;
    if (!std::filesystem::is_character_file("/dev/full")) return;
    for (bool alpha : {false, true}) {
        error.clear();
        EXPECT_FALSE(writePng("/dev/full", pattern(300, 200, alpha), error));
        EXPECT_NE(error.find("incomplete"), std::string::npos) << error;
    }
}
