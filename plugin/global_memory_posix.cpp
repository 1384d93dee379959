#include <cstdlib>
#include <cstring>

#include "global_memory.h"

namespace lumen::plugin {
namespace {
// The size is kept in front of the memory, where a movable block keeps it on Windows.
constexpr size_t kHeader = alignof(std::max_align_t);
}

void* allocateLockedGlobal(size_t size, GlobalFill fill) {
    if (detail::takeInjectedAllocationFailure() || size > SIZE_MAX - kHeader) return nullptr;
    auto* block = static_cast<unsigned char*>(fill == GlobalFill::kZeroes ? std::calloc(kHeader + size, 1)
                                                                          : std::malloc(kHeader + size));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof size);
    return block + kHeader;
}

void freeLockedGlobal(void* memory) {
    if (memory) std::free(static_cast<unsigned char*>(memory) - kHeader);
}

size_t lockedGlobalSize(const void* memory) {
    size_t size = 0;
    if (memory) std::memcpy(&size, static_cast<const unsigned char*>(memory) - kHeader, sizeof size);
    return size;
}

}  // namespace lumen::plugin
