#include "bitmap.h"

#include <algorithm>
#include <deque>

namespace lumen::imaging {

std::optional<Bitmap> Bitmap::create(int width, int height) {
    if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxBitmapPixels) return std::nullopt;
    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bits.assign(strideFor(width) * size_t(height), 0);
    return bitmap;
}

namespace {

bool rowsFit(size_t available, int width, int height, size_t rowBytes) {
    if (width <= 0 || height <= 0 || rowBytes / 4 < size_t(width)) return false;
    // The last row needs only its pixels, not a whole stride.
    const size_t last = size_t(width) * 4;
    return (available - std::min(available, last)) / rowBytes >= size_t(height - 1) && available >= last;
}

bool offsetsValid(ChannelOffsets o) { return o.red < 4 && o.green < 4 && o.blue < 4 && o.alpha < 4; }

// Overlaps of destination cells with source cells along one axis, both scaled so that a
// destination cell spans `source` units and a source cell `destination` units: the weights of
// every destination cell add up to `source`.
struct Span {
    int64_t first;  // first source cell
    std::vector<int64_t> weights;
};

std::vector<Span> axisSpans(int source, int destination) {
    std::vector<Span> spans(static_cast<size_t>(destination));
    for (int64_t i = 0; i < destination; ++i) {
        const int64_t begin = i * source, end = (i + 1) * source;
        Span& span = spans[size_t(i)];
        span.first = begin / destination;
        for (int64_t j = span.first; j * destination < end; ++j) {
            const int64_t overlap = std::min(end, (j + 1) * destination) - std::max(begin, j * destination);
            span.weights.push_back(overlap);
        }
    }
    return spans;
}

}  // namespace

std::optional<Bitmap> bitmapFromRows(std::span<const uint8_t> pixels, int width, int height,
                                     size_t rowBytes, ChannelOffsets offsets) {
    if (!offsetsValid(offsets) || !rowsFit(pixels.size(), width, height, rowBytes)) return std::nullopt;
    std::optional<Bitmap> bitmap = Bitmap::create(width, height);
    if (!bitmap) return std::nullopt;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = pixels.data() + size_t(y) * rowBytes;
        uint8_t* out = bitmap->row(y);
        for (int x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[offsets.blue];
            out[1] = in[offsets.green];
            out[2] = in[offsets.red];
        }
    }
    return bitmap;
}

bool bitmapToRows(const Bitmap& bitmap, std::span<uint8_t> pixels, size_t rowBytes, ChannelOffsets offsets) {
    if (!offsetsValid(offsets) || !bitmap.valid() || !rowsFit(pixels.size(), bitmap.width, bitmap.height, rowBytes))
        return false;
    for (int y = 0; y < bitmap.height; ++y) {
        const uint8_t* in = bitmap.row(y);
        uint8_t* out = pixels.data() + size_t(y) * rowBytes;
        for (int x = 0; x < bitmap.width; ++x, in += 3, out += 4) {
            out[offsets.blue] = in[0];
            out[offsets.green] = in[1];
            out[offsets.red] = in[2];
            out[offsets.alpha] = 255;
        }
    }
    return true;
}

std::optional<Bitmap> resample(const Bitmap& source, int width, int height) {
    if (!source.valid()) return std::nullopt;
    std::optional<Bitmap> result = Bitmap::create(width, height);
    if (!result) return std::nullopt;
    const std::vector<Span> columns = axisSpans(source.width, width);
    const std::vector<Span> rows = axisSpans(source.height, height);
    const size_t samples = size_t(width) * 3;

    // Source rows resampled across, kept while later destination rows still need them.
    std::deque<std::vector<uint64_t>> across;
    int64_t firstAcross = 0;
    auto resampleAcross = [&](int64_t y) {
        std::vector<uint64_t> sums(samples, 0);
        const uint8_t* in = source.row(int(y));
        for (size_t x = 0; x < columns.size(); ++x) {
            const Span& span = columns[x];
            for (size_t k = 0; k < span.weights.size(); ++k) {
                const uint8_t* pixel = in + size_t(span.first + int64_t(k)) * 3;
                for (size_t c = 0; c < 3; ++c) sums[x * 3 + c] += uint64_t(span.weights[k]) * pixel[c];
            }
        }
        return sums;
    };

    const uint64_t total = uint64_t(source.width) * uint64_t(source.height);
    std::vector<uint64_t> sums(samples);
    for (int y = 0; y < height; ++y) {
        const Span& span = rows[size_t(y)];
        while (!across.empty() && firstAcross < span.first) {
            across.pop_front();
            ++firstAcross;
        }
        if (across.empty()) firstAcross = span.first;
        while (firstAcross + int64_t(across.size()) < span.first + int64_t(span.weights.size()))
            across.push_back(resampleAcross(firstAcross + int64_t(across.size())));
        std::fill(sums.begin(), sums.end(), 0);
        for (size_t k = 0; k < span.weights.size(); ++k) {
            const std::vector<uint64_t>& line = across[k];
            for (size_t i = 0; i < samples; ++i) sums[i] += uint64_t(span.weights[k]) * line[i];
        }
        uint8_t* out = result->row(y);
        for (size_t i = 0; i < samples; ++i) out[i] = uint8_t((sums[i] + total / 2) / total);
    }
    return result;
}

BitmapSize thumbnailSize(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    // No preview is this wide; a wider thumbnail could not be read back.
    if (height < 84) return {std::min(width, kMaxThumbnailWidth), height};
    // The smallest divisor, in hundredths, with floor(height * 100 / divisor) <= 83.
    const int64_t divisor = std::max<int64_t>(100, int64_t{height} * 100 / 84 + 1);
    const int thumbHeight = int(int64_t{height} * 100 / divisor);
    const int thumbWidth = int(std::clamp<int64_t>(int64_t{width} * 100 / divisor, 1, kMaxThumbnailWidth));
    return {thumbWidth, thumbHeight};
}

std::optional<Bitmap> makeThumbnail(const Bitmap& preview) {
    if (!preview.valid()) return std::nullopt;
    const BitmapSize size = thumbnailSize(preview.width, preview.height);
    if (size.width == preview.width && size.height == preview.height) return preview;
    return resample(preview, size.width, size.height);
}

}  // namespace lumen::imaging
