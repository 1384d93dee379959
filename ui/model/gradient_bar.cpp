#include "ui/model/gradient_bar.h"

namespace lumen::ui::model {

int gradientColumnEntry(int column, int width) { return width <= 0 ? 0 : column * 255 / width; }

std::vector<Rgb> gradientColumns(const uint8_t* table, int count, int index, int width) {
    std::vector<Rgb> columns;
    if (!table || index < 0 || index >= count || width <= 0) return columns;
    const uint8_t* gradient = table + static_cast<size_t>(index) * kGradientEntries * kGradientEntryBytes;
    columns.reserve(static_cast<size_t>(width));
    for (int i = 0; i < width; ++i) {
        const uint8_t* entry = gradient + gradientColumnEntry(i, width) * kGradientEntryBytes;
        columns.push_back({entry[0], entry[1], entry[2]});
    }
    return columns;
}

void GradientBarPress::press() {
    pressed_ = true;
    tracking_ = true;
}

void GradientBarPress::move(bool buttonHeld, bool inside) {
    if (tracking_ && buttonHeld) pressed_ = inside;
}

bool GradientBarPress::release(bool inside) {
    const bool opens = tracking_ && inside;
    pressed_ = false;
    tracking_ = false;
    return opens;
}

}  // namespace lumen::ui::model
