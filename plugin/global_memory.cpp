#include "global_memory.h"

#include <atomic>

namespace lumen::plugin {

namespace {
std::atomic<int> successesBeforeFailure{-1};
}

void failGlobalAllocationAfter(int successes) { successesBeforeFailure = successes; }

bool detail::takeInjectedAllocationFailure() {
    int remaining = successesBeforeFailure.load();
    while (remaining >= 0) {
        if (successesBeforeFailure.compare_exchange_weak(remaining, remaining - 1)) return remaining == 0;
    }
    return false;
}

hostapi::Handle newOwnHandle(size_t size) {
    auto* record = static_cast<uintptr_t*>(allocateLockedGlobal(2 * sizeof(uintptr_t)));
    if (!record) return nullptr;
    void* data = allocateLockedGlobal(size);
    if (!data) {
        freeLockedGlobal(record);
        return nullptr;
    }
    record[0] = reinterpret_cast<uintptr_t>(data);
    record[1] = kOwnHandleMark;
    return reinterpret_cast<hostapi::Handle>(record);
}

void* ownHandleData(hostapi::Handle handle) {
    const auto* record = reinterpret_cast<const uintptr_t*>(handle);
    return record && record[1] == kOwnHandleMark ? reinterpret_cast<void*>(record[0]) : nullptr;
}

void disposeOwnHandle(hostapi::Handle handle) {
    if (void* data = ownHandleData(handle)) {
        freeLockedGlobal(data);
        freeLockedGlobal(handle);
    }
}

}  // namespace lumen::plugin
