#include "pixel_exchange.h"

#include <algorithm>
#include <cstring>

#include "plugin/host_detection.h"
#include "plugin/image_buffer.h"

namespace lumen::plugin {
namespace {

using namespace hostapi;

bool hasAlphaPlane(int16_t mode, int16_t planes) {
    switch (mode) {
    case plugInModeCMYKColor: return planes >= 5;
    case plugInModeGrayScale: return planes >= 2;
    default: return planes >= 4;
    }
}

int colourPlanes(int16_t mode) {
    return mode == plugInModeCMYKColor ? 4 : mode == plugInModeGrayScale ? 1 : 3;
}

// Where the host's planes lie: the row step, and the column step the host states or, when it
// states none, the number of planes it delivered side by side (which is what the classic rule
// of 1, 3 or 4 plus alpha gives for the usual plane counts, and stays right for more planes).
struct PlaneLayout {
    uint8_t* data;
    int32_t rowBytes;
    int32_t columnBytes;
    int32_t width, height;
    int planesPerPixel;

    bool plausible() const {
        if (!data || width <= 0 || height <= 0 || columnBytes < planesPerPixel) return false;
        return height == 1 || int64_t{rowBytes} >= int64_t{width - 1} * columnBytes + planesPerPixel;
    }
    uint8_t* pixel(int32_t x, int32_t y) const {
        return data + ptrdiff_t(y) * rowBytes + ptrdiff_t(x) * columnBytes;
    }
};

PlaneLayout layoutOf(void* data, int32_t rowBytes, int32_t columnBytes, const Rect& rect, int16_t loPlane,
                     int16_t hiPlane) {
    const int planes = hiPlane - loPlane + 1;
    return {static_cast<uint8_t*>(data), rowBytes, columnBytes ? columnBytes : planes,
            rect.right - rect.left, rect.bottom - rect.top, planes};
}

bool convertColour(const FilterRecord& record, int16_t from, int16_t to, int16_t components[4]) {
    ColorServicesInfo info{};
    info.infoSize = sizeof(ColorServicesInfo);
    info.selector = plugIncolorServicesConvertColor;
    info.sourceSpace = from;
    info.resultSpace = to;
    std::copy(components, components + 4, info.colorComponents);
    if (record.colorServices(&info) != noErr) return false;
    std::copy(info.colorComponents, info.colorComponents + 4, components);
    return true;
}

}  // namespace

int16_t readInputFromHost(const FilterRecord& record, ImageBuffer& source) {
    const int16_t mode = record.imageMode;
    if (mode == plugInModeCMYKColor && !record.colorServices) return filterBadMode;
    const Rect rect = record.filterRect;
    const PlaneLayout in = layoutOf(record.inData, record.inRowBytes, record.inColumnBytes, rect, record.inLoPlane,
                                    record.inHiPlane);
    const bool alpha = hasAlphaPlane(mode, record.planes);
    const int alphaPlane = colourPlanes(mode);
    if (!in.plausible() || in.planesPerPixel < alphaPlane + (alpha ? 1 : 0)) return paramErr;
    // Every row is copied in below, so the buffer is not cleared first; its ranges are left
    // to be found by whatever needs them.
    if (!source.allocate(in.width, in.height, ImageBuffer::kFourChannels, alpha, GlobalFill::kUnset))
        return memFullErr;

    const bool blueFirst = record.hostSig == kSabiHostSignature;
    std::unique_ptr<ConversionProgress> progress;
    if (mode == plugInModeCMYKColor) progress = showConversionProgress(in.height);
    // The mode is settled once, outside the pixel loops: this copy runs over every pixel of
    // every apply.
    const int red = blueFirst ? 2 : 0, blue = blueFirst ? 0 : 2;
    uint8_t* out = source.pixels();
    for (int32_t y = 0; y < in.height; ++y) {
        if (progress) progress->setRow(y);
        const uint8_t* p = in.pixel(0, y);
        if (mode == plugInModeCMYKColor) {
            for (int32_t x = 0; x < in.width; ++x, out += 4, p += in.columnBytes) {
                int16_t components[4] = {p[0], p[1], p[2], p[3]};
                if (!convertColour(record, plugIncolorServicesCMYKSpace, plugIncolorServicesRGBSpace, components))
                    std::fill(components, components + 4, 0);
                for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(components[c]);
                out[3] = alpha ? p[alphaPlane] : 255;
            }
        } else if (mode == plugInModeGrayScale) {
            for (int32_t x = 0; x < in.width; ++x, out += 4, p += in.columnBytes) {
                out[0] = out[1] = out[2] = p[0];
                out[3] = alpha ? p[alphaPlane] : 255;
            }
        } else if (alpha && !blueFirst && in.columnBytes == 4 && alphaPlane == 3) {
            // The host keeps the pixels as we do: the row is copied whole.
            std::memcpy(out, p, size_t(in.width) * 4);
            out += size_t(in.width) * 4;
        } else {
            for (int32_t x = 0; x < in.width; ++x, out += 4, p += in.columnBytes) {
                out[0] = p[red];
                out[1] = p[1];
                out[2] = p[blue];
                out[3] = alpha ? p[alphaPlane] : 255;
            }
        }
    }
    source.forgetRanges();
    return noErr;
}

int16_t writeOutputToHost(const FilterRecord& record, const ImageBuffer& working) {
    const int16_t mode = record.imageMode;
    const PlaneLayout layout = layoutOf(record.outData, record.outRowBytes, record.outColumnBytes, record.outRect,
                                        record.outLoPlane, record.outHiPlane);
    const bool alpha = working.hasAlpha();
    const int alphaPlane = colourPlanes(mode);
    if (!layout.plausible() || working.empty() || layout.width != working.width() ||
        layout.height != working.height() || layout.planesPerPixel < alphaPlane + (alpha ? 1 : 0))
        return paramErr;
    if (mode == plugInModeCMYKColor && !record.colorServices) return filterBadMode;

    const bool blueFirst = record.hostSig == kSabiHostSignature;
    const int red = blueFirst ? 2 : 0, blue = blueFirst ? 0 : 2;
    const uint8_t* in = working.pixels();
    for (int32_t y = 0; y < layout.height; ++y) {
        uint8_t* p = layout.pixel(0, y);
        if (mode == plugInModeCMYKColor) {
            for (int32_t x = 0; x < layout.width; ++x, in += 4, p += layout.columnBytes) {
                int16_t components[4] = {in[0], in[1], in[2], 0};
                if (!convertColour(record, plugIncolorServicesRGBSpace, plugIncolorServicesCMYKSpace, components))
                    return filterBadMode;
                for (int c = 0; c < 4; ++c) p[c] = static_cast<uint8_t>(std::clamp<int>(components[c], 0, 255));
                if (alpha) p[alphaPlane] = in[3];
            }
        } else if (mode == plugInModeGrayScale) {
            for (int32_t x = 0; x < layout.width; ++x, in += 4, p += layout.columnBytes) {
                // The weights add up to 256, so a grey pixel keeps its value exactly.
                p[0] = static_cast<uint8_t>((in[0] * 77 + in[1] * 150 + in[2] * 29 + 128) >> 8);
                if (alpha) p[alphaPlane] = in[3];
            }
        } else if (alpha && !blueFirst && layout.columnBytes == 4 && alphaPlane == 3) {
            std::memcpy(p, in, size_t(layout.width) * 4);
            in += size_t(layout.width) * 4;
        } else {
            for (int32_t x = 0; x < layout.width; ++x, in += 4, p += layout.columnBytes) {
                p[red] = in[0];
                p[1] = in[1];
                p[blue] = in[2];
                if (alpha) p[alphaPlane] = in[3];
            }
        }
    }
    return noErr;
}

}  // namespace lumen::plugin
