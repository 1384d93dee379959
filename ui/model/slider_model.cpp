#include "ui/model/slider_model.h"

#include <algorithm>

namespace lumen::ui {

int sliderValueAt(int x, int width) {
    if (width <= 1) return 0;
    return std::clamp(x, 0, width - 1) * kSliderMaximum / (width - 1);
}

int sliderPointerX(int value, int width) { return width * value / kSliderMaximum; }

std::array<Point, 3> sliderTriangle(int value, int width, int height) {
    const int p = sliderPointerX(value, width);
    return {Point{p, height - 9}, Point{p + 9, height}, Point{p - 9, height}};
}

SliderTicks sliderTicks(int width) {
    const int quarter = width / 4;
    return {width / 2, quarter, 3 * quarter};
}

std::array<int, kSliderCount> sliderTops(int firstTop, int lastTop) {
    const int a = (lastTop - firstTop) / 8;
    std::array<int, kSliderCount> tops{};
    for (int k = 0; k < kSliderCount; ++k) tops[k] = lastTop - (kSliderCount - 1 - k) * (a + 1);
    return tops;
}

}  // namespace lumen::ui
