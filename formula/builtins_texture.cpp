// The value-noise texture: `texture` builds a grid of random heights, `tex` reads it back as a
// sum of octaves of smoothly interpolated noise.
#include <cmath>
#include <numbers>

#include "formula/evaluation.h"
#include "formula/int_math.h"

namespace lumen::formula {
namespace {

// Grid cell of a coordinate, brought into 0..n-1 also for negative coordinates.
int gridIndex(double whole, int n) {
    double cell = std::fmod(whole, static_cast<double>(n));
    int index = static_cast<int>(cell);
    return index < 0 ? index + n : index;
}

double noise(const TextureGenerator& t, double fx, double fy) {
    const int n = t.gridSize;
    double wholeX = std::trunc(fx), wholeY = std::trunc(fy);
    int ix = gridIndex(wholeX, n), iy = gridIndex(wholeY, n);
    int ix1 = (ix + 1) % n, iy1 = (iy + 1) % n;
    // The fraction inside the cell; the cosine makes its sign irrelevant.
    double sx = (1.0 - std::cos(std::numbers::pi * (fx - wholeX))) / 2.0;
    double sy = (1.0 - std::cos(std::numbers::pi * (fy - wholeY))) / 2.0;
    auto g = [&t, n](int row, int col) { return static_cast<double>(t.grid[row * n + col]); };
    double top = g(iy, ix) * (1.0 - sx) + g(iy, ix1) * sx;
    double bottom = g(iy1, ix) * (1.0 - sx) + g(iy1, ix1) * sx;
    return bottom * sy + top * (1.0 - sy);
}

}  // namespace

int32_t Evaluation::tex(int32_t x, int32_t y) const {
    const TextureGenerator& t = state.texture;
    // A generator made for a zero-sized source has no finite coordinates to read.
    if (!t.present || t.sourceWidth == 0 || t.sourceHeight == 0) return 0;
    double fx = t.gridSize * (static_cast<double>(x) / t.sourceWidth);
    double fy = t.gridSize * (static_cast<double>(y) / t.sourceHeight);
    double sum = 0.0;
    for (int o = 0; o < t.octaves; ++o) {
        sum += t.amplitude[o] * noise(t, fx, fy);
        fx *= 2.0;
        fy *= 2.0;
    }
    double value = (sum + 1.0) * 128.0;
    return static_cast<int32_t>(value < 0.0 ? 0.0 : value > 255.0 ? 255.0 : value);
}

int32_t Evaluation::texture(int32_t width, int32_t height, int32_t grid, int32_t octaves, int32_t seed) {
    TextureGenerator& t = state.texture;
    t.present = true;
    t.sourceWidth = width;
    t.sourceHeight = height;
    t.gridSize = clampInt(grid, 1, kMaxTextureGrid);
    t.octaves = clampInt(octaves, 1, kMaxTextureOctaves);
    for (int o = 0; o <= kMaxTextureOctaves; ++o) t.amplitude[o] = std::pow(std::pow(2.0, o), -0.5);
    state.randomSeed = static_cast<uint32_t>(seed);
    for (int i = 0; i < t.gridSize * t.gridSize; ++i)
        t.grid[i] = static_cast<float>(drawRandom(state.randomSeed) * (1.0 / 32767.0) * 1.2 - 0.6);
    return 0;
}

}  // namespace lumen::formula
