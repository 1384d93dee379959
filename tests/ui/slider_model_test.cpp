#include "ui/model/slider_model.h"

#include <gtest/gtest.h>

namespace lumen::ui {
namespace {

TEST(SliderModel, ValueFromPointerCoversBothEndsAndStaysThereBeyondThem) {
    EXPECT_EQ(sliderValueAt(0, 200), 0);
    EXPECT_EQ(sliderValueAt(199, 200), 255);
    EXPECT_EQ(sliderValueAt(-50, 200), 0);
    EXPECT_EQ(sliderValueAt(1000, 200), 255);
    EXPECT_EQ(sliderValueAt(100, 201), 127);  // 100 * 255 / 200
    EXPECT_EQ(sliderValueAt(1, 200), 1);
    // A one-pixel widget has nothing to divide by.
    EXPECT_EQ(sliderValueAt(0, 1), 0);
    EXPECT_EQ(sliderValueAt(5, 1), 0);
    EXPECT_EQ(sliderValueAt(5, 0), 0);
    EXPECT_EQ(sliderValueAt(1, 2), 255);
}

TEST(SliderModel, PointerTicksAndTriangle) {
    EXPECT_EQ(sliderPointerX(0, 192), 0);
    EXPECT_EQ(sliderPointerX(255, 192), 192);
    EXPECT_EQ(sliderPointerX(128, 192), 96);  // 192 * 128 / 255 = 96.37
    EXPECT_EQ(sliderTicks(198), (SliderTicks{99, 49, 147}));  // the quarter is taken first
    std::array<Point, 3> triangle = sliderTriangle(255, 100, 16);
    EXPECT_EQ(triangle[0], (Point{100, 7}));
    EXPECT_EQ(triangle[1], (Point{109, 16}));
    EXPECT_EQ(triangle[2], (Point{91, 16}));
}

TEST(SliderModel, EightWidgetsEndWhereTheTemplateEndsSpacedEvenly) {
    // Template tops 118 and 202 dialog units at 1.5 pixels a unit: 177 and 303.
    std::array<int, 8> tops = sliderTops(177, 303);
    EXPECT_EQ(tops[7], 303);
    for (int k = 1; k < 8; ++k) EXPECT_EQ(tops[k] - tops[k - 1], 126 / 8 + 1);
    EXPECT_EQ(tops[0], 303 - 7 * 16);
    EXPECT_EQ(sliderTops(10, 10), (std::array<int, 8>{3, 4, 5, 6, 7, 8, 9, 10}));
}

}  // namespace
}  // namespace lumen::ui
