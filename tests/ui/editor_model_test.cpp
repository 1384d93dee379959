// The editor's rules without its windows: check marks and their texts, what Save hands back,
// Randomize, and the Import button's file kinds.
#include <gtest/gtest.h>

#include "../filters/import_fixtures.h"
#include "../filters/test_support.h"
#include "filters/ffx_file.h"
#include "filters/memory_settings.h"
#include "ui/model/editor_model.h"

namespace lumen::ui {
namespace {

using filters::testing::sampleFilter;
using Sources = std::array<std::string, filters::kSourceCount>;

EditorCheck checked(const Sources& sources) {
    return checkMarks(formula::compileFilter({sources[0].c_str(), sources[1].c_str(), sources[2].c_str(),
                                              sources[3].c_str(), sources[4].c_str()}),
                      sources);
}

TEST(EditorModel, ACheckHidesPassedMarksShowsTheFirstFailureAndLeavesTheRest) {
    const EditorCheck broken = checked({"0", "r", "g +", "b (", "a"});
    EXPECT_EQ(broken.marks, (std::vector<SourceMark>{{0, false}, {1, false}, {2, true}}));
    EXPECT_FALSE(broken.renders);
    EXPECT_EQ(broken.failingSource, 2);
    EXPECT_EQ(broken.errorText, "Line 1, column 4: the source ends too early");

    const EditorCheck mended = checked({"0", "r", "g", "b", "a"});
    EXPECT_EQ(mended.marks.size(), 5u);
    for (const SourceMark& mark : mended.marks) EXPECT_FALSE(mark.shown);
    EXPECT_TRUE(mended.renders);
    EXPECT_EQ(mended.failingSource, -1);
    EXPECT_TRUE(mended.errorText.empty());
}

TEST(EditorModel, ErrorTextsNameTheLineTheColumnAndTheTextThere) {
    EXPECT_EQ(checked({"0", "r", "g", "b", "a +\r\n sine(x)"}).errorText, "Line 2, column 2: sine(x)");
    const EditorCheck comma = checked({"0", "src(x,,y,z)", "g", "b", "a"});
    EXPECT_EQ(comma.errorText, "Line 1, column 7: ,y,z)");
    EXPECT_EQ(comma.errorOffset, 6);
    const std::string deep = checked({std::string(20000, '('), "r", "g", "b", "a"}).errorText;
    EXPECT_EQ(deep.rfind("Line 1, column ", 0), 0u) << deep;
    EXPECT_TRUE(deep.ends_with(": nested too deeply")) << deep;
}

TEST(EditorModel, SaveHandsBackEverythingButTheTitleAndSlidersFollowTheWidgets) {
    const filters::FilterDefinition filter = sampleFilter(0);
    EditorModel editor(filter, 1);
    EXPECT_EQ(editor.title(), "Wave");
    editor.setSource(2, "g/2");
    editor.setSource(7, "ignored");
    editor.setInfo("someone", "(c) 2026");
    editor.setGradient(9);
    std::array<int, kSliderCount> widgets{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_FALSE(editor.sliderMoved(widgets, kSliderThumbTrack));
    EXPECT_TRUE(editor.sliderMoved(widgets, kSliderEndScroll));

    filters::FilterDefinition saved = filter;
    saved.title = "Not the editor's";
    filters::applyEdit(saved, editor.save());
    EXPECT_EQ(saved.title, "Not the editor's");
    EXPECT_EQ(saved.code[2], "g/2");
    EXPECT_EQ(saved.author, "someone");
    EXPECT_EQ(saved.gradientIndex, 9);
    EXPECT_EQ(saved.controlValue, (filters::ControlValues{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(EditorModel, RandomizeTouchesActiveControlsOnlyAndReportsWhenNoneIs) {
    filters::FilterDefinition filter = sampleFilter(0);  // odd controls active
    EditorModel editor(filter, 12345);
    bool changedSome = false;
    for (int round = 0; round < 4; ++round) {
        ASSERT_TRUE(editor.randomize());
        for (int k = 0; k < filters::kControlCount; ++k) {
            const int32_t value = editor.copies().controlValue[k];
            if (k % 2 == 0) EXPECT_EQ(value, filter.controlValue[k]);
            else EXPECT_TRUE(value >= 0 && value <= 255);
            changedSome = changedSome || value != filter.controlValue[k];
        }
    }
    EXPECT_TRUE(changedSome);

    filter.controlEnabled.fill(0);
    EditorModel inactive(filter, 1);
    EXPECT_FALSE(inactive.randomize());
    EXPECT_EQ(inactive.copies().controlValue, filter.controlValue);
}

class EditorImportTest : public ::testing::Test {
protected:
    filters::testing::ScratchDirectory scratch;
    filters::MemorySettingsStore settings;
    filters::FilterDefinition filter = sampleFilter(0);
    EditorModel editor{filter, 1};

    EditorImport import(const std::string& path) {
        return editor.importFile(filters::nativeFileSystem(), settings, path);
    }
    std::string remembered() {
        return filters::readStringSetting(settings, filters::kRecentEditorImportPathValue);
    }
};

TEST_F(EditorImportTest, FilterFactoryTextSetsValuesAndSourcesOnly) {
    const std::string afs = scratch.file("text.AFS");
    std::string text = "%RGB-1.0\r";
    for (int k = 0; k < 8; ++k) text += std::to_string(k * 3) + "\r";
    text += "r/2\r\rg\r\rb\r\ra\r\r";
    filters::testing::writeBytes(afs, std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_EQ(import(afs), EditorImport::Imported);
    EXPECT_EQ(editor.copies().code, (Sources{"0", "r/2", "g", "b", "a"}));
    EXPECT_EQ(editor.copies().controlValue, (filters::ControlValues{0, 3, 6, 9, 12, 15, 18, 21}));
    EXPECT_EQ(editor.copies().controlLabel, filter.controlLabel);
    EXPECT_EQ(editor.copies().controlEnabled, filter.controlEnabled);
    EXPECT_EQ(remembered(), afs);
}

TEST_F(EditorImportTest, PluginsSetControlsAsTheWidgetsShowThemOrAreRefused) {
    const std::string plugin = scratch.file("wave.8bf");
    filters::testing::writeBytes(plugin, filters::testing::buildFfPlugin(
                                             filters::testing::encodeParmRecord(filters::testing::sampleParmRecord())));
    ASSERT_EQ(import(plugin), EditorImport::Imported);
    EXPECT_EQ(editor.copies().code, (Sources{"0", "r/2", "g*ctl(1)/255", "b", "a"}));
    EXPECT_EQ(editor.copies().controlLabel[4], "L4");
    EXPECT_EQ(editor.copies().controlEnabled, (std::array<uint8_t, 8>{1, 1, 0, 1, 1, 0, 1, 1}));
    EXPECT_EQ(editor.copies().controlValue[7], 65);

    const filters::FilterEdit before = editor.copies();
    const std::string notAPlugin = scratch.file("broken.8bf");
    filters::testing::writeBytes(notAPlugin, {'M', 'Z', 0, 0});
    EXPECT_EQ(import(notAPlugin), EditorImport::NotAFilterFactoryPlugin);
    EXPECT_EQ(editor.copies().code, before.code);
    EXPECT_EQ(remembered(), plugin);
}

TEST_F(EditorImportTest, OwnFiltersAreTakenAndOtherFilesDoNothing) {
    filters::FilterDefinition own = sampleFilter(1);
    own.code = {"put(1,0)", "get(0)*r", "g", "b", "a"};
    own.controlEnabled.fill(1);
    own.gradientDefault = own.gradientIndex = 77;
    own.filePath = scratch.file("own.ffx");
    ASSERT_TRUE(filters::writeFfxFile(filters::nativeFileSystem(), own));
    ASSERT_EQ(import(own.filePath), EditorImport::Imported);
    EXPECT_EQ(editor.copies().code, own.code);
    EXPECT_EQ(editor.copies().controlEnabled, own.controlEnabled);
    EXPECT_EQ(editor.copies().gradientIndex, 77);
    EXPECT_EQ(editor.copies().author, filter.author);

    const filters::FilterEdit before = editor.copies();
    filters::testing::writeBytes(scratch.file("notes.txt"), {'r'});
    EXPECT_EQ(import(scratch.file("notes.txt")), EditorImport::NothingDone);
    EXPECT_EQ(import(scratch.file("missing.afs")), EditorImport::NothingDone);
    EXPECT_EQ(import(scratch.file("no_extension")), EditorImport::NothingDone);
    EXPECT_EQ(editor.copies().code, before.code);
    EXPECT_EQ(remembered(), own.filePath);
}

TEST(EditorModel, AuthorDefaultsRoundTripThroughTheSettings) {
    filters::MemorySettingsStore settings;
    EXPECT_EQ(loadAuthorDefaults(settings).author, "");
    ASSERT_TRUE(saveAuthorDefaults(settings, {"me", "line one\r\nline two"}));
    const AuthorDefaults loaded = loadAuthorDefaults(settings);
    EXPECT_EQ(loaded.author, "me");
    EXPECT_EQ(loaded.copyright, "line one\r\nline two");
}

}  // namespace
}  // namespace lumen::ui
