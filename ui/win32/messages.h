#pragma once
// Messages of our own (the Parts' private messages start at WM_USER where they name them).
#include <windows.h>

namespace lumen::ui {

// Sent by a dialog to an owner-drawn control with the DRAWITEMSTRUCT* of its WM_DRAWITEM;
// a control that draws itself answers TRUE.
inline constexpr UINT kReflectedDrawItem = WM_APP + 1;

// Gradient bar: wParam the gradient count, lParam the table (count x 256 x 4 bytes).
inline constexpr UINT kGradientBarSetTable = WM_APP + 10;
// wParam: the index shown (redrawn).
inline constexpr UINT kGradientBarSetIndex = WM_APP + 11;
// Answers the index shown.
inline constexpr UINT kGradientBarGetIndex = WM_APP + 12;

}  // namespace lumen::ui

// Navigator page to itself: the label edit its list just reported is carried out.
inline constexpr UINT kNavigatorLabelEdited = WM_APP + 20;
// Navigator page to the presets page: the working filter changed (loaded, or none any more);
// the list shows its presets again.
inline constexpr UINT kPresetsFilterChanged = WM_APP + 21;
