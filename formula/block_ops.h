#pragma once
// Inside BlockProgram: the operations it runs over a block of pixels, and what one run of them
// sees.
#include <cstdint>
#include <vector>

#include "formula/block_program.h"
#include "formula/evaluation.h"

namespace lumen::formula {

enum class BlockCode : uint8_t {
    // Leaves that read the pixel or its position.
    kColumnIndex, kSource, kIntensity, kChromaU, kChromaV, kDirection, kMagnitude,
    // Two operands, in[0] and in[1].
    kAdd, kSubtract, kMultiply, kBitAnd, kBitOr, kBitXor, kEqual, kNotEqual, kLess, kGreater, kLessEqual,
    kGreaterEqual, kShiftLeft, kShiftRight, kDivide, kRemainder, kLogicalAnd, kLogicalOr, kMinimum, kMaximum,
    kDifference, kPower,
    kDivideByPowerOfTwo, kRemainderByPowerOfTwo,  // in[0] by 2^value, truncating as / and % do
    kDivideInFloats,                              // both operands below 2^24 in magnitude
    // One operand.
    kNegate, kBitNot, kLogicalNot, kAbsolute, kSine, kCosine, kTangent, kTriangle,
    kGradientEntry,  // value: the channel
    kGammaEntry,     // value: the gamma table row
    // More operands.
    kConditional, kAddLimited, kSubtractLimited, kMix, kScale,
    kSourceClamped, kSourceInside,  // in[0] x, in[1] y; value: the byte offset
    kConvolutionFixed,              // node: the compiled cnv, which the border pixels run
    kCall1, kCall2, kCall3,         // value: the function index
    kRadius,                        // rad(in[0], in[1], in[2])
    kBorderRegion, kMapImage,
    kTexture,                       // tex(x, y) from its column and row halves
    kCellRead, kCellWrite,          // get(in[0]); put(in[0], in[1])
    kByteTable,                     // table[the source byte at offset value]
    kEscape,                        // node run pixel by pixel by the compiled form
};

// tex(x, y) split by axis: each octave's step along x for every column of the image.
struct ColumnTexture {
    int32_t octaves = 0;
    std::vector<TextureStep> columns;  // octaves steps for each column
};

struct BlockOp {
    BlockCode code = BlockCode::kEscape;
    int32_t out = 0;
    int32_t in[5] = {};
    int32_t value = 0;
    int32_t channel = 0;  // the context's channel while a compiled node runs
    const FastNode* node = nullptr;
    const int32_t* table = nullptr;  // 256 values, by source byte
    // The table lookups: in[0] always lies inside the table, so it needs no folding or clamping.
    bool operandInTable = false;
};

// The block one run of operations computes: lanes pixels of row y from column x0, of which the
// operations compute those from `first` on.
struct BlockRun {
    FastFrame& frame;
    const int32_t* const* operands;
    int32_t* values;  // kBlockLanes for every slot
    const uint8_t* source;  // the source pixel at (x0, y)
    int32_t x0;
    int32_t y;
    int32_t first;
    int32_t lanes;
    const ColumnTexture* texture;
    const TextureStep* rowTexture;  // the row's step for each octave
};

void runBlockOp(const BlockOp& op, const BlockRun& run);

// directionOf(dx0 + i, dy) for i in 0..count-1, mostly without the library's atan2.
void directionsOfRow(int32_t dx0, int32_t dy, int32_t count, int32_t* out);

}  // namespace lumen::formula
