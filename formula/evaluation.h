#pragma once
// Inside the evaluator: one walk over a tree with the context and render state at hand, and the
// built-in families it calls (each in its own builtins_*.cpp).
#include <cstdint>

#include "formula/formula_node.h"
#include "formula/pixel_context.h"
#include "formula/render_state.h"
#include "formula/token_codes.h"

namespace lumen::formula {

// The first node with fewer children than its kind needs; null when the tree is whole.
const FormulaNode* firstMalformedNode(const FormulaNode* root);
// Whether the tree calls hmin or hmax, the only readers of the image's channel ranges.
bool readsChannelRanges(const FormulaNode* root);

struct Evaluation {
    PixelContext& ctx;
    RenderState& state;

    // Trusts the tree to be whole (firstMalformedNode): checked once, not at every pixel.
    int32_t eval(const FormulaNode* node);
    int32_t evalBuiltin(const FormulaNode* node);
    // A child's value; literals, the most common operands, without a call.
    int32_t operand(const FormulaNode* node) { return node->kind == kNumber ? node->value : eval(node); }

    // Image access (builtins_image.cpp).
    int32_t src(int32_t x, int32_t y, int32_t z) const;
    int32_t asrc(int32_t x, int32_t y, int32_t z) const;
    int32_t dst(int32_t x, int32_t y, int32_t z) const;
    int32_t rad(int32_t d, int32_t m, int32_t z) const;
    int32_t arad(int32_t d, int32_t m, int32_t z) const;
    int32_t intensityAt(int32_t x, int32_t y) const;
    // weights: the nine weights row by row; the tenth value is the divisor.
    int32_t convolve(int32_t px, int32_t py, const int32_t (&weights)[10], bool intensity) const;
    int32_t bmap(int32_t n, int32_t px, int32_t py) const;

    // Textures (builtins_texture.cpp).
    int32_t tex(int32_t x, int32_t y) const;
    int32_t texture(int32_t width, int32_t height, int32_t grid, int32_t octaves, int32_t seed);

    // Table-dispatched functions (builtins_call.cpp) and the settings they change.
    int32_t call1(int32_t index, int32_t a);
    int32_t call2(int32_t index, int32_t a, int32_t b);
    int32_t call3(int32_t index, int32_t a, int32_t b, int32_t c);
    int32_t storage(int32_t n);
    int32_t gradient(int32_t n);
    int32_t gamma(int32_t a, int32_t b, int32_t c);
    int32_t nbd(int32_t x, int32_t y, int32_t mode) const;

    // A byte of the source at a pixel known to lie in the image.
    int32_t sourceByte(int32_t x, int32_t y, int32_t z) const {
        return ctx.sourcePixels[static_cast<size_t>(y) * static_cast<uint32_t>(ctx.rowBytes) +
                                static_cast<size_t>(x) * 4 + static_cast<uint32_t>(ctx.channelMap[z])];
    }
    int32_t colourVariable(int32_t z) const {
        return z >= 0 && z < ctx.channelCount && z < 4 ? sourceByte(ctx.x, ctx.y, z) : 255;
    }
};

// Pure functions shared by the variables and the built-ins.
int32_t directionOf(int32_t x, int32_t y);  // c2d
int32_t magnitudeOf(int32_t x, int32_t y);  // c2m
int32_t mixOf(int32_t a, int32_t b, int32_t n, int32_t d);
int32_t scaleOf(int32_t a, int32_t il, int32_t ih, int32_t ol, int32_t oh);
// One axis of a texture read at an octave's grid coordinate: the cell, the next cell, and the
// smoothed weight of the next one.
struct TextureStep {
    int cell;
    int next;
    double weight;
};
TextureStep textureStep(double f, int gridSize);
// The noise of one octave between the four grid heights around (sx, sy).
inline double textureNoise(const TextureGenerator& t, const TextureStep& sx, const TextureStep& sy) {
    const int n = t.gridSize;
    auto g = [&t, n](int row, int col) { return static_cast<double>(t.grid[row * n + col]); };
    double top = g(sy.cell, sx.cell) * (1.0 - sx.weight) + g(sy.cell, sx.next) * sx.weight;
    double bottom = g(sy.next, sx.cell) * (1.0 - sx.weight) + g(sy.next, sx.next) * sx.weight;
    return bottom * sy.weight + top * (1.0 - sy.weight);
}
// The sum of the octaves as the byte tex yields.
inline int32_t textureByte(double sum) {
    double value = (sum + 1.0) * 128.0;
    return static_cast<int32_t>(value < 0.0 ? 0.0 : value > 255.0 ? 255.0 : value);
}
// Reduces a coordinate into 0..size-1 by a source mode; false when the point reads as 0.
bool reduceCoordinate(int32_t mode, int32_t& v, int32_t size);

}  // namespace lumen::formula
