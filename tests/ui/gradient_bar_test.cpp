#include <gtest/gtest.h>

#include <vector>

#include "ui/model/gradient_bar.h"

namespace lumen::ui::model {
namespace {

// Gradient g, entry e: red e, green g, blue 255 - e.
std::vector<uint8_t> testTable(int count) {
    std::vector<uint8_t> table(static_cast<size_t>(count) * kGradientEntries * kGradientEntryBytes);
    for (int g = 0; g < count; ++g)
        for (int e = 0; e < kGradientEntries; ++e) {
            uint8_t* entry = &table[(static_cast<size_t>(g) * kGradientEntries + e) * kGradientEntryBytes];
            entry[0] = static_cast<uint8_t>(e);
            entry[1] = static_cast<uint8_t>(g);
            entry[2] = static_cast<uint8_t>(255 - e);
            entry[3] = 77;
        }
    return table;
}

TEST(GradientBar, ColumnEntryIsIntegerScaled) {
    EXPECT_EQ(gradientColumnEntry(0, 80), 0);
    EXPECT_EQ(gradientColumnEntry(79, 80), 79 * 255 / 80);
    EXPECT_EQ(gradientColumnEntry(1, 3), 85);
    EXPECT_EQ(gradientColumnEntry(5, 0), 0);
    EXPECT_EQ(gradientColumnEntry(299, 300), 254);
}

TEST(GradientBar, ColumnsComeFromTheChosenGradient) {
    const std::vector<uint8_t> table = testTable(3);
    const std::vector<Rgb> columns = gradientColumns(table.data(), 3, 2, 4);
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0], (Rgb{0, 2, 255}));
    EXPECT_EQ(columns[1], (Rgb{63, 2, 192}));
    EXPECT_EQ(columns[3], (Rgb{191, 2, 64}));
}

TEST(GradientBar, NoColumnsWithoutTableOrWithIndexOutside) {
    const std::vector<uint8_t> table = testTable(3);
    EXPECT_TRUE(gradientColumns(nullptr, 3, 0, 10).empty());
    EXPECT_TRUE(gradientColumns(table.data(), 3, 3, 10).empty());
    EXPECT_TRUE(gradientColumns(table.data(), 3, -1, 10).empty());
    EXPECT_TRUE(gradientColumns(table.data(), 3, 0, 0).empty());
}

TEST(GradientBar, ReleaseInsideAfterPressOpensThePicker) {
    GradientBarPress bar;
    bar.press();
    EXPECT_TRUE(bar.pressed());
    EXPECT_TRUE(bar.release(true));
    EXPECT_FALSE(bar.pressed());
}

TEST(GradientBar, ReleaseOutsideOpensNothingAndClearsThePress) {
    GradientBarPress bar;
    bar.press();
    bar.move(true, false);
    EXPECT_FALSE(bar.pressed());
    EXPECT_FALSE(bar.release(false));
    EXPECT_FALSE(bar.pressed());
    EXPECT_FALSE(bar.tracking());
}

TEST(GradientBar, PressFollowsThePointerOnlyWhileTheButtonIsHeld) {
    GradientBarPress bar;
    bar.press();
    bar.move(true, false);
    bar.move(true, true);
    EXPECT_TRUE(bar.pressed());
    bar.move(false, false);
    EXPECT_TRUE(bar.pressed());
}

TEST(GradientBar, ReleaseWithoutAPressOnTheBarOpensNothing) {
    GradientBarPress bar;
    bar.move(true, true);
    EXPECT_FALSE(bar.pressed());
    EXPECT_FALSE(bar.release(true));
}

}  // namespace
}  // namespace lumen::ui::model
