#include "formula/block_program.h"

#include <algorithm>

#include <emmintrin.h>

#include "formula/block_ops.h"
#include "formula/int_math.h"

namespace lumen::formula {

BlockFrame::BlockFrame(PixelContext& context, RenderState& state, const FastProgram& fast, const BlockProgram& program)
    : fast_(context, state, fast),
      values_(static_cast<size_t>(program.slotCount()) * kBlockLanes),
      operands_(static_cast<size_t>(program.slotCount())),
      rowTexture_(program.texture_ ? static_cast<size_t>(program.texture_->octaves) : 0),
      drawn_(program.draws_.size() * kBlockLanes),
      cellBlock_(program.cellIndexSlots_.empty() ? 0 : static_cast<size_t>(context.cellCount)),
      cellLane_(cellBlock_.size()),
      columnBlockShares_(program.cellIndexesByColumn_ && !program.cellIndexSlots_.empty()
                             ? static_cast<size_t>((context.width + kBlockLanes - 1) / kBlockLanes)
                             : 0,
                         int8_t{-1}) {
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

// A quotient q = floor(n * m / 2^31) misses floor(n / d) by n * (m * d - 2^31) / (d * 2^31),
// below 1/d for every n < 2^15 and d <= 2^15.
BlockProgram::Draw::Draw(int32_t low, int32_t count, int32_t slot)
    : low(low), slot(slot), divisor(count < 0 ? 0u - static_cast<uint32_t>(count) : static_cast<uint32_t>(count)),
      multiplier(divisor > 32768u ? 0u : static_cast<uint32_t>(((uint64_t{1} << 31) + divisor - 1) / divisor)) {}

namespace {

// `count` draws of the render's generator. kChains steps of it are again a step x -> A x + C,
// so that many chains of states run side by side where a single chain waits on every
// multiplication; eight fill two vector registers.
constexpr size_t kChains = 8;

constexpr uint32_t chainStepMultiplier() {
    uint32_t a = 1;
    for (size_t k = 0; k < kChains; ++k) a *= kRandomMultiplier;
    return a;
}
constexpr uint32_t chainStepIncrement() {  // c (a^(n-1) + ... + a + 1)
    uint32_t sum = 0, power = 1;
    for (size_t k = 0; k < kChains; ++k, power *= kRandomMultiplier) sum += power;
    return kRandomIncrement * sum;
}

void drawNumbers(uint32_t& seed, uint32_t* drawn, size_t count) {
    constexpr uint32_t a = chainStepMultiplier(), c = chainStepIncrement();
    size_t j = 0;
    uint32_t chains[kChains];
    for (; j < count && j < kChains; ++j) {
        drawn[j] = static_cast<uint32_t>(drawRandom(seed));
        chains[j] = seed;
    }
    if (j < kChains) return;
    for (; j + kChains <= count; j += kChains)
        for (size_t k = 0; k < kChains; ++k) {
            chains[k] = chains[k] * a + c;
            drawn[j + k] = randomNumberOf(chains[k]);
        }
    seed = chains[kChains - 1];
    for (; j < count; ++j) drawn[j] = static_cast<uint32_t>(drawRandom(seed));
}

}  // namespace

// The draws of every pixel of the block, pixel after pixel, each in the order the compiled form
// makes them: the numbers first, in the generator's order, then each draw's values over the block
// in vector loops.
void BlockProgram::drawRandomNumbers(BlockFrame& frame, int32_t lanes) const {
    // A copy of the seed, which the stores of the numbers cannot be taken to change.
    uint32_t seed = frame.fast_.evaluation.state.randomSeed;
    const size_t perPixel = draws_.size();
    drawNumbers(seed, frame.drawn_.data(), perPixel * static_cast<size_t>(lanes));
    const uint32_t* drawn = frame.drawn_.data();
    frame.fast_.evaluation.state.randomSeed = seed;
    for (size_t k = 0; k < perPixel; ++k) {
        const Draw& draw = draws_[k];
        int32_t* __restrict out = &frame.values_[static_cast<size_t>(draw.slot) * kBlockLanes];
        for (int32_t i = 0; i < lanes; ++i) out[i] = draw.valueOf(drawn[static_cast<size_t>(i) * perPixel + k]);
    }
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
// nothing the cells hold, so they are known before any of them runs; indexes that depend on
// the column alone give every row the same answer.
bool BlockProgram::pixelsShareCells(BlockFrame& frame, int32_t x0, int32_t lanes) const {
    if (frame.columnBlockShares_.empty()) return cellIndexesMeet(frame, lanes);
    int8_t& known = frame.columnBlockShares_[static_cast<size_t>(x0 / kBlockLanes)];
    if (known < 0) known = cellIndexesMeet(frame, lanes) ? 1 : 0;
    return known == 1;
}

bool BlockProgram::cellIndexesMeet(BlockFrame& frame, int32_t lanes) const {
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
    if (!pixelsShareCells(frame, x0, lanes)) {
        runOps(orderedOps_, frame, x0, 0, lanes, source);
        return;
    }
    for (int32_t i = 0; i < lanes; ++i) runOps(orderedOps_, frame, x0, i, i + 1, source);
}

namespace {

// Sixteen values as bytes, each clamped to 0..255: the two saturating packs clamp to the
// 16-bit range and then to 0..255, which together is the clamp.
__m128i clampedBytes(const int32_t* v) {
    const __m128i low = _mm_packs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v)),
                                        _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + 4)));
    const __m128i high = _mm_packs_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(v + 8)),
                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(v + 12)));
    return _mm_packus_epi16(low, high);
}

// The byte at `offset` of sixteen pixels.
__m128i sourceBytes(const uint8_t* pixels, int offset) {
    const __m128i mask = _mm_set1_epi32(255);
    const __m128i count = _mm_cvtsi32_si128(8 * offset);
    __m128i part[4];
    for (int k = 0; k < 4; ++k)
        part[k] = _mm_and_si128(_mm_srl_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 16 * k)), count),
                                mask);
    return _mm_packus_epi16(_mm_packs_epi32(part[0], part[1]), _mm_packs_epi32(part[2], part[3]));
}

// Sixteen pixels from their four bytes, given by byte offset.
void storePixels(const __m128i (&bytes)[4], uint8_t* to) {
    const __m128i low01 = _mm_unpacklo_epi8(bytes[0], bytes[1]), high01 = _mm_unpackhi_epi8(bytes[0], bytes[1]);
    const __m128i low23 = _mm_unpacklo_epi8(bytes[2], bytes[3]), high23 = _mm_unpackhi_epi8(bytes[2], bytes[3]);
    auto* out = reinterpret_cast<__m128i*>(to);
    _mm_storeu_si128(out, _mm_unpacklo_epi16(low01, low23));
    _mm_storeu_si128(out + 1, _mm_unpackhi_epi16(low01, low23));
    _mm_storeu_si128(out + 2, _mm_unpacklo_epi16(high01, high23));
    _mm_storeu_si128(out + 3, _mm_unpackhi_epi16(high01, high23));
}

}  // namespace

// The block's four channels put together into whole pixels, sixteen at a time: one pass of
// byte stores per channel costs more than everything else gradient maps and tone curves do.
void BlockProgram::writePixels(const BlockFrame& frame, const uint8_t* from, uint8_t* to, int32_t lanes) const {
    const PixelContext& c = frame.fast_.evaluation.ctx;
    auto channelValue = [&](int z, int32_t i) -> int32_t {
        const FastProgram::Channel& channel = fast_.channels_[z];
        switch (channel.kind) {
        case FastProgram::ChannelKind::kConstant: return channel.value;
        case FastProgram::ChannelKind::kSourceByte: return from[4 * i + channel.value];
        default: return clampInt(frame.operands_[static_cast<size_t>(channelSlot_[z])][i], 0, 255);
        }
    };
    // By byte position, not by channel: indexed by the loop alone, the four stay in registers.
    int channelAt[4];
    for (int z = 0; z < 4; ++z) channelAt[c.channelMap[z]] = z;
    int32_t i = 0;
    for (; i + 16 <= lanes; i += 16) {
        __m128i bytes[4];
        for (int position = 0; position < 4; ++position) {
            const int z = channelAt[position];
            const FastProgram::Channel& channel = fast_.channels_[z];
            __m128i& at = bytes[position];
            switch (channel.kind) {
            case FastProgram::ChannelKind::kConstant: at = _mm_set1_epi8(static_cast<char>(channel.value)); break;
            case FastProgram::ChannelKind::kSourceByte: at = sourceBytes(from + 4 * i, channel.value); break;
            default: at = clampedBytes(frame.operands_[static_cast<size_t>(channelSlot_[z])] + i); break;
            }
        }
        storePixels(bytes, to + 4 * i);
    }
    for (; i < lanes; ++i)
        for (int z = 0; z < 4; ++z) to[4 * i + c.channelMap[z]] = static_cast<uint8_t>(channelValue(z, i));
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
