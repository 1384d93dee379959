#pragma once
// What one render owns besides its PixelContext: the storage cells, the case label map, the
// texture generator and the random seed. A fresh render starts from the same state, so its
// pixels never depend on what ran before it.
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "formula/formula_node.h"
#include "formula/pixel_context.h"

namespace lumen::formula {

constexpr int kMaxTextureGrid = 64;
constexpr int kMaxTextureOctaves = 8;

struct TextureGenerator {
    bool present = false;
    int32_t sourceWidth = 0;
    int32_t sourceHeight = 0;
    int gridSize = 1;
    int octaves = 1;
    std::array<double, kMaxTextureOctaves + 1> amplitude{};
    std::array<float, kMaxTextureGrid * kMaxTextureGrid> grid{};  // gridSize rows of gridSize
};

class RenderState {
public:
    RenderState();

    // Back to the start of a render: 256 zeroed cells, no case labels, no texture, seed 1.
    void reset();

    // Makes room for every case label of the tree, so that evaluating it never allocates.
    void registerCaseLabels(const FormulaNode* root);
    void storeCaseValue(int32_t label, int32_t value);
    int32_t caseValue(int32_t label) const;

    // Replaces the cells by `count` zeroed ones; the context's cells and cellCount follow.
    void replaceCells(int32_t count, PixelContext& context);
    void attachCells(PixelContext& context);

    TextureGenerator texture;
    uint32_t randomSeed = 1;

private:
    std::vector<int32_t> cells_;
    std::vector<std::pair<int32_t, int32_t>> caseLabels_;  // sorted by label
};

constexpr uint32_t kRandomMultiplier = 214013u;
constexpr uint32_t kRandomIncrement = 2531011u;

// The number a state of the generator gives: 0..32767.
inline uint32_t randomNumberOf(uint32_t state) { return (state >> 16) & 32767u; }

// One draw of the render's random generator: 0..32767.
inline int32_t drawRandom(uint32_t& seed) {
    seed = seed * kRandomMultiplier + kRandomIncrement;
    return static_cast<int32_t>(randomNumberOf(seed));
}

}  // namespace lumen::formula
