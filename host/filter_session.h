#pragma once
// One host side of a filtering run: the image as the host keeps it (planes interleaved), the
// FilterRecord with every suite the plug-in may ask for, and the selector sequence.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/host_descriptor.h"
#include "host/plugin_module.h"
#include "imaging/png_io.h"

namespace lumen::host {

enum class HostMode { rgb, gray, cmyk, multichannel };

struct ApplyOptions {
    HostMode mode = HostMode::rgb;
    int extraPlanes = 0;                 // multichannel: planes beyond the colour and alpha planes
    bool runParameters = false;          // call the parameters selector first
    int16_t playInfo = hostapi::plugInDialogDisplay;
    Descriptor descriptor;               // handed to the plug-in at start
    bool descriptorSuite = true;
    bool colorServices = true;
    bool columnBytes = true;             // set inColumnBytes / outColumnBytes
    int abortAfterRows = -1;             // abortProc answers true once progress reached this row
    uint32_t hostSignature = hostapi::fourCharCode("LMFH");
    // The caller's last change to the record before the first call: other suites in place of
    // the host's own (which then are neither read back nor disposed by the session).
    std::function<void(hostapi::FilterRecord&)> finishRecord;
};

// The image in the host's own form: `planes` bytes a pixel, interleaved, rows from the top.
struct HostImage {
    int width = 0;
    int height = 0;
    int planes = 0;
    bool hasAlpha = false;  // the last colour plane is followed by a transparency plane
    HostMode mode = HostMode::rgb;
    std::vector<uint8_t> pixels;
};

HostImage hostImageFromRgba(const imaging::RgbaImage& rgba, HostMode mode, int extraPlanes);
imaging::RgbaImage rgbaFromHostImage(const HostImage& image);

struct RunResult {
    int16_t result = 0;
    int16_t failedSelector = -1;   // the selector that returned the error
    std::optional<Descriptor> writtenDescriptor;
    std::vector<std::pair<int32_t, int32_t>> progress;  // (done, total) per progressProc call
};

// Keeps what a host keeps between runs of one plug-in: the parameters handle.
// The memory behind a request's pixels, kept from one request and one apply to the next: a
// fresh block of a whole image costs a page fault per page. Reused only at exactly the size
// asked for, so that a plug-in reading past its request still reads past the allocation.
class RegionStorage {
public:
    uint8_t* exactly(size_t size) {
        if (size != size_) {
            bytes_.reset(new uint8_t[size]);
            size_ = size;
        }
        return bytes_.get();
    }

private:
    std::unique_ptr<uint8_t[]> bytes_;
    size_t size_ = 0;
};

class FilterSession {
public:
    explicit FilterSession(PluginModule& plugin) : plugin_(plugin) {}
    ~FilterSession();

    RunResult apply(HostImage& image, const ApplyOptions& options);
    int16_t about();

    hostapi::Handle parameters() const { return parameters_; }
    // The plug-in's parameter handle, made from saved block bytes (the two-word FOTO form).
    bool restoreParameters(const std::string& blockBytes);
    std::optional<std::string> savedParameters() const;

private:
    PluginModule& plugin_;
    hostapi::Handle parameters_ = nullptr;
    std::vector<uintptr_t> restoredRecord_;
    std::vector<char> restoredBlock_;
    RegionStorage inStorage_, outStorage_;
};

constexpr size_t kParameterBlockSize = 6576;
// The second word of the parameter handle record a plug-in of this kind makes (FOTO).
constexpr uintptr_t kPluginHandleMark = 0x464F544F;

}  // namespace lumen::host
