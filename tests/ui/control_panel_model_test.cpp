#include "ui/model/control_panel_model.h"

#include <gtest/gtest.h>

#include <set>

namespace lumen::ui {
namespace {

filters::FilterDefinition filterWithTwoHiddenControls() {
    filters::FilterDefinition filter;
    filter.title = "Swirl";
    for (int k = 0; k < 8; ++k) {
        filter.controlLabel[k] = "Control " + std::to_string(k);
        filter.controlValue[k] = 10 + k;
        filter.controlEnabled[k] = k != 2 && k != 5;
    }
    filter.gradientIndex = 4;
    return filter;
}

TEST(ControlPanelModel, ActivateShowsTheEnabledControlsAndNoFilterEmptiesThePanel) {
    filters::FilterDefinition filter = filterWithTwoHiddenControls();
    ControlPanelModel panel(1);
    panel.activate(filter);
    EXPECT_EQ(panel.title(), "Swirl");
    EXPECT_EQ(panel.sliders()[0], (SliderState{10, "Control 0", true}));
    EXPECT_EQ(panel.sliders()[2], (SliderState{0, "", false}));
    EXPECT_EQ(panel.resetValues(), filter.controlValue);
    EXPECT_EQ(panel.resetGradient(), 4);

    panel.noFilter();
    EXPECT_EQ(panel.title(), "");
    for (const SliderState& slider : panel.sliders()) EXPECT_FALSE(slider.active);
}

TEST(ControlPanelModel, SliderMovesGoIntoTheFilterAndOnlyTheEndOfADragRenders) {
    filters::FilterDefinition filter = filterWithTwoHiddenControls();
    ControlPanelModel panel(1);
    panel.activate(filter);
    EXPECT_FALSE(panel.sliderMoved(filter, 1, kSliderThumbTrack, 100));
    EXPECT_EQ(filter.controlValue[1], 100);
    EXPECT_FALSE(panel.sliderMoved(filter, 1, kSliderThumbTrack, 120));
    EXPECT_TRUE(panel.sliderMoved(filter, 1, kSliderEndScroll, 130));
    EXPECT_EQ(filter.controlValue[1], 130);
    EXPECT_EQ(panel.sliders()[1].value, 130);
    // A hidden control is a constant of the formulas: its value survives the moves.
    EXPECT_EQ(filter.controlValue[2], 12);
    EXPECT_EQ(filter.controlValue[5], 15);
    // An inactive widget takes no value.
    EXPECT_TRUE(panel.sliderMoved(filter, 2, kSliderEndScroll, 77));
    EXPECT_EQ(filter.controlValue[2], 12);
}

TEST(ControlPanelModel, RandomizeTouchesActiveControlsOnlyAndResetBringsBackValuesAndGradient) {
    filters::FilterDefinition filter = filterWithTwoHiddenControls();
    const filters::ControlValues original = filter.controlValue;
    ControlPanelModel panel(12345);
    panel.activate(filter);
    std::set<int> seen;
    for (int round = 0; round < 20; ++round) {
        panel.randomize(filter);
        for (int k = 0; k < 8; ++k) {
            ASSERT_GE(filter.controlValue[k], 0);
            ASSERT_LE(filter.controlValue[k], 255);
            if (k == 2 || k == 5) {
                ASSERT_EQ(filter.controlValue[k], original[k]);
            } else {
                ASSERT_EQ(panel.sliders()[k].value, filter.controlValue[k]);
                seen.insert(filter.controlValue[k]);
            }
        }
    }
    EXPECT_GT(seen.size(), 50u);  // 120 draws from 256 values
    filter.gradientIndex = 40;
    EXPECT_EQ(panel.reset(filter), 4);
    EXPECT_EQ(filter.controlValue, original);
    EXPECT_EQ(filter.gradientIndex, 4);
    EXPECT_EQ(panel.sliders()[0].value, 10);

    // Two panels seeded alike draw alike: the seed is all the generator depends on.
    filters::FilterDefinition a = filterWithTwoHiddenControls(), b = a;
    ControlPanelModel first(7), second(7);
    first.activate(a);
    second.activate(b);
    first.randomize(a);
    second.randomize(b);
    EXPECT_EQ(a.controlValue, b.controlValue);
}

TEST(ControlPanelModel, RefreshShowsTheFilterAgainButKeepsTheSnapshots) {
    filters::FilterDefinition filter = filterWithTwoHiddenControls();
    ControlPanelModel panel(1);
    panel.activate(filter);
    filter.controlValue[0] = 200;
    filter.gradientIndex = 9;
    filter.controlEnabled[2] = 1;
    panel.refresh(filter);
    EXPECT_EQ(panel.sliders()[0].value, 200);
    EXPECT_TRUE(panel.sliders()[2].active);
    EXPECT_EQ(panel.resetValues()[0], 10);
    EXPECT_EQ(panel.reset(filter), 4);
    EXPECT_EQ(filter.controlValue[0], 10);
}

}  // namespace
}  // namespace lumen::ui
