#pragma once
// Handles for descriptor texts: the host's HandleProcs when it offers a usable set, otherwise
// global memory in the plug-in's own two-word form.
#include <cstdint>
#include <string>

#include "plugin/host_api.h"

namespace lumen::plugin {

class HandleLayer {
public:
    explicit HandleLayer(const hostapi::FilterRecord& record);

    bool usesHostProcs() const { return procs_ != nullptr; }
    hostapi::Handle newHandle(int32_t size);
    void dispose(hostapi::Handle handle);
    int32_t size(hostapi::Handle handle);
    char* lock(hostapi::Handle handle);
    void unlock(hostapi::Handle handle);

    // The handle's bytes (no terminator), after which the handle is disposed.
    std::string takeText(hostapi::Handle handle);
    // A new handle holding the text without a terminator; null on failure.
    hostapi::Handle textHandle(const std::string& text);

    // memFullErr or nilHandleErr after a failed operation, else noErr.
    int16_t lastError() const { return lastError_; }

private:
    const hostapi::HandleProcs* procs_ = nullptr;
    int16_t lastError_ = hostapi::noErr;
};

}  // namespace lumen::plugin
