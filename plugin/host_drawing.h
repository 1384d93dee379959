#pragma once
// A preview drawn by the host: the buffer described as the host's pixel map, its alpha as the
// map's mat, so the host shows it with its own colour handling.
#include <cstdint>

#include "plugin/host_api.h"

namespace lumen::plugin {

class ImageBuffer;

// noErr when the host drew the buffer with its top left at (x, y) of the device context;
// errPlugInHostInsufficient when the host has no displayPixels, or the host's error. Either
// failure leaves the drawing to the caller.
int16_t drawThroughHost(const hostapi::FilterRecord& record, const ImageBuffer& buffer, void* deviceContext,
                        int32_t x, int32_t y);

}  // namespace lumen::plugin
