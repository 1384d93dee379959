#include "ui/win32/dialog_frame.h"

#include "resources/resource_ids.h"
#include "ui/win32/module.h"

namespace lumen::ui {

void placeLogo(Window dialog, int logoId, Bitmap& kept) {
    Window logo = dialog.item(logoId);
    if (!logo) return;
    Bitmap fresh{static_cast<HBITMAP>(LoadImageA(resourceModule(), MAKEINTRESOURCEA(kMainLogoBitmap), IMAGE_BITMAP,
                                                 0, 0, LR_LOADMAP3DCOLORS))};
    if (!fresh)
        fresh.reset(static_cast<HBITMAP>(
            LoadImageA(pluginModule(), MAKEINTRESOURCEA(kMainLogoBitmap), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
    if (!fresh) return;
    auto previous = reinterpret_cast<HBITMAP>(logo.send(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fresh.get())));
    // The control's first picture came from its template; ours is deleted once replaced.
    if (previous && previous != kept.get()) DeleteObject(previous);
    kept = std::move(fresh);
    RECT client = dialog.clientRect(), placed = logo.rectInParent();
    const int width = placed.right - placed.left, height = placed.bottom - placed.top;
    logo.move({client.right - width, 0, client.right, height});
}

LRESULT backgroundDragHitTest(Window dialog, LPARAM lParam) {
    const LRESULT hit = DefWindowProcA(dialog.handle(), WM_NCHITTEST, 0, lParam);
    return hit == HTCLIENT ? HTCAPTION : hit;
}

}  // namespace lumen::ui
