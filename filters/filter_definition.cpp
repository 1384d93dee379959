#include "filters/filter_definition.h"

#include <utility>

namespace lumen::filters {
namespace {

std::string cut(const std::string& text, size_t maxLength) {
    return text.size() <= maxLength ? text : text.substr(0, maxLength);
}

}  // namespace

void FilterDefinition::clear() {
    title.clear();
    category.clear();
    filePath.clear();
    author.clear();
    copyright.clear();
    for (std::string& source : code) source.clear();
    for (std::string& label : controlLabel) label.clear();
    controlEnabled.fill(0);
    controlValue.fill(0);
    gradientIndex = 0;
    presets.clear();
}

void FilterDefinition::fillAsNew(const std::string& newCategory, const std::string& newTitle,
                                 const std::string& newFilePath) {
    clear();
    category = newCategory;
    title = newTitle;
    filePath = newFilePath;
    code = {"0", "r", "g", "b", "a"};
    for (int i = 0; i < kControlCount; ++i) controlLabel[i] = "Control " + std::to_string(i);
    controlEnabled.fill(1);
    controlValue.fill(0);
    controlDefault.fill(0);
    gradientIndex = 0;
    gradientDefault = 0;
}

void FilterDefinition::takeCurrentAsDefault() {
    controlDefault = controlValue;
    gradientDefault = gradientIndex;
}

FilterEdit editOf(const FilterDefinition& filter) {
    return {filter.author,         filter.copyright,    filter.code,         filter.controlLabel,
            filter.controlEnabled, filter.controlValue, filter.gradientIndex};
}

void applyEdit(FilterDefinition& filter, const FilterEdit& edit) {
    filter.author = edit.author;
    filter.copyright = edit.copyright;
    filter.code = edit.code;
    filter.controlLabel = edit.controlLabel;
    filter.controlEnabled = edit.controlEnabled;
    filter.controlValue = edit.controlValue;
    filter.controlDefault = edit.controlValue;
    filter.gradientIndex = edit.gradientIndex;
    filter.gradientDefault = edit.gradientIndex;
}

void addPreset(FilterDefinition& filter, const std::string& name, imaging::Bitmap thumbnail) {
    filter.presets.push_back({name, filter.controlValue, filter.gradientIndex, std::move(thumbnail)});
}

bool renamePreset(FilterDefinition& filter, size_t index, const std::string& name) {
    if (index >= filter.presets.size()) return false;
    filter.presets[index].name = name;
    return true;
}

bool deletePreset(FilterDefinition& filter, size_t index) {
    if (index >= filter.presets.size()) return false;
    filter.presets.erase(filter.presets.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool swapPresets(FilterDefinition& filter, size_t first, size_t second) {
    if (first >= filter.presets.size() || second >= filter.presets.size()) return false;
    std::swap(filter.presets[first], filter.presets[second]);
    return true;
}

bool applyPreset(FilterDefinition& filter, size_t index) {
    if (index >= filter.presets.size()) return false;
    filter.controlValue = filter.presets[index].controlValue;
    filter.gradientIndex = filter.presets[index].gradientIndex;
    return true;
}

std::optional<imaging::Bitmap> presetThumbnail(const imaging::Bitmap& preview) {
    return imaging::makeThumbnail(preview);
}

BlockFilterFields toBlockFields(const FilterDefinition& filter, const std::string& databasePath) {
    BlockFilterFields fields;
    fields.title = cut(filter.title, kMaxBlockNameLength);
    fields.category = cut(filter.category, kMaxBlockNameLength);
    fields.databasePath = cut(databasePath, kMaxBlockNameLength);
    for (int i = 0; i < kSourceCount; ++i) fields.code[i] = cut(filter.code[i], kMaxBlockSourceLength);
    for (int i = 0; i < kControlCount; ++i)
        fields.controlLabel[i] = cut(filter.controlLabel[i], kMaxBlockLabelLength);
    fields.controlEnabled = filter.controlEnabled;
    fields.controlValue = filter.controlValue;
    fields.gradientIndex = filter.gradientIndex;
    return fields;
}

void fromBlockFields(FilterDefinition& filter, const BlockFilterFields& fields) {
    if (fields.title.empty() || fields.category.empty()) {
        filter.clear();
        filter.restored = false;
        return;
    }
    filter.title = fields.title;
    filter.category = fields.category;
    filter.filePath.clear();
    filter.author.clear();
    filter.copyright.clear();
    filter.code = fields.code;
    filter.controlLabel = fields.controlLabel;
    filter.controlEnabled = fields.controlEnabled;
    filter.controlValue = fields.controlValue;
    filter.gradientIndex = fields.gradientIndex;
    filter.presets.clear();
    filter.restored = true;
}

}  // namespace lumen::filters
