#pragma once
// Memory the host and the plug-in share across calls: movable global memory on Windows,
// allocated zero-filled (unless asked otherwise) and locked for its whole life; heap memory
// elsewhere.
#include <cstddef>
#include <cstdint>

#include "plugin/host_api.h"

namespace lumen::plugin {

// What fresh memory holds: zeroes, or whatever it held (for memory its user fills whole at once).
enum class GlobalFill { kZeroes, kUnset };

// Null when the memory cannot be had.
void* allocateLockedGlobal(size_t size, GlobalFill fill = GlobalFill::kZeroes);
// Releases memory from allocateLockedGlobal; null is allowed.
void freeLockedGlobal(void* memory);
// The size asked for when the memory was allocated.
size_t lockedGlobalSize(const void* memory);

// The plug-in's own handle form: a record of two pointer-sized words, the address of the
// data and the code FOTO, both pieces in locked global memory for their whole life.
constexpr uintptr_t kOwnHandleMark = 0x464F544F;  // FOTO

hostapi::Handle newOwnHandle(size_t size);
// The data of a handle in the plug-in's own form; null for null or a handle of another form.
void* ownHandleData(hostapi::Handle handle);
// Frees a handle of the plug-in's own form; other handles are left alone.
void disposeOwnHandle(hostapi::Handle handle);

// Tests make one allocation fail, the one after `successes` more succeeded, to reach the
// out-of-memory paths; a negative count cancels.
void failGlobalAllocationAfter(int successes);

namespace detail {
// True when an injected failure is due; consumed by the platform allocators.
bool takeInjectedAllocationFailure();
}

}  // namespace lumen::plugin
