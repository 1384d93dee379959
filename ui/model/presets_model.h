#pragma once
// The presets page without its windows: which buttons are enabled, which preset is selected
// after a delete or a move, and the changes that are saved into the filter's file at once.
#include <cstddef>
#include <optional>
#include <string>

#include "filters/filter_database.h"
#include "filters/filter_definition.h"
#include "imaging/bitmap.h"

namespace lumen::ui {

struct PresetButtons {
    bool add = false;
    bool edit = false;
    bool remove = false;
    bool up = false;
    bool down = false;
    bool apply = false;
    bool setDefault = false;
    bool operator==(const PresetButtons&) const = default;
};
PresetButtons presetButtons(std::optional<size_t> selected, size_t presetCount, size_t selectedFilters);

// Every preset item is this many pixels high.
constexpr int kPresetItemHeight = 86;

// Where an item's thumbnail and word-wrapped description go (client coordinates).
struct PresetItemLayout {
    int thumbnailLeft = 0;
    int thumbnailTop = 0;
    int textLeft = 0;
    int textTop = 0;
    int textRight = 0;
    int textBottom = 0;
    bool operator==(const PresetItemLayout&) const = default;
};
PresetItemLayout presetItemLayout(int left, int top, int right, int bottom);

// The item selected after the one at `deleted` went and `remaining` are left.
std::optional<size_t> selectionAfterDelete(size_t deleted, size_t remaining);

// Each saves the filter with its presets (the entry's presets flag and the index kept in step)
// and answers the item to select; nothing when the index is out of range. A failed save keeps
// the change in memory.
size_t addPresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                        const std::string& description, imaging::Bitmap thumbnail);
std::optional<size_t> describePresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                                            size_t index, const std::string& description);
std::optional<size_t> deletePresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                                          size_t index);
// One place up (towards the first) or down.
std::optional<size_t> movePresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                                        size_t index, bool up);

}  // namespace lumen::ui
