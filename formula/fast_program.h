#pragma once
// The channel sources of a filter compiled into a form that is quicker to run than walking the
// syntax trees: built once per render, after Code0 has run, and then shared read-only by every
// thread that renders rows of the image. Each thread brings its own FastFrame.
#include <array>
#include <cstdint>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/evaluation.h"

namespace lumen::formula {

struct FastNode;
class FastProgram;

struct MemoSlot {
    uint64_t pixelSerial = 0;
    int32_t value = 0;
};

// What one rendering thread evaluates against: its context, the render state, the source
// pixel at the context's (x, y), and the values already computed for that pixel. Written at
// every pixel, so frames of different threads never share a cache line.
struct alignas(64) FastFrame {
    FastFrame(PixelContext& context, RenderState& state, const FastProgram& program);

    Evaluation evaluation;
    const uint8_t* pixel = nullptr;
    uint64_t pixelSerial = 0;  // counts the pixels this frame has been at
    std::vector<MemoSlot> memo;
};

using FastFunction = int32_t (*)(const FastNode& node, FastFrame& frame);

struct FastNode {
    FastFunction run = nullptr;
    int32_t value = 0;  // a constant, a function index, a case label or a byte offset
    int32_t extra = 0;
    const FastNode* child[5] = {};
    const FastNode* const* list = nullptr;  // the arguments of the ten- and twelve-argument calls
    const int32_t* weights = nullptr;       // constant convolution weights and divisor
};

inline int32_t runNode(const FastNode& node, FastFrame& frame) { return node.run(node, frame); }

class FastProgram {
public:
    // Compiles Code1..Code4 against the context and state as Code0 left them; they must stay
    // those of this render. May throw std::bad_alloc.
    FastProgram(const FilterProgram& program, PixelContext& context, RenderState& state);
    FastProgram(const FastProgram&) = delete;
    FastProgram& operator=(const FastProgram&) = delete;

    // True when no channel source contains anything whose result depends on the order pixels
    // are computed in: random numbers, writes to the cells or settings, the destination, or a
    // `case` that may read a label stored at another pixel. Such a filter may be rendered in
    // rows on several threads at once.
    bool orderIndependent() const { return orderIndependent_; }
    // False when every channel is a constant or a source byte: the render is then a copy.
    bool computesAnyChannel() const {
        for (const Channel& channel : channels_)
            if (channel.kind == ChannelKind::kGeneral) return true;
        return false;
    }
    int32_t memoSlots() const { return memoSlots_; }

    // Computes row y into `row` (the destination row's first byte). Allocates nothing.
    void renderRow(FastFrame& frame, int32_t y, uint8_t* row) const;

private:
    enum class ChannelKind : uint8_t { kConstant, kSourceByte, kGeneral };
    struct Channel {
        ChannelKind kind = ChannelKind::kGeneral;
        int32_t value = 0;  // the clamped constant, or the source byte offset
        const FastNode* root = nullptr;
    };

    friend class FastCompiler;
    friend class BlockCompiler;
    friend class BlockProgram;
    std::vector<FastNode> nodes_;
    std::vector<const FastNode*> lists_;
    std::vector<int32_t> weights_;
    std::array<Channel, 4> channels_{};
    int32_t memoSlots_ = 0;
    bool orderIndependent_ = false;
};

}  // namespace lumen::formula
