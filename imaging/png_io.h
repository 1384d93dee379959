#pragma once
// PNG files in and out as 8-bit RGBA pixels, for the command-line tools and the test host.
#include <cstdint>
#include <string>
#include <vector>

namespace lumen::imaging {

struct RgbaImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;        // whether the file carried transparency
    std::vector<uint8_t> pixels;  // width * height * 4 bytes, rows from the top; alpha 255 without
};

// Refuses images of more than this many pixels, so a small file cannot demand gigabytes.
constexpr int64_t kMaxPngPixels = int64_t{1} << 28;

bool readPng(const std::string& path, RgbaImage& image, std::string& error);
// Writes RGBA when the image has alpha, else RGB.
bool writePng(const std::string& path, const RgbaImage& image, std::string& error);

}  // namespace lumen::imaging
