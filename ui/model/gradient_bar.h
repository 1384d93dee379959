#pragma once
// The gradient bar of the main dialog and the rows of the gradient picker: which colour each
// pixel column shows, and what a press, a move and a release of the left button do.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumen::ui::model {

inline constexpr int kGradientEntries = 256;
inline constexpr int kGradientEntryBytes = 4;  // red, green, blue, unused

using Rgb = std::array<uint8_t, 3>;

// Colour number of column i of w columns (0 when w is 0).
int gradientColumnEntry(int column, int width);

// The colours of `width` columns of gradient `index`; empty (drawn white) without a table or
// with an index outside 0..count-1. `table` holds `count` gradients.
std::vector<Rgb> gradientColumns(const uint8_t* table, int count, int index, int width);

// Pressed state of the bar while the left button is held on it.
class GradientBarPress {
public:
    bool pressed() const { return pressed_; }
    bool tracking() const { return tracking_; }

    void press();
    // Moves while the button was not pressed on the bar change nothing.
    void move(bool buttonHeld, bool inside);
    // True when the picker opens: the press began on the bar and ends inside it.
    bool release(bool inside);

private:
    bool pressed_ = false;
    bool tracking_ = false;
};

}  // namespace lumen::ui::model
