#pragma once
// The pixels of a screen area as the user sees them (Windows builds only): for screenshots of
// the plug-in's windows.
#include <optional>

#include "imaging/png_io.h"

namespace lumen::imaging {

// Opaque RGBA; nothing for an empty area or when the screen cannot be read.
std::optional<RgbaImage> captureScreenArea(int left, int top, int width, int height);

}  // namespace lumen::imaging
