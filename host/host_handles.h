#pragma once
// The host's own handles, handed to plug-ins through HandleProcs: a handle points at a master
// pointer, so the block behind it can move when it is resized. Buffers come from the heap.
#include <cstdint>
#include <string>

#include "plugin/host_api.h"

namespace lumen::host {

const hostapi::HandleProcs& hostHandleProcs();
const hostapi::BufferProcs& hostBufferProcs();

hostapi::Handle newHostHandle(int32_t size);
void disposeHostHandle(hostapi::Handle handle);
int32_t hostHandleSize(hostapi::Handle handle);
std::string hostHandleBytes(hostapi::Handle handle);
hostapi::Handle hostHandleFromBytes(const std::string& bytes);

// Handles still allocated: a plug-in that forgets to dispose what it was given leaks them.
int liveHostHandles();

// Every handle made gets a number of its own, never given again: unlike its address, which the
// allocator hands out anew once the handle is disposed. 0 for null.
uint64_t hostHandleSerial(hostapi::Handle handle);

}  // namespace lumen::host
