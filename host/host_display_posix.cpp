#include "host/host_display.h"

namespace lumen::host {

int16_t displayPixels(const hostapi::PSPixelMap*, const hostapi::VRect*, int32_t, int32_t, void*) {
    return hostapi::errPlugInHostInsufficient;  // no screen to draw on
}

}  // namespace lumen::host
