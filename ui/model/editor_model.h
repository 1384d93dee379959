#pragma once
// The filter editor without its windows: the copies it edits, what Save hands back, the error
// marks a check pass posts and the text that says where a source went wrong, Randomize, the
// Slider Settings and Filter Info exchanges, and what the Import button takes from a file.
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "filters/file_system.h"
#include "filters/filter_definition.h"
#include "filters/settings_store.h"
#include "formula/compile_filter.h"
#include "ui/model/slider_model.h"

namespace lumen::ui {

// One show-mark or hide-mark message of the check pass, in the order the worker posts them.
struct SourceMark {
    int source = 0;  // 0 ... 4: I, R, G, B, A
    bool shown = false;
    bool operator==(const SourceMark&) const = default;
};

struct EditorCheck {
    std::vector<SourceMark> marks;
    bool renders = false;     // all five parsed and compiled
    int failingSource = -1;
    std::string errorText;    // where the failing source stopped, for its mark's tip
    int errorOffset = -1;     // where the caret goes when the mark is clicked
};

// Passed sources hide their marks in order; the first failure shows its own and the later
// sources' marks stay as they were (no message for them).
EditorCheck checkMarks(const formula::FilterCompileResult& compiled,
                       const std::array<std::string, filters::kSourceCount>& sources);

// "Line 2, column 5: sine(x)"; the end of a source and too deep nesting said in words.
std::string describeSourceError(const formula::FilterCompileResult& compiled, const std::string& source);

enum class EditorImport { Imported, NotAFilterFactoryPlugin, NothingDone };

class EditorModel {
public:
    EditorModel(const filters::FilterDefinition& filter, uint32_t seed);

    const std::string& title() const { return title_; }
    const filters::FilterEdit& copies() const { return copies_; }
    // Save: everything the editor changed; the title is not among it.
    filters::FilterEdit save() const { return copies_; }

    void setSource(int source, std::string text);
    void setGradient(int32_t index) { copies_.gradientIndex = index; }
    // A widget's scroll notification: the widgets' values become the editor's; true when a
    // check and render is to follow (the drag ended).
    bool sliderMoved(const std::array<int, kSliderCount>& widgetValues, int code);
    // Each active control a random 0 ... 255; false (nothing changed) when none is active.
    bool randomize();
    // Slider Settings' OK.
    void setSliderSettings(const std::array<std::string, filters::kControlCount>& labels,
                           const std::array<uint8_t, filters::kControlCount>& active);
    // Filter Info's OK.
    void setInfo(std::string author, std::string copyright);

    // The Import button's file, by its extension: Filter Factory text and plug-ins, and our own
    // filters (offered by the file dialog, so taken as a user expects: sources, controls and
    // gradient). On success the path is remembered for the next import.
    EditorImport importFile(filters::FileSystem& fs, filters::SettingsStore& settings, const std::string& path);

private:
    std::string title_;
    filters::FilterEdit copies_;
    std::mt19937 random_;
};

// Filter Info's "Load defaults" and "Save as defaults".
struct AuthorDefaults {
    std::string author;
    std::string copyright;
};
AuthorDefaults loadAuthorDefaults(filters::SettingsStore& settings);
bool saveAuthorDefaults(filters::SettingsStore& settings, const AuthorDefaults& defaults);

}  // namespace lumen::ui
