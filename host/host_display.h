#pragma once
// The host's displayPixels: the plug-in's pixel map shown in the device context it names, its
// mat laid over white (this host's page colour). Only Windows builds have a screen; elsewhere
// the host answers that it cannot draw.
#include <cstdint>
#include <optional>
#include <vector>

#include "plugin/host_api.h"

namespace lumen::host {

// The rectangle of the map as 32-bit rows (blue, green, red, 0), top row first; nothing for a
// map this host does not take (not RGB or gray, no pixels, rectangle outside the bounds).
std::optional<std::vector<uint8_t>> composeForDisplay(const hostapi::PSPixelMap& map, const hostapi::VRect& rect);

int16_t displayPixels(const hostapi::PSPixelMap* source, const hostapi::VRect* srcRect, int32_t dstRow,
                      int32_t dstCol, void* platformContext);

}  // namespace lumen::host
