#include "filter_session.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "host/host_display.h"
#include "host/host_handles.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace lumen::host {
namespace {

using namespace hostapi;

// The progress and abort procedures get no context argument: the run in progress is here.
struct RunState {
    RunResult* result = nullptr;
    int abortAfterRows = -1;
    int32_t lastDone = -1;
};
RunState* activeRun = nullptr;

void progress(int32_t done, int32_t total) {
    if (!activeRun) return;
    activeRun->result->progress.emplace_back(done, total);
    activeRun->lastDone = done;
}

Boolean testAbort() {
    return activeRun && activeRun->abortAfterRows >= 0 && activeRun->lastDone >= activeRun->abortAfterRows;
}

uint8_t clampByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// The host's own colour model: CMYK with no black generation, so RGB comes back exactly. A record
// smaller than this target's is one laid out for another target: its fields are not where read.
int16_t colorServices(ColorServicesInfo* info) {
    if (!info || info->infoSize < static_cast<int32_t>(sizeof(ColorServicesInfo))) return paramErr;
    if (info->selector != plugIncolorServicesConvertColor) return paramErr;
    int16_t* c = info->colorComponents;
    if (info->sourceSpace == plugIncolorServicesCMYKSpace && info->resultSpace == plugIncolorServicesRGBSpace) {
        const int black = c[3];
        for (int i = 0; i < 3; ++i) c[i] = clampByte(255 - c[i] - black);
        c[3] = 0;
        return noErr;
    }
    if (info->sourceSpace == plugIncolorServicesRGBSpace && info->resultSpace == plugIncolorServicesCMYKSpace) {
        for (int i = 0; i < 3; ++i) c[i] = clampByte(255 - c[i]);
        c[3] = 0;
        return noErr;
    }
    return paramErr;
}

int16_t modeCode(HostMode mode) {
    switch (mode) {
    case HostMode::gray: return plugInModeGrayScale;
    case HostMode::cmyk: return plugInModeCMYKColor;
    case HostMode::multichannel: return plugInModeMultichannel;
    default: return plugInModeRGBColor;
    }
}

bool isEmpty(const Rect& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

// A plane-interleaved copy of the part of the image a request asks for, in the session's
// storage. Every byte of it is copied from the image, so it is not cleared first; rows that hold
// every plane are copied whole.
struct RegionBuffer {
    Rect rect{};
    int loPlane = 0, planeCount = 0;
    uint8_t* bytes = nullptr;

    bool take(const HostImage& image, const Rect& wanted, int lo, int hi, RegionStorage& storage) {
        if (wanted.left < 0 || wanted.top < 0 || wanted.right > image.width || wanted.bottom > image.height ||
            lo < 0 || hi < lo || hi >= image.planes)
            return false;
        rect = wanted;
        loPlane = lo;
        planeCount = hi - lo + 1;
        bytes = storage.exactly(size_t(width()) * height() * planeCount);
        for (int y = 0; y < height(); ++y)
            copyRow(&bytes[size_t(y) * rowBytes()], planeCount, &image.pixels[imageOffset(image, y)], image.planes);
        return true;
    }

    void putBack(HostImage& image) const {
        for (int y = 0; y < height(); ++y)
            copyRow(&image.pixels[imageOffset(image, y)], image.planes, &bytes[size_t(y) * rowBytes()], planeCount);
    }

    // The first of this buffer's planes at its first column in row y of the request.
    size_t imageOffset(const HostImage& image, int y) const {
        return ((size_t(rect.top) + y) * image.width + rect.left) * image.planes + loPlane;
    }
    void copyRow(uint8_t* to, int toStride, const uint8_t* from, int fromStride) const {
        if (toStride == planeCount && fromStride == planeCount) {
            std::memcpy(to, from, size_t(rowBytes()));
            return;
        }
        for (int x = 0; x < width(); ++x, to += toStride, from += fromStride)
            for (int p = 0; p < planeCount; ++p) to[p] = from[p];
    }

    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
    int32_t rowBytes() const { return width() * planeCount; }
};

}  // namespace

HostImage hostImageFromRgba(const imaging::RgbaImage& rgba, HostMode mode, int extraPlanes) {
    HostImage image;
    image.width = rgba.width;
    image.height = rgba.height;
    image.mode = mode;
    image.hasAlpha = rgba.hasAlpha;
    const int colourPlanes = mode == HostMode::gray ? 1 : mode == HostMode::cmyk ? 4 : 3;
    const int extra = mode == HostMode::multichannel ? std::max(extraPlanes, 0) : 0;
    image.planes = colourPlanes + (rgba.hasAlpha ? 1 : 0) + extra;
    image.pixels.resize(size_t(image.width) * image.height * image.planes);
    for (size_t i = 0, n = size_t(image.width) * image.height; i < n; ++i) {
        const uint8_t* in = &rgba.pixels[i * 4];
        uint8_t* out = &image.pixels[i * image.planes];
        if (mode == HostMode::gray) {
            out[0] = static_cast<uint8_t>((in[0] * 299 + in[1] * 587 + in[2] * 114 + 500) / 1000);
        } else if (mode == HostMode::cmyk) {
            for (int p = 0; p < 3; ++p) out[p] = static_cast<uint8_t>(255 - in[p]);
            out[3] = 0;
        } else {
            std::memcpy(out, in, 3);
        }
        int plane = colourPlanes;
        if (rgba.hasAlpha) out[plane++] = in[3];
        for (int e = 0; e < extra; ++e, ++plane)
            out[plane] = static_cast<uint8_t>((i % size_t(image.width)) * 7 + (i / size_t(image.width)) * 13 + e * 31);
    }
    return image;
}

imaging::RgbaImage rgbaFromHostImage(const HostImage& image) {
    imaging::RgbaImage rgba{image.width, image.height, image.hasAlpha,
                            std::vector<uint8_t>(size_t(image.width) * image.height * 4)};
    const int colourPlanes = image.mode == HostMode::gray ? 1 : image.mode == HostMode::cmyk ? 4 : 3;
    for (size_t i = 0, n = size_t(image.width) * image.height; i < n; ++i) {
        const uint8_t* in = &image.pixels[i * image.planes];
        uint8_t* out = &rgba.pixels[i * 4];
        if (image.mode == HostMode::gray) {
            out[0] = out[1] = out[2] = in[0];
        } else if (image.mode == HostMode::cmyk) {
            for (int p = 0; p < 3; ++p) out[p] = clampByte(255 - in[p] - in[3]);
        } else {
            std::memcpy(out, in, 3);
        }
        out[3] = image.hasAlpha ? in[colourPlanes] : 255;
    }
    return rgba;
}

// A host keeps the plug-in's parameter handle for as long as it runs and cannot free it: the
// memory is the plug-in's. Leak checking is told so instead of reporting it.
FilterSession::~FilterSession() {
#ifdef __SANITIZE_ADDRESS__
    auto* words = reinterpret_cast<uintptr_t*>(parameters_);
    if (words && words != restoredRecord_.data() && words[1] == kPluginHandleMark) {
        __lsan_ignore_object(reinterpret_cast<void*>(words[0]));
        __lsan_ignore_object(words);
    }
#endif
}

bool FilterSession::restoreParameters(const std::string& blockBytes) {
    if (blockBytes.size() != kParameterBlockSize) return false;
    restoredBlock_.assign(blockBytes.begin(), blockBytes.end());
    restoredRecord_ = {reinterpret_cast<uintptr_t>(restoredBlock_.data()), kPluginHandleMark};
    parameters_ = reinterpret_cast<Handle>(restoredRecord_.data());
    return true;
}

std::optional<std::string> FilterSession::savedParameters() const {
    const auto* words = reinterpret_cast<const uintptr_t*>(parameters_);
    if (!words || words[1] != kPluginHandleMark || !words[0]) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(words[0]), kParameterBlockSize);
}

int16_t FilterSession::about() {
    PlatformData platform{0};
    AboutRecord record{};
    record.platformData = &platform;
    int16_t result = 0;
    intptr_t data = 0;
    plugin_.entry()(filterSelectorAbout, &record, &data, &result);
    return result;
}

RunResult FilterSession::apply(HostImage& image, const ApplyOptions& options) {
    RunResult run;
    RunState state{&run, options.abortAfterRows};
    activeRun = &state;

    PlatformData platform{0};
    PIDescriptorParameters descriptorParameters{};
    descriptorParameters.playInfo = options.playInfo;
    descriptorParameters.recordInfo = plugInDialogOptional;
    descriptorParameters.readDescriptorProcs = hostReadDescriptorProcs();
    descriptorParameters.writeDescriptorProcs = hostWriteDescriptorProcs();
    if (!options.descriptor.empty()) descriptorParameters.descriptor = hostHandleFromBytes(encodeDescriptor(options.descriptor));

    auto record = std::make_unique<FilterRecord>();
    FilterRecord& r = *record;
    r.serialNumber = 0;
    r.abortProc = testAbort;
    r.progressProc = progress;
    r.parameters = parameters_;
    r.imageSize = {static_cast<int16_t>(image.height), static_cast<int16_t>(image.width)};
    r.planes = static_cast<int16_t>(image.planes);
    r.filterRect = {0, 0, static_cast<int16_t>(image.height), static_cast<int16_t>(image.width)};
    r.background = {0xFFFF, 0xFFFF, 0xFFFF};
    r.foreground = {0, 0, 0};
    r.maxSpace = r.bufferSpace = 256 << 20;
    std::memcpy(r.backColor, "\xFF\xFF\xFF\x00", 4);
    std::memcpy(r.foreColor, "\x00\x00\x00\x00", 4);
    r.hostSig = options.hostSignature;
    r.imageMode = modeCode(image.mode);
    r.imageHRes = r.imageVRes = 72 << 16;
    r.wholeSize = r.imageSize;
    r.platformData = &platform;
    r.bufferProcs = const_cast<BufferProcs*>(&hostBufferProcs());
    r.displayPixels = displayPixels;
    r.handleProcs = const_cast<HandleProcs*>(&hostHandleProcs());
    r.supportsPadding = 1;
    r.colorServices = options.colorServices ? colorServices : nullptr;
    r.descriptorParameters = options.descriptorSuite ? &descriptorParameters : nullptr;
    r.depth = 8;
    r.bufferSpace64 = r.maxSpace64 = r.maxSpace;
    if (options.finishRecord) options.finishRecord(r);

    auto call = [&](int16_t selector) {
        int16_t result = 0;
        intptr_t data = 0;
        plugin_.entry()(selector, &r, &data, &result);
        parameters_ = r.parameters;
        if (result != noErr) {
            run.result = result;
            run.failedSelector = selector;
        }
        return result == noErr;
    };

    bool ok = (!options.runParameters || call(filterSelectorParameters)) && call(filterSelectorPrepare) &&
              call(filterSelectorStart);
    // A plug-in that keeps asking is stopped: one input and one output request make a run.
    for (int requests = 0; ok && requests < 64 && (!isEmpty(r.inRect) || !isEmpty(r.outRect)); ++requests) {
        RegionBuffer in, out;
        r.inData = r.outData = nullptr;
        if (!isEmpty(r.inRect)) {
            if (!in.take(image, r.inRect, r.inLoPlane, r.inHiPlane, inStorage_)) {
                run.result = paramErr;
                run.failedSelector = filterSelectorContinue;
                ok = false;
                break;
            }
            r.inData = in.bytes;
            r.inRowBytes = in.rowBytes();
            r.inColumnBytes = options.columnBytes ? in.planeCount : 0;
            r.inPlaneBytes = 1;
        }
        if (!isEmpty(r.outRect)) {
            if (!out.take(image, r.outRect, r.outLoPlane, r.outHiPlane, outStorage_)) {
                run.result = paramErr;
                run.failedSelector = filterSelectorContinue;
                ok = false;
                break;
            }
            r.outData = out.bytes;
            r.outRowBytes = out.rowBytes();
            r.outColumnBytes = options.columnBytes ? out.planeCount : 0;
            r.outPlaneBytes = 1;
        }
        ok = call(filterSelectorContinue);
        if (ok && r.outData) out.putBack(image);
        r.inData = r.outData = nullptr;
    }
    if (ok) call(filterSelectorFinish);

    if (descriptorParameters.descriptor) {
        std::optional<Descriptor> written = decodeDescriptor(hostHandleBytes(descriptorParameters.descriptor));
        if (written && ok && isWrittenDescriptor(descriptorParameters.descriptor))
            run.writtenDescriptor = std::move(written);
        disposeHostHandle(descriptorParameters.descriptor);
    }
    activeRun = nullptr;
    return run;
}

}  // namespace lumen::host
