#include "plugin/rgba_images.h"

#include <cstring>

namespace lumen::plugin {

bool imageBufferFromRgba(const imaging::RgbaImage& rgba, ImageBuffer& image) {
    if (rgba.width <= 0 || rgba.height <= 0 ||
        rgba.pixels.size() != size_t(rgba.width) * size_t(rgba.height) * 4)
        return false;
    if (!image.allocate(rgba.width, rgba.height, ImageBuffer::kFourChannels, rgba.hasAlpha)) return false;
    std::memcpy(image.pixels(), rgba.pixels.data(), rgba.pixels.size());
    for (int32_t y = 0; y < rgba.height; ++y) image.trackRow(image.pixels() + size_t(y) * image.rowBytes(), rgba.width);
    return true;
}

imaging::RgbaImage rgbaFromImageBuffer(const ImageBuffer& image) {
    imaging::RgbaImage rgba{image.width(), image.height(), image.hasAlpha(),
                            std::vector<uint8_t>(size_t(image.width()) * size_t(image.height()) * 4)};
    if (image.empty() || image.kind() != ImageBuffer::kFourChannels) return rgba;
    std::memcpy(rgba.pixels.data(), image.pixels(), rgba.pixels.size());
    if (!image.hasAlpha())
        for (size_t offset = 3; offset < rgba.pixels.size(); offset += 4) rgba.pixels[offset] = 255;
    return rgba;
}

}  // namespace lumen::plugin
