#pragma once
// The demo and thumbnail picture: a synthetic landscape with smooth gradients, hard shapes,
// saturated colours and fine texture, so that every kind of filter shows what it does. Made
// from the pixel position alone, so any size gives the same scene.
#include "imaging/png_io.h"

namespace lumen::tools {

constexpr int kSampleWidth = 512;
constexpr int kSampleHeight = 384;

// Opaque RGB; nothing (an empty image) for sides below 1 or above 8192.
imaging::RgbaImage makeSampleImage(int width = kSampleWidth, int height = kSampleHeight);

}  // namespace lumen::tools
