#include "handle_layer.h"

#include <cstring>

#include "plugin/global_memory.h"

namespace lumen::plugin {

using namespace hostapi;

HandleLayer::HandleLayer(const FilterRecord& record) {
    const HandleProcs* procs = record.handleProcs;
    if (procs && procs->handleProcsVersion == 1 && procs->numHandleProcs > 6 && procs->newProc &&
        procs->disposeProc && procs->getSizeProc && procs->setSizeProc)
        procs_ = procs;
}

Handle HandleLayer::newHandle(int32_t size) {
    lastError_ = noErr;
    Handle handle = nullptr;
    if (size >= 0) {
        if (procs_) {
            handle = procs_->newProc(size);
        } else {
            handle = newOwnHandle(static_cast<size_t>(size));
        }
    }
    if (!handle) lastError_ = memFullErr;
    return handle;
}

void HandleLayer::dispose(Handle handle) {
    lastError_ = handle ? noErr : nilHandleErr;
    if (!handle) return;
    if (procs_) {
        procs_->disposeProc(handle);
        return;
    }
    // Without the host's procedures only handles of the plug-in's own form can be freed,
    // sized or locked; one the host made some other way is left alone rather than misread.
    disposeOwnHandle(handle);
}

int32_t HandleLayer::size(Handle handle) {
    lastError_ = handle ? noErr : nilHandleErr;
    if (!handle) return 0;
    if (procs_) return procs_->getSizeProc(handle);
    return static_cast<int32_t>(lockedGlobalSize(ownHandleData(handle)));
}

char* HandleLayer::lock(Handle handle) {
    lastError_ = handle ? noErr : nilHandleErr;
    if (!handle) return nullptr;
    if (procs_) return procs_->lockProc ? procs_->lockProc(handle, false) : *handle;
    return static_cast<char*>(ownHandleData(handle));
}

void HandleLayer::unlock(Handle handle) {
    if (handle && procs_ && procs_->unlockProc) procs_->unlockProc(handle);
}

std::string HandleLayer::takeText(Handle handle) {
    std::string text;
    const int32_t length = size(handle);
    if (const char* bytes = lock(handle); bytes && length > 0) text.assign(bytes, static_cast<size_t>(length));
    unlock(handle);
    dispose(handle);
    return text;
}

Handle HandleLayer::textHandle(const std::string& text) {
    Handle handle = newHandle(static_cast<int32_t>(text.size()));
    if (!handle) return nullptr;
    if (char* bytes = lock(handle)) std::memcpy(bytes, text.data(), text.size());
    unlock(handle);
    return handle;
}

}  // namespace lumen::plugin
