#include "host_drawing.h"

#include "plugin/image_buffer.h"

namespace lumen::plugin {

using namespace hostapi;

int16_t drawThroughHost(const FilterRecord& record, const ImageBuffer& buffer, void* deviceContext, int32_t x,
                        int32_t y) {
    if (!record.displayPixels) return errPlugInHostInsufficient;
    if (buffer.empty() || buffer.kind() != ImageBuffer::kFourChannels) return paramErr;
    // The host only reads through the map.
    auto* pixels = const_cast<uint8_t*>(buffer.pixels());

    PSPixelMask alpha{};
    alpha.maskData = pixels + 3;
    alpha.rowBytes = buffer.rowBytes();
    alpha.colBytes = 4;

    PSPixelMap map{};
    map.version = 1;
    map.bounds = {0, 0, buffer.height(), buffer.width()};
    map.imageMode = plugInModeRGBColor;
    map.rowBytes = buffer.rowBytes();
    map.colBytes = 4;
    map.planeBytes = 1;
    map.baseAddr = pixels;
    map.mat = buffer.hasAlpha() ? &alpha : nullptr;
    const VRect source = map.bounds;
    return record.displayPixels(&map, &source, y, x, deviceContext);
}

}  // namespace lumen::plugin
