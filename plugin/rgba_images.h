#pragma once
// Image buffers to and from the RGBA pixels of PNG files, for the tools that render outside a host.
#include "imaging/png_io.h"
#include "plugin/image_buffer.h"

namespace lumen::plugin {

// Four channels a pixel; the alpha channel counts as present when the file had one. Minima and
// maxima are tracked as the host exchange tracks them.
bool imageBufferFromRgba(const imaging::RgbaImage& rgba, ImageBuffer& image);
// Alpha is carried over only when the buffer has it.
imaging::RgbaImage rgbaFromImageBuffer(const ImageBuffer& image);

}  // namespace lumen::plugin
