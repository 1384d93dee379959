#include "png_io.h"

#include <png.h>

namespace lumen::imaging {

bool readPng(const std::string& path, RgbaImage& image, std::string& error) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        error = path + ": " + png.message;
        return false;
    }
    if (png.width == 0 || png.height == 0 || int64_t{png.width} * png.height > kMaxPngPixels) {
        png_image_free(&png);
        error = path + ": image too large or empty";
        return false;
    }
    const bool hasAlpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(size_t{png.width} * png.height * 4);
    if (!png_image_finish_read(&png, nullptr, pixels.data(), 0, nullptr)) {
        error = path + ": " + png.message;
        png_image_free(&png);
        return false;
    }
    image.width = static_cast<int>(png.width);
    image.height = static_cast<int>(png.height);
    image.hasAlpha = hasAlpha;
    image.pixels = std::move(pixels);
    return true;
}

bool writePng(const std::string& path, const RgbaImage& image, std::string& error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != size_t(image.width) * size_t(image.height) * 4) {
        error = path + ": no image to write";
        return false;
    }
    std::vector<uint8_t> rgb;
    const uint8_t* data = image.pixels.data();
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    // Quick compression and filters: a batch of large renders spent most of its time here, for
    // files about a quarter larger.
    png.flags = PNG_IMAGE_FLAG_FAST;
    if (!image.hasAlpha) {
        rgb.resize(size_t(image.width) * image.height * 3);
        for (size_t i = 0, j = 0; i < image.pixels.size(); i += 4, j += 3) {
            rgb[j] = image.pixels[i];
            rgb[j + 1] = image.pixels[i + 1];
            rgb[j + 2] = image.pixels[i + 2];
        }
        data = rgb.data();
        png.format = PNG_FORMAT_RGB;
    }
    if (!png_image_write_to_file(&png, path.c_str(), 0, data, 0, nullptr)) {
        error = path + ": " + png.message;
        return false;
    }
    return true;
}

}  // namespace lumen::imaging
