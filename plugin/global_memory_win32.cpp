#include <windows.h>

#include "global_memory.h"

namespace lumen::plugin {

void* allocateLockedGlobal(size_t size, GlobalFill fill) {
    if (detail::takeInjectedAllocationFailure()) return nullptr;
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | (fill == GlobalFill::kZeroes ? GMEM_ZEROINIT : 0), size ? size : 1);
    if (!handle) return nullptr;
    void* memory = GlobalLock(handle);
    if (!memory) GlobalFree(handle);
    return memory;
}

void freeLockedGlobal(void* memory) {
    if (!memory) return;
    HGLOBAL handle = GlobalHandle(memory);
    if (!handle) return;
    GlobalUnlock(handle);
    GlobalFree(handle);
}

size_t lockedGlobalSize(const void* memory) {
    HGLOBAL handle = memory ? GlobalHandle(memory) : nullptr;
    return handle ? GlobalSize(handle) : 0;
}

}  // namespace lumen::plugin
