#include "host/host_display.h"

namespace lumen::host {

using namespace hostapi;

std::optional<std::vector<uint8_t>> composeForDisplay(const PSPixelMap& map, const VRect& rect) {
    const int channels = map.imageMode == plugInModeRGBColor ? 3 : map.imageMode == plugInModeGrayScale ? 1 : 0;
    if (channels == 0 || map.version < 1 || !map.baseAddr || map.colBytes < 1 || map.planeBytes < 1 ||
        map.rowBytes < 1)
        return std::nullopt;
    if (rect.left < map.bounds.left || rect.top < map.bounds.top || rect.right > map.bounds.right ||
        rect.bottom > map.bounds.bottom || rect.right <= rect.left || rect.bottom <= rect.top)
        return std::nullopt;
    const PSPixelMask* mat = map.mat;
    if (mat && (!mat->maskData || mat->colBytes < 1 || mat->rowBytes < 1)) return std::nullopt;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<uint8_t> rows(size_t(width) * size_t(height) * 4);
    const auto* base = static_cast<const uint8_t*>(map.baseAddr);
    uint8_t* out = rows.data();
    for (int y = rect.top; y < rect.bottom; ++y) {
        const size_t row = size_t(y - map.bounds.top);
        for (int x = rect.left; x < rect.right; ++x, out += 4) {
            const size_t column = size_t(x - map.bounds.left);
            const uint8_t* pixel = base + row * size_t(map.rowBytes) + column * size_t(map.colBytes);
            const unsigned alpha =
                mat ? static_cast<const uint8_t*>(mat->maskData)[row * size_t(mat->rowBytes) + column * size_t(mat->colBytes)]
                    : 255;
            for (int c = 0; c < 3; ++c) {
                const unsigned value = pixel[size_t(channels == 3 ? c : 0) * size_t(map.planeBytes)];
                out[2 - c] = uint8_t((value * alpha + 255 * (255 - alpha)) / 255);
            }
            out[3] = 0;
        }
    }
    return rows;
}

}  // namespace lumen::host
