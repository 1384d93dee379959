// The value-noise texture: `texture` builds a grid of random heights, `tex` reads it back as a
// sum of octaves of smoothly interpolated noise.
#include <cmath>
#include <numbers>

#include "formula/evaluation.h"
#include "formula/int_math.h"

namespace lumen::formula {

TextureStep textureStep(double f, int n) {
    const double whole = std::trunc(f);
    // The grid cell brought into 0..n-1 also for negative coordinates.
    int cell = static_cast<int>(std::fmod(whole, static_cast<double>(n)));
    if (cell < 0) cell += n;
    // The fraction inside the cell; the cosine makes its sign irrelevant.
    const double weight = (1.0 - std::cos(std::numbers::pi * (f - whole))) / 2.0;
    return {cell, (cell + 1) % n, weight};
}

int32_t Evaluation::tex(int32_t x, int32_t y) const {
    const TextureGenerator& t = state.texture;
    // A generator made for a zero-sized source has no finite coordinates to read.
    if (!t.present || t.sourceWidth == 0 || t.sourceHeight == 0) return 0;
    double fx = t.gridSize * (static_cast<double>(x) / t.sourceWidth);
    double fy = t.gridSize * (static_cast<double>(y) / t.sourceHeight);
    double sum = 0.0;
    for (int o = 0; o < t.octaves; ++o) {
        sum += t.amplitude[o] * textureNoise(t, textureStep(fx, t.gridSize), textureStep(fy, t.gridSize));
        fx *= 2.0;
        fy *= 2.0;
    }
    return textureByte(sum);
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
