#pragma once
// The slider widget's arithmetic: the value under the pointer, where the pointer is drawn, the
// tick marks, and how the control panel spaces its eight widgets.
#include <array>

namespace lumen::ui {

constexpr int kSliderMaximum = 255;
// Scroll notification codes a widget sends its parent.
constexpr int kSliderThumbTrack = 5;
constexpr int kSliderEndScroll = 8;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// The value for pointer column x in a client area `width` pixels wide: x is kept inside the
// area, its first column gives 0 and its last 255 (and a one-pixel area always 0).
int sliderValueAt(int x, int width);
// The column the pointer triangle's tip is drawn at.
int sliderPointerX(int value, int width);
// Tip, bottom right and bottom left of the pointer triangle.
std::array<Point, 3> sliderTriangle(int value, int width, int height);

struct SliderTicks {
    int middle = 0;         // from y 1 to 5
    int quarter = 0;        // from y 1 to 3
    int threeQuarters = 0;  // from y 1 to 3
    bool operator==(const SliderTicks&) const = default;
};
SliderTicks sliderTicks(int width);

constexpr int kSliderCount = 8;
// Tops of the eight widgets from the template's tops of the first and the last: they end where
// the template ends, a + 1 pixels apart with a = (last - first) / 8.
std::array<int, kSliderCount> sliderTops(int firstTop, int lastTop);

}  // namespace lumen::ui
