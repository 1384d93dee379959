#include <windows.h>

#include "host/host_display.h"

namespace lumen::host {

int16_t displayPixels(const hostapi::PSPixelMap* source, const hostapi::VRect* srcRect, int32_t dstRow,
                      int32_t dstCol, void* platformContext) {
    if (!source || !srcRect || !platformContext) return hostapi::paramErr;
    const auto rows = composeForDisplay(*source, *srcRect);
    if (!rows) return hostapi::paramErr;
    const int width = srcRect->right - srcRect->left, height = srcRect->bottom - srcRect->top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const int drawn = SetDIBitsToDevice(static_cast<HDC>(platformContext), dstCol, dstRow, DWORD(width),
                                        DWORD(height), 0, 0, 0, UINT(height), rows->data(), &info, DIB_RGB_COLORS);
    return drawn > 0 ? hostapi::noErr : hostapi::paramErr;
}

}  // namespace lumen::host
