#include "parameter_block.h"

#include <cstring>

#include "plugin/global_memory.h"
#include "plugin/host_detection.h"

namespace lumen::plugin {
namespace {
ParameterBlock* currentBlock = nullptr;
}

void setFieldText(char* field, size_t fieldSize, std::string_view text) {
    if (fieldSize == 0) return;
    const size_t length = std::min(text.size(), fieldSize - 1);
    if (length > 0) std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, fieldSize - length);
}

std::string_view fieldText(const char* field, size_t fieldSize) {
    const void* end = std::memchr(field, 0, fieldSize);
    return {field, end ? static_cast<size_t>(static_cast<const char*>(end) - field) : fieldSize};
}

ParameterBlock* blockOfHandle(hostapi::Handle handle) {
    return static_cast<ParameterBlock*>(ownHandleData(handle));
}

void disposeParameterHandle(hostapi::Handle handle) {
    if (blockOfHandle(handle) == currentBlock) currentBlock = nullptr;
    disposeOwnHandle(handle);
}

ParameterBlock* currentParameterBlock() { return currentBlock; }

EnsureResult ensureParameterBlock(hostapi::FilterRecord& record) {
    // A handle without our mark is not dereferenced: it cannot be known to hold a block.
    if (ParameterBlock* existing = blockOfHandle(record.parameters)) {
        currentBlock = existing;
        return {existing, false};
    }
    hostapi::Handle handle = newOwnHandle(sizeof(ParameterBlock));
    if (!handle) {
        currentBlock = nullptr;
        return {};
    }
    record.parameters = handle;
    currentBlock = blockOfHandle(handle);
    detectHost(record, currentHostProcess(), *currentBlock);
    return {currentBlock, true};
}

}  // namespace lumen::plugin
