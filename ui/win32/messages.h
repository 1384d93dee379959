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

// Slider widget: wParam the value (0 ... 255), redrawn.
inline constexpr UINT kSliderSetValue = WM_APP + 20;
// wParam the value, lParam the label (const char*, copied).
inline constexpr UINT kSliderSetValueAndLabel = WM_APP + 21;
// wParam non-zero: active (drawn, follows the mouse).
inline constexpr UINT kSliderSetActive = WM_APP + 22;
// Answers the value.
inline constexpr UINT kSliderGetValue = WM_APP + 23;

// Preview window: lParam the buffer shown (const plugin::ImageBuffer*, may be null).
inline constexpr UINT kPreviewSetBuffer = WM_APP + 30;
// wParam non-zero: draw with GDI; lParam the host's record whose displayPixels draws otherwise
// (const hostapi::FilterRecord*, may be null).
inline constexpr UINT kPreviewSetHost = WM_APP + 31;

// Presets page, from the navigator: the working filter is another one now (loaded, or none any
// more); the list is refilled.
inline constexpr UINT kPresetsFilterChanged = WM_APP + 40;

// Control panel: the working filter was changed elsewhere (the editor saved); the sliders show
// it again and a render starts, the snapshots for Reset stay.
inline constexpr UINT kPanelRefreshFromFilter = WM_APP + 41;

// Navigator page to itself: the label edit its list just reported is carried out.
inline constexpr UINT kNavigatorLabelEdited = WM_APP + 50;

}  // namespace lumen::ui

