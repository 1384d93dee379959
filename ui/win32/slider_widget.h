#pragma once
// The slider widget (window class kSliderClass): a value 0 ... 255 with its label, set with the
// mouse. While a drag goes on the parent gets WM_HSCROLL with code 5, at the release code 8, the
// value in the high word and the widget in lParam. Inactive widgets are blank and ignore the
// mouse. Driven by the kSlider* messages of messages.h; the editor's sliders are the same.
#include <windows.h>

#include "ui/model/control_panel_model.h"
#include "ui/win32/window.h"

namespace lumen::ui {

void paintSlider(HDC dc, SIZE size, const SliderState& state);

// The eight widgets `ids` of a dialog moved to the control panel's spacing (they end where the
// template's last one ends) and made inactive.
void layOutSliders(Window dialog, const int (&ids)[kSliderCount]);
// What the widget shows.
void showSlider(Window slider, const SliderState& state);

bool registerSliderClass(HMODULE module);
void unregisterSliderClass(HMODULE module);

}  // namespace lumen::ui
