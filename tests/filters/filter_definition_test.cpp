#include "filters/filter_definition.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace lumen::filters {
namespace {

TEST(FilterDefinition, ClearKeepsStoredDefaultsAndNewIsTheIdentityFilter) {
    FilterDefinition filter = testing::sampleFilter(2);
    filter.clear();
    EXPECT_TRUE(filter.title.empty() && filter.category.empty() && filter.filePath.empty());
    EXPECT_TRUE(filter.presets.empty());
    EXPECT_EQ(filter.controlValue, ControlValues{});
    EXPECT_EQ(filter.gradientIndex, 0);
    EXPECT_EQ(filter.controlDefault[3], 27);
    EXPECT_EQ(filter.gradientDefault, 42);

    filter.fillAsNew("Stone", "Tiles", "/db/Stone - Tiles.ffx");
    EXPECT_EQ(filter.code, (std::array<std::string, 5>{"0", "r", "g", "b", "a"}));
    EXPECT_EQ(filter.controlLabel[7], "Control 7");
    EXPECT_EQ(filter.controlEnabled[0], 1);
    EXPECT_EQ(filter.controlDefault, ControlValues{});
    EXPECT_EQ(filter.gradientDefault, 0);
}

TEST(FilterDefinition, PresetOperationsKeepOrderAndRefuseBadIndexes) {
    FilterDefinition filter = testing::sampleFilter(0);
    filter.controlValue = {1, 2, 3, 4, 5, 6, 7, 8};
    filter.gradientIndex = 9;
    addPreset(filter, "a", testing::gradientBitmap(4, 4));
    filter.controlValue.fill(0);
    addPreset(filter, "b", testing::gradientBitmap(4, 4));
    ASSERT_TRUE(swapPresets(filter, 0, 1));
    EXPECT_EQ(filter.presets[0].name, "b");
    ASSERT_TRUE(applyPreset(filter, 1));
    EXPECT_EQ(filter.controlValue[7], 8);
    EXPECT_EQ(filter.gradientIndex, 9);
    EXPECT_TRUE(renamePreset(filter, 1, "c"));
    EXPECT_FALSE(renamePreset(filter, 2, "x"));
    EXPECT_FALSE(swapPresets(filter, 0, 2));
    EXPECT_FALSE(applyPreset(filter, 5));
    EXPECT_TRUE(deletePreset(filter, 0));
    EXPECT_FALSE(deletePreset(filter, 1));
    ASSERT_EQ(filter.presets.size(), 1u);
    EXPECT_EQ(filter.presets[0].name, "c");

    filter.takeCurrentAsDefault();
    EXPECT_EQ(filter.controlDefault[7], 8);
    EXPECT_EQ(filter.gradientDefault, 9);
}

TEST(FilterDefinition, BlockFieldsAreCutToTheirWidths) {
    FilterDefinition filter = testing::sampleFilter(0);
    filter.title = std::string(300, 't');
    filter.controlLabel[7] = std::string(80, 'l');
    filter.code[4] = std::string(1023, 's');
    filter.code[3] = std::string(1024, 's');
    BlockFilterFields fields = toBlockFields(filter, std::string(256, 'p'));
    EXPECT_EQ(fields.title.size(), 255u);
    EXPECT_EQ(fields.databasePath.size(), 255u);
    EXPECT_EQ(fields.controlLabel[7].size(), 79u);
    EXPECT_EQ(fields.code[4].size(), 1023u);
    EXPECT_EQ(fields.code[3].size(), 1023u);
    EXPECT_EQ(fields.controlValue, filter.controlValue);
}

TEST(FilterDefinition, FromBlockMarksRestoredOrClearsOnEmptyNames) {
    FilterDefinition source = testing::sampleFilter(0);
    BlockFilterFields fields = toBlockFields(source, "/db/");
    fields.controlValue[0] = 250;

    FilterDefinition filter = testing::sampleFilter(2);
    filter.filePath = "/db/old.ffx";
    fromBlockFields(filter, fields);
    EXPECT_TRUE(filter.restored);
    EXPECT_TRUE(filter.filePath.empty() && filter.author.empty() && filter.presets.empty());
    EXPECT_EQ(filter.controlValue[0], 250);
    EXPECT_EQ(filter.code, source.code);

    for (bool emptyTitle : {true, false}) {
        BlockFilterFields partial = fields;
        (emptyTitle ? partial.title : partial.category).clear();
        FilterDefinition cleared = testing::sampleFilter(1);
        fromBlockFields(cleared, partial);
        EXPECT_FALSE(cleared.restored);
        EXPECT_TRUE(cleared.title.empty() && cleared.category.empty());
        EXPECT_TRUE(cleared.code[1].empty());
        EXPECT_EQ(cleared.controlValue, ControlValues{});
    }
}

TEST(FilterDefinition, PresetThumbnailFollowsTheSizeRule) {
    imaging::Bitmap thumbnail = *presetThumbnail(testing::gradientBitmap(200, 100));
    EXPECT_EQ(thumbnail.height, 83);
    EXPECT_EQ(thumbnail.width, 166);
    EXPECT_EQ(presetThumbnail(testing::gradientBitmap(50, 83))->width, 50);
}

}  // namespace
}  // namespace lumen::filters
