// Built-ins that read the source, destination and map images.
#include "formula/evaluation.h"
#include "formula/int_math.h"
#include "formula/lookup_tables.h"

namespace lumen::formula {

bool reduceCoordinate(int32_t mode, int32_t& v, int32_t size) {
    if (size <= 0) return false;
    switch (mode) {
    case 0: v = clampInt(v, 0, size - 1); return true;
    case 1: return v >= 0 && v < size;
    case 3:
        // Mirror: every other period runs backwards, then the point tiles like mode 2.
        if (safeDiv(v < 0 ? wrapSub(v, size) : v, size) % 2 != 0) v = wrapNeg(v);
        [[fallthrough]];
    case 2:
        // Negative points land one column short of a plain modulo; filters expect it.
        v = v >= 0 ? v % size : v % size + size - 1;
        return true;
    default: return false;
    }
}

int32_t Evaluation::src(int32_t x, int32_t y, int32_t z) const {
    // Every known mode leaves a point inside the image where it is.
    const bool inside = static_cast<uint32_t>(x) < static_cast<uint32_t>(ctx.width) &&
                        static_cast<uint32_t>(y) < static_cast<uint32_t>(ctx.height);
    if (inside && static_cast<uint32_t>(ctx.sourceMode) <= 3u)
        return z >= 0 && z < ctx.channelCount && z < 4 ? sourceByte(x, y, z) : 255;
    if (!reduceCoordinate(ctx.sourceMode, x, ctx.width) || !reduceCoordinate(ctx.sourceMode, y, ctx.height))
        return 0;
    if (z < 0 || z >= ctx.channelCount || z > 3) return 255;
    return sourceByte(x, y, z);
}

int32_t Evaluation::asrc(int32_t x, int32_t y, int32_t z) const {
    int32_t sum = src(x, wrapSub(y, 1), z) + src(wrapSub(x, 1), y, z) + src(wrapAdd(x, 1), y, z) +
                  src(x, wrapAdd(y, 1), z) + 2 * src(x, y, z);
    return sum / 6;
}

int32_t Evaluation::dst(int32_t x, int32_t y, int32_t z) const {
    if (z < 0 || z >= ctx.channelCount || z > 3) return 255;
    if (ctx.destPixels == nullptr || ctx.width <= 0 || ctx.height <= 0) return 0;
    x = clampInt(x, 0, ctx.width - 1);
    y = clampInt(y, 0, ctx.height - 1);
    return ctx.destPixels[static_cast<size_t>(y) * static_cast<uint32_t>(ctx.rowBytes) +
                          static_cast<size_t>(x) * 4 + static_cast<uint32_t>(ctx.channelMap[z])];
}

int32_t Evaluation::rad(int32_t d, int32_t m, int32_t z) const {
    int32_t x = wrapAdd(ctx.centerX, wrapMul(m, cosineOf(d)) / 512);
    int32_t y = wrapAdd(ctx.centerY, wrapMul(m, sineOf(d)) / 512);
    return src(x, y, z);
}

int32_t Evaluation::arad(int32_t d, int32_t m, int32_t z) const {
    int32_t sum = rad(d, wrapAdd(m, 1), z) + rad(d, m, z) + rad(wrapSub(d, 1), m, z) +
                  rad(d, wrapSub(m, 1), z) + rad(wrapAdd(d, 1), m, z);
    return sum / 5;
}

int32_t Evaluation::intensityAt(int32_t x, int32_t y) const {
    if (ctx.width <= 0 || ctx.height <= 0) return 0;
    x = clampInt(x, 0, ctx.width - 1);
    y = clampInt(y, 0, ctx.height - 1);
    return (76 * sourceByte(x, y, 0) + 150 * sourceByte(x, y, 1) + 29 * sourceByte(x, y, 2)) / 256;
}

int32_t Evaluation::convolve(int32_t px, int32_t py, const int32_t (&weights)[10], bool intensity) const {
    int32_t divisor = weights[9];
    if (divisor == 0) return 255;
    int32_t sum = 0;
    int w = 0;
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx, ++w) {
            int32_t col = wrapAdd(px, dx), row = wrapAdd(py, dy);
            int32_t v = intensity ? intensityAt(col, row) : src(col, row, ctx.channel);
            sum = wrapAdd(sum, wrapMul(weights[w], v));
        }
    }
    return safeDiv(sum, divisor);
}

int32_t Evaluation::bmap(int32_t n, int32_t px, int32_t py) const {
    const uint8_t* map = ctx.mapImage[clampInt(n, 0, kMapImageCount - 1)];
    int32_t mw = ctx.mapWidth, mh = ctx.mapHeight;
    // A zero (or, after |INT_MIN|, negative) map size has no points to read.
    if (map == nullptr || mw <= 0 || mh <= 0) return 0;
    if (!reduceCoordinate(ctx.sourceMode, px, mw) || !reduceCoordinate(ctx.sourceMode, py, mh)) return 0;
    int32_t e = clampInt(safeDiv(wrapMul(px, 256), mw), 0, 255);
    int32_t f = clampInt(safeDiv(wrapMul(py, 256), mh), 0, 255);
    auto at = [map](int32_t row, int32_t col) -> int32_t { return map[row * kMapSide + col]; };
    int32_t g = at(f, e);
    int32_t right = e == 255 ? g : at(f, e + 1);
    int32_t down = f == 255 ? g : at(f + 1, e);
    int32_t diagonal = e == 255 ? down : f == 255 ? right : at(f + 1, e + 1);
    int32_t fx = scaleOf(safeRem(wrapMul(px, 256), mw), 0, mw - 1, 0, 255);
    int32_t fy = scaleOf(safeRem(wrapMul(py, 256), mh), 0, mh - 1, 0, 255);
    return mixOf(mixOf(diagonal, down, fx, 255), mixOf(right, g, fx, 255), fy, 255);
}

}  // namespace lumen::formula
