#pragma once
// One formula filter in memory: descriptive texts, five formula sources, eight controls, the
// gradient choice and the presets with their thumbnails.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/bitmap.h"

namespace lumen::filters {

constexpr int kControlCount = 8;
constexpr int kSourceCount = 5;

// Widths the host's parameter block leaves for each text, terminator excluded.
constexpr size_t kMaxBlockNameLength = 255;
constexpr size_t kMaxBlockLabelLength = 79;
constexpr size_t kMaxBlockSourceLength = 1023;

using ControlValues = std::array<int32_t, kControlCount>;

struct Preset {
    std::string name;
    ControlValues controlValue{};
    int32_t gradientIndex = 0;
    imaging::Bitmap thumbnail;
};

struct FilterDefinition {
    std::string title;
    std::string category;
    std::string filePath;
    std::string author;
    std::string copyright;
    std::array<std::string, kSourceCount> code;
    std::array<std::string, kControlCount> controlLabel;
    std::array<uint8_t, kControlCount> controlEnabled{};
    ControlValues controlValue{};
    ControlValues controlDefault{};
    int32_t gradientIndex = 0;
    int32_t gradientDefault = 0;
    std::vector<Preset> presets;
    // Filled from the parameter block: loading from a file is skipped until the user picks
    // another filter, so the values of the previous run survive.
    bool restored = false;

    // Empties everything but the stored defaults (controlDefault, gradientDefault).
    void clear();
    // The identity filter with every control enabled, as a new filter starts.
    void fillAsNew(const std::string& newCategory, const std::string& newTitle,
                   const std::string& newFilePath);
    // The current values become the stored ones.
    void takeCurrentAsDefault();
};

// What the editor dialog hands back when accepted; the title is not the editor's to change.
struct FilterEdit {
    std::string author;
    std::string copyright;
    std::array<std::string, kSourceCount> code;
    std::array<std::string, kControlCount> controlLabel;
    std::array<uint8_t, kControlCount> controlEnabled{};
    ControlValues controlValue{};
    int32_t gradientIndex = 0;
};
// The fields the editor opens with, as the filter holds them.
FilterEdit editOf(const FilterDefinition& filter);
void applyEdit(FilterDefinition& filter, const FilterEdit& edit);

// Presets in memory; each returns false (and changes nothing) for an index out of range.
void addPreset(FilterDefinition& filter, const std::string& name, imaging::Bitmap thumbnail);
bool renamePreset(FilterDefinition& filter, size_t index, const std::string& name);
bool deletePreset(FilterDefinition& filter, size_t index);
bool swapPresets(FilterDefinition& filter, size_t first, size_t second);
bool applyPreset(FilterDefinition& filter, size_t index);

// A preset thumbnail of the preview at the time: the thumbnail size rule, area-averaged.
std::optional<imaging::Bitmap> presetThumbnail(const imaging::Bitmap& preview);

// The filter's share of the host's parameter block, as plain texts and numbers: the plug-in
// copies these fields into and out of its fixed-width record.
struct BlockFilterFields {
    std::string title;
    std::string category;
    std::string databasePath;
    std::array<std::string, kSourceCount> code;
    std::array<std::string, kControlCount> controlLabel;
    std::array<uint8_t, kControlCount> controlEnabled{};
    ControlValues controlValue{};
    int32_t gradientIndex = 0;
};

// Every text is cut to the width its field in the block leaves.
BlockFilterFields toBlockFields(const FilterDefinition& filter, const std::string& databasePath);
// An empty title or category clears the filter (unmarked); otherwise the filter takes the
// block's values, loses its file, texts and presets, and is marked restored.
void fromBlockFields(FilterDefinition& filter, const BlockFilterFields& fields);

}  // namespace lumen::filters
