#include "formula/block_program.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "formula/block_ops.h"
#include "formula/int_math.h"

namespace lumen::formula {

BlockFrame::BlockFrame(PixelContext& context, RenderState& state, const FastProgram& fast, const BlockProgram& program)
    : fast_(context, state, fast),
      values_(static_cast<size_t>(program.slotCount()) * kBlockLanes),
      operands_(static_cast<size_t>(program.slotCount())),
      rowTexture_(program.texture_ ? static_cast<size_t>(program.texture_->octaves) : 0),
      cellBlock_(program.cellIndexSlots_.empty() ? 0 : static_cast<size_t>(context.cellCount)),
      cellLane_(cellBlock_.size()) {
    for (int32_t s = 0; s < program.slotCount(); ++s) {
        int32_t* values = &values_[static_cast<size_t>(s) * kBlockLanes];
        operands_[static_cast<size_t>(s)] = values;
        const BlockProgram::Slot& slot = program.slots_[static_cast<size_t>(s)];
        if (slot.kind == BlockProgram::SlotKind::kConstant)
            for (int32_t i = 0; i < kBlockLanes; ++i) values[i] = slot.value;
    }
}

void BlockProgram::computeRowSlots(BlockFrame& frame, int32_t y, const uint8_t* source) const {
    FastFrame& f = frame.fast_;
    PixelContext& c = f.evaluation.ctx;
    for (int32_t s : rowSlots_) {
        const Slot& slot = slots_[static_cast<size_t>(s)];
        c.channel = slot.channel;
        c.x = 0;
        f.pixel = source;
        ++f.pixelSerial;
        const int32_t v = runNode(*slot.node, f);
        int32_t* values = &frame.values_[static_cast<size_t>(s) * kBlockLanes];
        for (int32_t i = 0; i < kBlockLanes; ++i) values[i] = v;
    }
    if (texture_) {
        const TextureGenerator& t = f.evaluation.state.texture;
        double fy = t.gridSize * (static_cast<double>(y) / t.sourceHeight);
        for (int32_t o = 0; o < texture_->octaves; ++o) {
            frame.rowTexture_[static_cast<size_t>(o)] = textureStep(fy, t.gridSize);
            fy *= 2.0;
        }
    }
}

// The draws of every pixel of the block, pixel after pixel, each in the order the compiled form
// makes them.
void BlockProgram::drawRandomNumbers(BlockFrame& frame, int32_t lanes) const {
    uint32_t& seed = frame.fast_.evaluation.state.randomSeed;
    for (int32_t i = 0; i < lanes; ++i)
        for (const Draw& draw : draws_)
            frame.values_[static_cast<size_t>(draw.slot) * kBlockLanes + static_cast<size_t>(i)] =
                wrapAdd(draw.low, safeRem(drawRandom(seed), draw.count));
}

void BlockProgram::runOps(const std::vector<BlockOp>& ops, BlockFrame& frame, int32_t x0, int32_t first,
                          int32_t lanes, const uint8_t* source) const {
    const BlockRun run{frame.fast_,
                       frame.operands_.data(),
                       frame.values_.data(),
                       source,
                       x0,
                       frame.fast_.evaluation.ctx.y,
                       first,
                       lanes,
                       texture_.get(),
                       frame.rowTexture_.data()};
    for (const BlockOp& op : ops) runBlockOp(op, run);
}

// Whether two pixels of the block use the same cell. The cell operations' indexes depend on
// nothing the cells hold, so they are known before any of them runs.
bool BlockProgram::pixelsShareCells(BlockFrame& frame, int32_t lanes) const {
    if (++frame.block_ == 0) {
        std::fill(frame.cellBlock_.begin(), frame.cellBlock_.end(), 0u);
        frame.block_ = 1;
    }
    const auto count = static_cast<uint32_t>(frame.cellBlock_.size());
    for (int32_t slot : cellIndexSlots_) {
        const int32_t* index = frame.operands_[static_cast<size_t>(slot)];
        for (int32_t i = 0; i < lanes; ++i) {
            const auto cell = static_cast<uint32_t>(index[i]);
            if (cell >= count) continue;
            if (frame.cellBlock_[cell] == frame.block_ && frame.cellLane_[cell] != i) return true;
            frame.cellBlock_[cell] = frame.block_;
            frame.cellLane_[cell] = static_cast<uint8_t>(i);
        }
    }
    return false;
}

// Pixels that use cells of their own cannot see each other's cells: each operation may run over
// the whole block. Otherwise the pixels run one after the other, as the compiled form runs them.
void BlockProgram::runCellOps(BlockFrame& frame, int32_t x0, int32_t lanes, const uint8_t* source) const {
    if (!pixelsShareCells(frame, lanes)) {
        runOps(orderedOps_, frame, x0, 0, lanes, source);
        return;
    }
    for (int32_t i = 0; i < lanes; ++i) runOps(orderedOps_, frame, x0, i, i + 1, source);
}

// The block's four channels gathered into whole pixels, each channel's byte at its offset, and
// stored at once: one pass of byte stores per channel costs more than everything else gradient
// maps and tone curves do.
void BlockProgram::writePixels(const BlockFrame& frame, const uint8_t* from, uint8_t* to, int32_t lanes) const {
    static_assert(std::endian::native == std::endian::little, "a pixel's byte k is its bits 8k to 8k+7");
    uint32_t pixels[kBlockLanes] = {};
    const PixelContext& c = frame.fast_.evaluation.ctx;
    for (int z = 0; z < 4; ++z) {
        const FastProgram::Channel& channel = fast_.channels_[z];
        const int shift = 8 * c.channelMap[z];
        switch (channel.kind) {
        case FastProgram::ChannelKind::kConstant: {
            const uint32_t v = uint32_t{static_cast<uint8_t>(channel.value)} << shift;
            for (int32_t i = 0; i < lanes; ++i) pixels[i] |= v;
            break;
        }
        case FastProgram::ChannelKind::kSourceByte: {
            const uint8_t* in = from + channel.value;
            for (int32_t i = 0; i < lanes; ++i) pixels[i] |= uint32_t{in[4 * i]} << shift;
            break;
        }
        default: {
            const int32_t* v = frame.operands_[static_cast<size_t>(channelSlot_[z])];
            for (int32_t i = 0; i < lanes; ++i) pixels[i] |= static_cast<uint32_t>(clampInt(v[i], 0, 255)) << shift;
            break;
        }
        }
    }
    std::memcpy(to, pixels, 4 * static_cast<size_t>(lanes));
}

void BlockProgram::renderRow(BlockFrame& frame, int32_t y, uint8_t* row) const {
    PixelContext& c = frame.fast_.evaluation.ctx;
    c.y = y;
    const uint8_t* source = c.sourcePixels + static_cast<size_t>(y) * static_cast<uint32_t>(c.rowBytes);
    computeRowSlots(frame, y, source);
    for (int32_t x0 = 0; x0 < c.width; x0 += kBlockLanes) {
        const int32_t lanes = c.width - x0 < kBlockLanes ? c.width - x0 : kBlockLanes;
        const uint8_t* from = source + 4 * static_cast<size_t>(x0);
        for (size_t s = 0; s < slots_.size(); ++s)
            if (slots_[s].kind == SlotKind::kColumn) frame.operands_[s] = slots_[s].column.data() + x0;
        if (!draws_.empty()) drawRandomNumbers(frame, lanes);
        runOps(ops_, frame, x0, 0, lanes, from);
        if (!orderedOps_.empty()) runCellOps(frame, x0, lanes, from);
        writePixels(frame, from, row + 4 * static_cast<size_t>(x0), lanes);
    }
}

}  // namespace lumen::formula
