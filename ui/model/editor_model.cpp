#include "ui/model/editor_model.h"

#include <algorithm>
#include <cctype>

#include "filters/afs_file.h"
#include "filters/ff_plugin.h"
#include "filters/ffx_file.h"
#include "filters/parm_record.h"
#include "formula/source_position.h"

namespace lumen::ui {
namespace {

std::string upperExtensionOf(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    const size_t separator = path.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return extension;
}

// What Filter Factory's record gives the editor: values, source I = "0" and the four formulas.
void takeRecord(const filters::ParmRecord& record, filters::FilterEdit& copies) {
    for (int k = 0; k < filters::kControlCount; ++k) copies.controlValue[k] = record.values[k];
    copies.code[0].assign(1, '0');  // not = "0": GCC 12 inlines that into a false -Wrestrict warning
    for (int i = 0; i < filters::kParmFormulaCount; ++i) copies.code[i + 1] = record.formula[i];
}

}  // namespace

EditorCheck checkMarks(const formula::FilterCompileResult& compiled,
                       const std::array<std::string, filters::kSourceCount>& sources) {
    EditorCheck check;
    for (int i = 0; i < filters::kSourceCount; ++i) {
        if (compiled.sources[i] == formula::SourceCheck::kPassed) check.marks.push_back({i, false});
        if (compiled.sources[i] != formula::SourceCheck::kFailed) continue;
        check.marks.push_back({i, true});
        check.failingSource = i;
        check.errorText = describeSourceError(compiled, sources[i]);
        check.errorOffset = formula::locateSourcePosition(sources[i], compiled.failingOffset).offset;
        break;
    }
    check.renders = compiled.ok;
    return check;
}

std::string describeSourceError(const formula::FilterCompileResult& compiled, const std::string& source) {
    const formula::SourcePosition at = formula::locateSourcePosition(source, compiled.failingOffset);
    std::string text = "Line " + std::to_string(at.line) + ", column " + std::to_string(at.column) + ": ";
    if (compiled.failingStatus == formula::kCompileStackOverflow) return text + "nested too deeply";
    if (at.excerpt.empty()) return text + "the source ends too early";
    return text + at.excerpt;
}

EditorModel::EditorModel(const filters::FilterDefinition& filter, uint32_t seed)
    : title_(filter.title), copies_(filters::editOf(filter)), random_(seed) {}

void EditorModel::setSource(int source, std::string text) {
    if (source >= 0 && source < filters::kSourceCount) copies_.code[source] = std::move(text);
}

bool EditorModel::sliderMoved(const std::array<int, kSliderCount>& widgetValues, int code) {
    for (int k = 0; k < filters::kControlCount; ++k) copies_.controlValue[k] = widgetValues[k];
    return code == kSliderEndScroll;
}

bool EditorModel::randomize() {
    bool any = false;
    for (int k = 0; k < filters::kControlCount; ++k)
        if (copies_.controlEnabled[k]) {
            copies_.controlValue[k] = static_cast<int32_t>(random_() & 0xFF);
            any = true;
        }
    return any;
}

void EditorModel::setSliderSettings(const std::array<std::string, filters::kControlCount>& labels,
                                    const std::array<uint8_t, filters::kControlCount>& active) {
    copies_.controlLabel = labels;
    copies_.controlEnabled = active;
}

void EditorModel::setInfo(std::string author, std::string copyright) {
    copies_.author = std::move(author);
    copies_.copyright = std::move(copyright);
}

EditorImport EditorModel::importFile(filters::FileSystem& fs, filters::SettingsStore& settings, const std::string& path) {
    const std::string extension = upperExtensionOf(path);
    if (extension == ".AFS") {
        filters::ParmRecord record;
        if (!filters::readAfsFile(fs, path, record)) return EditorImport::NothingDone;
        takeRecord(record, copies_);
    } else if (extension == ".8BF") {
        filters::ParmRecord record;
        if (!filters::readFfPluginFile(fs, path, record))
            return EditorImport::NotAFilterFactoryPlugin;
        takeRecord(record, copies_);
        // The widgets show the plug-in's controls, and Save keeps what the widgets show.
        for (int k = 0; k < filters::kControlCount; ++k) {
            copies_.controlLabel[k] = record.controlLabel[k];
            copies_.controlEnabled[k] = record.controlInUse[k] != 0;
        }
    } else if (extension == ".FFX") {
        filters::FilterDefinition filter;
        if (!filters::loadFfxFile(fs, path, filter)) return EditorImport::NothingDone;
        copies_.code = filter.code;
        copies_.controlLabel = filter.controlLabel;
        copies_.controlEnabled = filter.controlEnabled;
        copies_.controlValue = filter.controlValue;
        copies_.gradientIndex = filter.gradientIndex;
    } else {
        return EditorImport::NothingDone;
    }
    filters::writeStringSetting(settings, filters::kRecentEditorImportPathValue, path);
    return EditorImport::Imported;
}

AuthorDefaults loadAuthorDefaults(filters::SettingsStore& settings) {
    return {filters::readStringSetting(settings, filters::kEditorDefAuthorValue),
            filters::readStringSetting(settings, filters::kEditorDefCopyrightValue)};
}

bool saveAuthorDefaults(filters::SettingsStore& settings, const AuthorDefaults& defaults) {
    const bool author = filters::writeStringSetting(settings, filters::kEditorDefAuthorValue, defaults.author);
    const bool copyright = filters::writeStringSetting(settings, filters::kEditorDefCopyrightValue, defaults.copyright);
    return author && copyright;
}

}  // namespace lumen::ui
