#pragma once
// What the captionless dialogs (main dialog, editor) share: the logo at the top right, and a
// background that drags the window like a caption.
#include <windows.h>

#include "ui/win32/gdi.h"
#include "ui/win32/window.h"

namespace lumen::ui {

// Loads the logo bitmap (from the language library, else the plug-in) into the picture control
// `logoId` and moves it to the dialog's top right. `kept` owns the picture while it is shown.
void placeLogo(Window dialog, int logoId, Bitmap& kept);

// The answer to WM_NCHITTEST: the client background counts as caption.
LRESULT backgroundDragHitTest(Window dialog, LPARAM lParam);

}  // namespace lumen::ui
