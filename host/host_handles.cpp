#include "host_handles.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace lumen::host {
namespace {

using hostapi::Handle;

// The master pointer comes first, so a Handle (char**) is the record's address.
struct HostHandle {
    char* data;
    int32_t size;
    uint64_t serial;
};

std::atomic<int> liveHandles{0};
std::atomic<uint64_t> handlesMade{0};

HostHandle* recordOf(Handle handle) { return reinterpret_cast<HostHandle*>(handle); }

Handle newHandle(int32_t size) {
    if (size < 0) return nullptr;
    auto* record = static_cast<HostHandle*>(std::calloc(1, sizeof(HostHandle)));
    if (!record) return nullptr;
    record->data = static_cast<char*>(std::calloc(size ? static_cast<size_t>(size) : 1, 1));
    if (!record->data) {
        std::free(record);
        return nullptr;
    }
    record->size = size;
    record->serial = ++handlesMade;
    ++liveHandles;
    return reinterpret_cast<Handle>(record);
}

void disposeHandle(Handle handle) {
    if (!handle) return;
    std::free(recordOf(handle)->data);
    std::free(recordOf(handle));
    --liveHandles;
}

int32_t getSize(Handle handle) { return handle ? recordOf(handle)->size : 0; }

int16_t setSize(Handle handle, int32_t size) {
    if (!handle) return hostapi::nilHandleErr;
    if (size < 0) return hostapi::paramErr;
    char* grown = static_cast<char*>(std::realloc(recordOf(handle)->data, size ? static_cast<size_t>(size) : 1));
    if (!grown) return hostapi::memFullErr;
    if (size > recordOf(handle)->size)
        std::memset(grown + recordOf(handle)->size, 0, static_cast<size_t>(size - recordOf(handle)->size));
    recordOf(handle)->data = grown;
    recordOf(handle)->size = size;
    return hostapi::noErr;
}

char* lock(Handle handle, hostapi::Boolean) { return handle ? recordOf(handle)->data : nullptr; }
void unlock(Handle) {}
void recoverSpace(int32_t) {}

const hostapi::HandleProcs procs = {1, 8, newHandle, disposeHandle, getSize, setSize,
                                    lock, unlock, recoverSpace, disposeHandle};

int16_t allocateBuffer(int32_t size, void** buffer) {
    if (!buffer || size < 0) return hostapi::paramErr;
    *buffer = std::calloc(size ? static_cast<size_t>(size) : 1, 1);
    return *buffer ? hostapi::noErr : hostapi::memFullErr;
}
void* lockBuffer(void* buffer, hostapi::Boolean) { return buffer; }
void unlockBuffer(void*) {}
void freeBuffer(void* buffer) { std::free(buffer); }
int32_t bufferSpace() { return 256 << 20; }

const hostapi::BufferProcs bufferProcs = {2,
                                          5,
                                          reinterpret_cast<void*>(allocateBuffer),
                                          reinterpret_cast<void*>(lockBuffer),
                                          reinterpret_cast<void*>(unlockBuffer),
                                          reinterpret_cast<void*>(freeBuffer),
                                          reinterpret_cast<void*>(bufferSpace),
                                          nullptr,
                                          nullptr,
                                          nullptr};  // version 2 offers none of the later procedures

}  // namespace

const hostapi::HandleProcs& hostHandleProcs() { return procs; }
const hostapi::BufferProcs& hostBufferProcs() { return bufferProcs; }
hostapi::Handle newHostHandle(int32_t size) { return newHandle(size); }
void disposeHostHandle(hostapi::Handle handle) { disposeHandle(handle); }
int32_t hostHandleSize(hostapi::Handle handle) { return getSize(handle); }
uint64_t hostHandleSerial(hostapi::Handle handle) { return handle ? recordOf(handle)->serial : 0; }

std::string hostHandleBytes(hostapi::Handle handle) {
    if (!handle) return {};
    return std::string(recordOf(handle)->data, static_cast<size_t>(recordOf(handle)->size));
}

hostapi::Handle hostHandleFromBytes(const std::string& bytes) {
    Handle handle = newHandle(static_cast<int32_t>(bytes.size()));
    if (handle) std::memcpy(recordOf(handle)->data, bytes.data(), bytes.size());
    return handle;
}

int liveHostHandles() { return liveHandles; }

}  // namespace lumen::host
