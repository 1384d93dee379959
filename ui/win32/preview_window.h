#pragma once
// The preview window "WndPreview" (id 20000): the buffer it is given, centred on white, drawn
// through the host's displayPixels unless GDI is asked for or the host cannot draw; a click
// opens "WndPreviewPopup", the preview at twice its size until the pointer leaves it.
#include <windows.h>

#include "plugin/host_api.h"
#include "plugin/image_buffer.h"

namespace lumen::ui {

struct PreviewLook {
    const plugin::ImageBuffer* buffer = nullptr;
    const hostapi::FilterRecord* record = nullptr;  // whose displayPixels draws
    bool drawDirect = true;                          // GDI, whatever the host offers
};

// Four-channel buffers only; transparent pixels over the checkerboard when asked. False when
// nothing was drawn.
bool drawWithGdi(const plugin::ImageBuffer& buffer, HDC dc, int x, int y, bool checkerboard);
// The whole client area of `size`, double-buffered.
void paintPreview(HDC dc, SIZE size, const PreviewLook& look);

// Over `area` of `parent` (client coordinates).
HWND createPreviewWindow(HWND parent, const RECT& area, const PreviewLook& look);

bool registerPreviewClasses(HMODULE module);
void unregisterPreviewClasses(HMODULE module);

}  // namespace lumen::ui
