#pragma once
// The channel sources run over blocks of pixels: each operation of the compiled form is done for
// a whole run of pixels of one row before the next operation starts, in loops the compiler turns
// into vector code. Values that depend only on the row are computed once per row, values that
// depend only on the column once per render. Built from a FastProgram after Code0 has run; a
// program it cannot run this way (usable() false) renders through the FastProgram itself.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "formula/fast_program.h"
#include "formula/int_math.h"

namespace lumen::formula {

constexpr int32_t kBlockLanes = 128;  // pixels of one row that every operation handles at once

struct BlockOp;
struct ColumnTexture;
class BlockProgram;

// One rendering thread's scratch: a block of values per operation, the row's values, and its
// FastFrame for what still runs pixel by pixel. About a row's worth of memory per operation.
class BlockFrame {
public:
    BlockFrame(PixelContext& context, RenderState& state, const FastProgram& fast, const BlockProgram& program);

private:
    friend class BlockProgram;
    FastFrame fast_;
    std::vector<int32_t> values_;           // kBlockLanes per block slot
    std::vector<const int32_t*> operands_;  // where each slot's values lie for the current block
    std::vector<TextureStep> rowTexture_;   // the row's half of a tex(x, y) read, by octave
    std::vector<uint32_t> drawn_;           // the block's random numbers, pixel after pixel
    // For each cell, the block and the pixel of that block that last used it.
    std::vector<uint32_t> cellBlock_;
    std::vector<uint8_t> cellLane_;
    uint32_t block_ = 0;
    // Whether the block at each column shares cells, once known (-1: not yet), where the cell
    // indexes depend on the column alone.
    std::vector<int8_t> columnBlockShares_;
};

class BlockProgram {
public:
    // Keeps a reference to `fast`; computes per-column values in `context` (left as it was).
    // May throw std::bad_alloc.
    // With `wanted` false it is never usable and builds nothing.
    BlockProgram(const FastProgram& fast, PixelContext& context, RenderState& state, bool wanted = true);
    ~BlockProgram();
    BlockProgram(const BlockProgram&) = delete;
    BlockProgram& operator=(const BlockProgram&) = delete;

    bool usable() const { return usable_; }
    // Computes row y into `row` (the destination row's first byte) with the same bytes the
    // FastProgram gives. Allocates nothing.
    void renderRow(BlockFrame& frame, int32_t y, uint8_t* row) const;

    int32_t slotCount() const { return slotCount_; }

private:
    friend class BlockCompiler;
    friend class BlockFrame;
    enum class SlotKind : uint8_t { kComputed, kRow, kColumn, kConstant };
    struct Slot {
        SlotKind kind = SlotKind::kComputed;
        int32_t value = 0;                // a constant
        int32_t channel = 0;              // the channel whose source reached it first
        const FastNode* node = nullptr;   // row values: computed per row by the compiled form
        std::vector<int32_t> column;      // column values, one per column of the image
        // Bounds of every value the slot takes in this render, where known.
        int32_t low = INT32_MIN;
        int32_t high = INT32_MAX;
    };
    // rnd(low, low + count - 1), count never 0: the draw's remainder by count through a
    // multiplication, exact for the 15-bit numbers drawn.
    struct Draw {
        Draw(int32_t low, int32_t count, int32_t slot);
        int32_t valueOf(uint32_t drawn) const {
            const auto quotient = static_cast<uint32_t>((uint64_t{drawn} * multiplier) >> 31);
            return wrapAdd(low, static_cast<int32_t>(drawn - quotient * divisor));
        }
        int32_t low;
        int32_t slot;
        uint32_t divisor;     // |count|; a remainder by -d is the one by d
        uint32_t multiplier;  // ceil(2^31 / divisor); 0 where the divisor exceeds every draw
    };

    void runOps(const std::vector<BlockOp>& ops, BlockFrame& frame, int32_t x0, int32_t first, int32_t lanes,
                const uint8_t* source) const;
    void runCellOps(BlockFrame& frame, int32_t x0, int32_t lanes, const uint8_t* source) const;
    bool pixelsShareCells(BlockFrame& frame, int32_t x0, int32_t lanes) const;
    bool cellIndexesMeet(BlockFrame& frame, int32_t lanes) const;
    void drawRandomNumbers(BlockFrame& frame, int32_t lanes) const;
    void computeRowSlots(BlockFrame& frame, int32_t y, const uint8_t* source) const;
    void writePixels(const BlockFrame& frame, const uint8_t* from, uint8_t* to, int32_t lanes) const;

    const FastProgram& fast_;
    bool usable_ = false;
    int32_t slotCount_ = 0;
    std::vector<Slot> slots_;
    std::vector<BlockOp> ops_;
    std::vector<BlockOp> orderedOps_;     // depend on the cells: run after ops_, in this order
    std::vector<int32_t> cellIndexSlots_;  // the cells the cell operations read or write, each slot once
    bool cellIndexesByColumn_ = false;     // every one of them is a column value
    std::vector<int32_t> rowSlots_;       // slots computed per row, in the order found
    std::vector<Draw> draws_;             // random draws of one pixel, in the order made
    std::unique_ptr<ColumnTexture> texture_;
    std::vector<std::array<int32_t, 256>> byteTables_;  // values of subtrees over one source byte  // the column half of a tex(x, y) read
    int32_t channelSlot_[4] = {-1, -1, -1, -1};  // general channels: the slot of the value
};

}  // namespace lumen::formula
