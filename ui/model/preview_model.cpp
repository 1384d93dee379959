#include "ui/model/preview_model.h"

#include <algorithm>

namespace lumen::ui {

Size previewThumbnailSize(Size image, Size area) {
    if (image.width <= 0 || image.height <= 0 || area.width <= 0 || area.height <= 0) return {};
    const double scale = std::max(double(image.width) / area.width, double(image.height) / area.height);
    // A long thin image would lose its margin pixels and more: it keeps at least one pixel.
    return {std::max(1, int(image.width / scale) - 2), std::max(1, int(image.height / scale) - 2)};
}

bool downscale(const plugin::ImageBuffer& big, plugin::ImageBuffer& small) {
    if (big.empty() || small.empty() || big.kind() != small.kind()) return false;
    const int W = big.width(), H = big.height(), w = small.width(), h = small.height();
    const int channels = big.bytesPerPixel();
    const double fx = double(W) / w, fy = double(H) / h;
    const int bw = W / w + 1, bh = H / h + 1;
    for (int i = 0; i < h; ++i) {
        const int sy = int(fy * i - 0.5);
        // The box is cut at the image's edge, so it never reads outside.
        const int y0 = std::clamp(sy, 0, H - 1), y1 = std::min(sy + bh, H);
        uint8_t* out = small.pixels() + size_t(i) * small.rowBytes();
        for (int j = 0; j < w; ++j) {
            const int sx = int(fx * j - 0.5);
            const int x0 = std::clamp(sx, 0, W - 1), x1 = std::min(sx + bw, W);
            uint32_t sum[4] = {0, 0, 0, 0};
            for (int y = y0; y < y1; ++y) {
                const uint8_t* in = big.pixels() + size_t(y) * big.rowBytes() + size_t(x0) * channels;
                for (int x = x0; x < x1; ++x, in += channels)
                    for (int c = 0; c < channels; ++c) sum[c] += in[c];
            }
            const uint32_t count = uint32_t(std::max(1, (y1 - y0) * (x1 - x0)));
            for (int c = 0; c < channels; ++c) out[size_t(j) * channels + c] = uint8_t(sum[c] / count);
        }
    }
    // The small image stands for the big one: a filter's hmin and hmax are the big one's.
    small.setRanges(big.rangesOrFound());
    return true;
}

bool makePreviewThumbnail(const plugin::ImageBuffer& image, Size area, plugin::ImageBuffer& source,
                          plugin::ImageBuffer& destination) {
    const Size size = previewThumbnailSize({image.width(), image.height()}, area);
    if (size.width == 0 || image.empty()) return false;
    return destination.allocate(size.width, size.height, image.kind(), image.hasAlpha()) &&
           downscale(image, destination) && source.cloneFrom(destination);
}

Point centredOrigin(Size client, Size buffer) {
    return {client.width / 2 - buffer.width / 2, client.height / 2 - buffer.height / 2};
}

uint8_t checkerboardValue(int row, int column) {
    const bool upperHalf = row % 8 < 4;
    const bool rightHalf = column % 8 > 3;
    return upperHalf == rightHalf ? 192 : 255;
}

bool fillScratch(const plugin::ImageBuffer& buffer, bool checkerboard, std::span<uint8_t> scratch) {
    if (buffer.empty() || buffer.kind() != plugin::ImageBuffer::kFourChannels ||
        scratch.size() != size_t(buffer.width()) * buffer.height() * 4)
        return false;
    const uint8_t* in = buffer.pixels();
    uint8_t* out = scratch.data();
    for (int i = 0; i < buffer.height(); ++i)
        for (int j = 0; j < buffer.width(); ++j, in += 4, out += 4) {
            if (!checkerboard) {
                out[0] = in[2], out[1] = in[1], out[2] = in[0];
            } else {
                const unsigned g = checkerboardValue(i, j), a = in[3];
                for (int c = 0; c < 3; ++c) out[2 - c] = uint8_t((g * (255 - a) + in[c] * a) / 255);
            }
            out[3] = 255;
        }
    return true;
}

Rect clippedToScreen(Rect area, Size screen) {
    const int left = std::max(area.left, 0), top = std::max(area.top, 0);
    const int right = std::min(area.left + area.width, screen.width);
    const int bottom = std::min(area.top + area.height, screen.height);
    if (right <= left || bottom <= top) return {};
    return {left, top, right - left, bottom - top};
}

Rect popupRect(Rect preview, Size screen) {
    Rect popup{std::max(0, preview.left - preview.width / 2), std::max(0, preview.top - preview.height / 2),
               2 * preview.width + 2, 2 * preview.height + 2};
    if (popup.left + popup.width > screen.width) popup.left = std::max(0, screen.width - popup.width);
    if (popup.top + popup.height > screen.height) popup.top = std::max(0, screen.height - popup.height);
    return popup;
}

}  // namespace lumen::ui
