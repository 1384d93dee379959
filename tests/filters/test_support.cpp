#include "test_support.h"

#include <gtest/gtest.h>
#include <random>

#include <fstream>
#include <iterator>

namespace lumen::filters::testing {

ScratchDirectory::ScratchDirectory() {
    std::random_device random;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("lumen-filters-" + std::to_string(random()) + ".db");
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) path_ = candidate.string();
    }
    if (path_.empty()) ADD_FAILURE() << "no scratch directory";
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

imaging::Bitmap gradientBitmap(int width, int height) {
    imaging::Bitmap bitmap = *imaging::Bitmap::create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* pixel = bitmap.row(y) + x * 3;
            pixel[0] = static_cast<uint8_t>(x * 255 / width);
            pixel[1] = static_cast<uint8_t>(y * 255 / height);
            pixel[2] = 128;
        }
    return bitmap;
}

FilterDefinition sampleFilter(int presetCount) {
    FilterDefinition filter;
    filter.title = "Wave";
    filter.category = "Distort";
    filter.author = "Lumenforge";
    filter.copyright = "line one\r\nline two";
    filter.code = {"put(ctl(0),0)", "src(x+get(0),y,z)", "g", "b", "a"};
    for (int i = 0; i < kControlCount; ++i) {
        filter.controlLabel[i] = "Label " + std::to_string(i);
        filter.controlEnabled[i] = i % 2;
        filter.controlDefault[i] = i * 10 - 3;
        filter.controlValue[i] = filter.controlDefault[i];
    }
    filter.gradientDefault = filter.gradientIndex = 42;
    for (int p = 0; p < presetCount; ++p) {
        Preset preset;
        preset.name = "Preset " + std::to_string(p);
        for (int i = 0; i < kControlCount; ++i) preset.controlValue[i] = p * 100 + i;
        preset.gradientIndex = 7 + p;
        preset.thumbnail = gradientBitmap(20 + p, 15);
        filter.presets.push_back(std::move(preset));
    }
    return filter;
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace lumen::filters::testing
