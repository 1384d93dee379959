#pragma once
// JPEG streams in memory for preset thumbnails: libjpeg's version 6 interface with its default
// parameters, 24-bit RGB.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/bitmap.h"

namespace lumen::imaging {

// Streams declaring more than this across or down are refused before any pixel memory is taken.
constexpr int kMaxJpegSide = 4096;

// What a stream may declare; a larger one is refused after its header, before any pixel is
// decoded, so a small stream cannot demand a large picture.
struct JpegLimits {
    int maxWidth = kMaxJpegSide;
    int maxHeight = kMaxJpegSide;
    int64_t maxPixels = int64_t{kMaxJpegSide} * kMaxJpegSide;
};

std::optional<std::vector<uint8_t>> encodeJpeg(const Bitmap& bitmap);
// Any error or warning of the decoder (truncated or corrupt data included) is a failure.
std::optional<Bitmap> decodeJpeg(std::span<const uint8_t> bytes, const JpegLimits& limits = {});

}  // namespace lumen::imaging
