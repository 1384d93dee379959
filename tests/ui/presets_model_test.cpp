#include "ui/model/presets_model.h"

#include "navigator_fixture.h"

namespace lumen::ui::testing {
namespace {

TEST(PresetsModel, SelectionAfterDeletingFromThree) {
    EXPECT_EQ(selectionAfterDelete(1, 2), 0u);  // the middle: the first
    EXPECT_EQ(selectionAfterDelete(0, 2), 0u);  // the first: the new first
    EXPECT_EQ(selectionAfterDelete(2, 2), 1u);  // the last: the new last
    EXPECT_EQ(selectionAfterDelete(0, 1), 0u);  // one left
    EXPECT_EQ(selectionAfterDelete(1, 1), 0u);
    EXPECT_EQ(selectionAfterDelete(0, 0), std::nullopt);
}

TEST(PresetsModel, ItemLayout) {
    EXPECT_EQ(presetItemLayout(0, 172, 300, 258), (PresetItemLayout{1, 173, 114, 174, 297, 258}));
}

TEST(PresetsModel, ButtonRules) {
    EXPECT_EQ(presetButtons(std::nullopt, 0, 0), PresetButtons{});
    EXPECT_EQ(presetButtons(std::nullopt, 3, 1), (PresetButtons{true, false, false, false, false, false, true}));
    EXPECT_EQ(presetButtons(0, 3, 1), (PresetButtons{true, true, true, false, true, true, true}));
    EXPECT_EQ(presetButtons(2, 3, 2), (PresetButtons{false, true, true, true, false, true, false}));
    EXPECT_EQ(presetButtons(0, 1, 1).up || presetButtons(0, 1, 1).down, false);
    EXPECT_EQ(presetButtons(3, 3, 1).edit, false);  // a selection past the end is none
}

TEST_F(NavigatorTest, PresetChangesAreSavedAtOnceAndTheFirstAndLastChangeTheIcon) {
    navigator.initialFill("Stone", "Brick");
    ASSERT_TRUE(working.presets.empty());
    working.controlValue[0] = 42;
    EXPECT_EQ(addPresetAndSave(database, working, "first", filters::testing::gradientBitmap(8, 6)), 0u);
    navigator.presetsSaved();
    EXPECT_TRUE(view.filters[0].hasPresets());
    addPresetAndSave(database, working, "second", filters::testing::gradientBitmap(8, 6));
    addPresetAndSave(database, working, "third", filters::testing::gradientBitmap(8, 6));

    auto names = [&] {
        filters::FilterDefinition read;
        EXPECT_TRUE(filters::loadFfxFile(fs, dir.file("Stone - Brick.ffx"), read));
        std::vector<std::string> stored;
        for (const filters::Preset& preset : read.presets) stored.push_back(preset.name);
        return stored;
    };
    EXPECT_EQ(names(), (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(movePresetAndSave(database, working, 0, false), 1u);
    EXPECT_EQ(names(), (std::vector<std::string>{"second", "first", "third"}));
    EXPECT_EQ(movePresetAndSave(database, working, 0, true), std::nullopt);
    EXPECT_EQ(movePresetAndSave(database, working, 2, false), std::nullopt);
    EXPECT_EQ(describePresetAndSave(database, working, 2, "last"), 2u);
    EXPECT_EQ(describePresetAndSave(database, working, 3, "none"), std::nullopt);
    EXPECT_EQ(names(), (std::vector<std::string>{"second", "first", "last"}));

    EXPECT_EQ(deletePresetAndSave(database, working, 1), 0u);
    EXPECT_EQ(deletePresetAndSave(database, working, 5), std::nullopt);
    EXPECT_EQ(deletePresetAndSave(database, working, 1), 0u);
    EXPECT_EQ(deletePresetAndSave(database, working, 0), std::nullopt);
    EXPECT_TRUE(names().empty());
    navigator.presetsSaved();
    EXPECT_FALSE(view.filters[0].hasPresets());
    std::vector<filters::DatabaseEntry> index;
    ASSERT_TRUE(filters::parseIndex(filters::testing::readBytes(dir.file("index")), index));
    EXPECT_FALSE(index[2].hasPresets());
}

}  // namespace
}  // namespace lumen::ui::testing
