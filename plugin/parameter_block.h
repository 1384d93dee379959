#pragma once
// The record the plug-in keeps in the host's parameters handle between runs: the filter last
// applied, with everything needed to apply it again without the dialog.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "plugin/host_api.h"

namespace lumen::plugin {

constexpr int kSliderCount = 8;
constexpr int kSourceCount = 5;

struct ParameterBlock {
    int32_t sliderValue[kSliderCount];
    uint8_t sliderInUse[kSliderCount];
    char sliderLabel[kSliderCount][80];
    char codeText[kSourceCount][1024];
    char filterName[256];
    char filterCategory[256];
    char databaseName[256];
    int32_t gradientIndex;
    uint8_t showDialog;
    uint8_t swapRedBlue;
    uint8_t drawPreviewDirect;
    uint8_t reserved;
};

static_assert(sizeof(ParameterBlock) == 6576);
static_assert(offsetof(ParameterBlock, sliderInUse) == 32);
static_assert(offsetof(ParameterBlock, sliderLabel) == 40);
static_assert(offsetof(ParameterBlock, codeText) == 680);
static_assert(offsetof(ParameterBlock, filterName) == 5800);
static_assert(offsetof(ParameterBlock, filterCategory) == 6056);
static_assert(offsetof(ParameterBlock, databaseName) == 6312);
static_assert(offsetof(ParameterBlock, gradientIndex) == 6568);
static_assert(offsetof(ParameterBlock, showDialog) == 6572);
static_assert(offsetof(ParameterBlock, swapRedBlue) == 6573);
static_assert(offsetof(ParameterBlock, drawPreviewDirect) == 6574);

// Stores text into a fixed field, cut to the field's width less the terminator; the rest of
// the field is zeroed, so nothing spills into the neighbour and no stale bytes remain.
void setFieldText(char* field, size_t fieldSize, std::string_view text);
template <size_t N>
void setFieldText(char (&field)[N], std::string_view text) {
    setFieldText(field, N, text);
}

// The text of a field up to its terminator, never beyond the field.
std::string_view fieldText(const char* field, size_t fieldSize);
template <size_t N>
std::string_view fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

// The block a handle of the plug-in's own form carries; null for a handle of another form.
ParameterBlock* blockOfHandle(hostapi::Handle handle);
void disposeParameterHandle(hostapi::Handle handle);

// The block of the current run; null until a block was ensured.
ParameterBlock* currentParameterBlock();

struct EnsureResult {
    ParameterBlock* block = nullptr;  // null when the handle could not be made
    bool created = false;
};

// Takes the block from the record's parameters handle, or makes a new handle (running the
// host detection for the new block). Makes the block current.
EnsureResult ensureParameterBlock(hostapi::FilterRecord& record);

}  // namespace lumen::plugin
