#include "ui/model/presets_model.h"

namespace lumen::ui {

PresetButtons presetButtons(std::optional<size_t> selected, size_t presetCount, size_t selectedFilters) {
    PresetButtons buttons;
    buttons.add = buttons.setDefault = selectedFilters == 1;
    if (selected && *selected < presetCount) {
        buttons.edit = buttons.remove = buttons.apply = true;
        buttons.up = *selected > 0;
        buttons.down = *selected + 1 < presetCount;
    }
    return buttons;
}

PresetItemLayout presetItemLayout(int left, int top, int right, int bottom) {
    // The text starts a third past the width of a thumbnail-high square.
    return {left + 1, top + 1, left + 4 * kPresetItemHeight / 3, top + 2, right - 3, bottom};
}

std::optional<size_t> selectionAfterDelete(size_t deleted, size_t remaining) {
    if (remaining == 0) return std::nullopt;
    if (deleted + 1 < remaining) return deleted;
    if (deleted >= 1) return deleted - 1;
    return 0;
}

size_t addPresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                        const std::string& description, imaging::Bitmap thumbnail) {
    filters::addPreset(filter, description, std::move(thumbnail));
    database.savePresetChange(filter);
    return filter.presets.size() - 1;
}

std::optional<size_t> describePresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                                            size_t index, const std::string& description) {
    if (!filters::renamePreset(filter, index, description)) return std::nullopt;
    database.savePresetChange(filter);
    return index;
}

std::optional<size_t> deletePresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                                          size_t index) {
    if (!filters::deletePreset(filter, index)) return std::nullopt;
    database.savePresetChange(filter);
    return selectionAfterDelete(index, filter.presets.size());
}

std::optional<size_t> movePresetAndSave(filters::FilterDatabase& database, filters::FilterDefinition& filter,
                                        size_t index, bool up) {
    if (up ? index == 0 : index + 1 >= filter.presets.size()) return std::nullopt;
    const size_t other = up ? index - 1 : index + 1;
    if (!filters::swapPresets(filter, index, other)) return std::nullopt;
    database.savePresetChange(filter);
    return other;
}

}  // namespace lumen::ui
