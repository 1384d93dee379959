// Turning the compiled form's nodes into operations over blocks of pixels: what each node
// depends on, where its value is kept (per block, per row, per column or once), and the order
// of the random draws a pixel makes.
#include <algorithm>
#include <bit>
#include <unordered_map>
#include <utility>

#include "formula/block_ops.h"
#include "formula/fast_nodes.h"
#include "formula/evaluation.h"
#include "formula/int_math.h"
#include "formula/lookup_tables.h"
#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

enum class Rule : uint8_t {
    kStrict,  // every child in `order` is evaluated once, in that order
    kLoose,   // children that may be evaluated not at all or twice: only for pure children
    kEscape,  // no block form: the node runs pixel by pixel, only over pure children
    kNever,   // changes or reads what later pixels see: the block form does not run the filter
    // Handled apart.
    kConstant, kColumn, kRow, kMemo, kSequence, kDraw, kCall1, kCall2, kCall3,
};

constexpr int8_t kNodeValue = -1;  // an input that is the node's own constant

struct Shape {
    Rule rule = Rule::kNever;
    BlockCode code = BlockCode::kEscape;
    int8_t order[5] = {};  // children in evaluation order
    int8_t orderCount = 0;
    int8_t inputs[5] = {};  // child index of in[k], or kNodeValue
    int8_t inputCount = 0;
    bool fixedValue = false;  // the op's value is `value`, not the node's
    int32_t value = 0;
    bool positional = false;  // reads the pixel or its position itself
};

Shape shape(Rule rule, BlockCode code, std::initializer_list<int8_t> order, std::initializer_list<int8_t> inputs) {
    Shape s;
    s.rule = rule;
    s.code = code;
    for (int8_t c : order) s.order[s.orderCount++] = c;
    for (int8_t c : inputs) s.inputs[s.inputCount++] = c;
    return s;
}
Shape leaf(BlockCode code) {
    Shape s = shape(Rule::kStrict, code, {}, {});
    s.positional = true;
    return s;
}

class ShapeTable {
public:
    ShapeTable() {
        using fast::Operands;
        const std::pair<int32_t, BlockCode> arithmetic[] = {
            {'+', BlockCode::kAdd}, {'-', BlockCode::kSubtract}, {'*', BlockCode::kMultiply},
            {kBitAnd, BlockCode::kBitAnd}, {kBitOr, BlockCode::kBitOr}, {kBitXor, BlockCode::kBitXor},
            {kEqual, BlockCode::kEqual}, {kNotEqual, BlockCode::kNotEqual}, {kLess, BlockCode::kLess},
            {kGreater, BlockCode::kGreater}, {kLessEqual, BlockCode::kLessEqual},
            {kGreaterEqual, BlockCode::kGreaterEqual}, {kShiftLeft, BlockCode::kShiftLeft},
            {kShiftRight, BlockCode::kShiftRight}};
        for (const auto& [kind, code] : arithmetic) {
            add(fast::arithmetic(kind, Operands::kBoth), shape(Rule::kStrict, code, {1, 0}, {0, 1}));
            add(fast::arithmetic(kind, Operands::kConstantRight), shape(Rule::kStrict, code, {0}, {0, kNodeValue}));
            add(fast::arithmetic(kind, Operands::kConstantLeft), shape(Rule::kStrict, code, {1}, {kNodeValue, 1}));
        }
        for (bool remainder : {false, true}) {
            const BlockCode code = remainder ? BlockCode::kRemainder : BlockCode::kDivide;
            add(fast::division(remainder, false), shape(Rule::kStrict, code, {1, 0}, {0, 1}));
            add(fast::division(remainder, true), shape(Rule::kStrict, code, {0}, {0, kNodeValue}));
        }
        add(fast::constant, shape(Rule::kConstant, BlockCode::kEscape, {}, {}));
        add(fast::column, shape(Rule::kColumn, BlockCode::kColumnIndex, {}, {}));
        add(fast::row, shape(Rule::kRow, BlockCode::kEscape, {}, {}));
        add(fast::sourceByte, leaf(BlockCode::kSource));
        add(fast::intensity, leaf(BlockCode::kIntensity));
        add(fast::chromaU, leaf(BlockCode::kChromaU));
        add(fast::chromaV, leaf(BlockCode::kChromaV));
        add(fast::direction, leaf(BlockCode::kDirection));
        add(fast::magnitude, leaf(BlockCode::kMagnitude));
        add(fast::convolutionFixed, leaf(BlockCode::kConvolutionFixed));
        add(fast::memoised, shape(Rule::kMemo, BlockCode::kEscape, {0}, {}));
        add(fast::sequence, shape(Rule::kSequence, BlockCode::kEscape, {0, 1}, {}));
        add(fast::randomBetween, shape(Rule::kDraw, BlockCode::kEscape, {}, {}));
        add(fast::negate, shape(Rule::kStrict, BlockCode::kNegate, {0}, {0}));
        add(fast::bitNot, shape(Rule::kStrict, BlockCode::kBitNot, {0}, {0}));
        add(fast::logicalNot, shape(Rule::kStrict, BlockCode::kLogicalNot, {0}, {0}));
        add(fast::power, shape(Rule::kStrict, BlockCode::kPower, {0, 1}, {0, 1}));
        add(fast::logicalAnd, shape(Rule::kLoose, BlockCode::kLogicalAnd, {0, 1}, {0, 1}));
        add(fast::logicalOr, shape(Rule::kLoose, BlockCode::kLogicalOr, {0, 1}, {0, 1}));
        add(fast::conditional, shape(Rule::kLoose, BlockCode::kConditional, {0, 1, 2}, {0, 1, 2}));
        add(fast::sine, shape(Rule::kStrict, BlockCode::kSine, {0}, {0}));
        add(fast::cosine, shape(Rule::kStrict, BlockCode::kCosine, {0}, {0}));
        add(fast::tangent, shape(Rule::kStrict, BlockCode::kTangent, {0}, {0}));
        add(fast::triangle, shape(Rule::kStrict, BlockCode::kTriangle, {0}, {0}));
        add(fast::absolute, shape(Rule::kStrict, BlockCode::kAbsolute, {0}, {0}));
        add(fast::minimum, shape(Rule::kStrict, BlockCode::kMinimum, {1, 0}, {0, 1}));
        add(fast::maximum, shape(Rule::kStrict, BlockCode::kMaximum, {1, 0}, {0, 1}));
        add(fast::difference, shape(Rule::kStrict, BlockCode::kDifference, {1, 0}, {0, 1}));
        add(fast::addLimited, shape(Rule::kLoose, BlockCode::kAddLimited, {1, 0, 2}, {0, 1, 2}));
        add(fast::subtractLimited, shape(Rule::kLoose, BlockCode::kSubtractLimited, {1, 0, 2}, {0, 1, 2}));
        add(fast::mix, shape(Rule::kStrict, BlockCode::kMix, {3, 2, 1, 0}, {0, 1, 2, 3}));
        add(fast::scale, shape(Rule::kStrict, BlockCode::kScale, {4, 3, 2, 1, 0}, {0, 1, 2, 3, 4}));
        add(fast::gradientEntry, shape(Rule::kStrict, BlockCode::kGradientEntry, {0}, {0}));
        add(fast::gammaEntry, shape(Rule::kStrict, BlockCode::kGammaEntry, {0}, {0}));
        add(fast::sourceClamped, shape(Rule::kStrict, BlockCode::kSourceClamped, {1, 0}, {0, 1}));
        add(fast::sourceInside, shape(Rule::kStrict, BlockCode::kSourceInside, {1, 0}, {0, 1}));
        add(fast::borderRegion, shape(Rule::kStrict, BlockCode::kBorderRegion, {2, 1, 0}, {0, 1, 2}));
        add(fast::mapImage, shape(Rule::kStrict, BlockCode::kMapImage, {2, 1, 0}, {0, 1, 2}));
        Shape control = shape(Rule::kStrict, BlockCode::kCall1, {0}, {0});
        control.fixedValue = true;
        control.value = kCall1Ctl;
        add(fast::control, control);
        Shape cell = control;
        cell.value = kCall1Get;
        add(fast::cell, cell);
        add(fast::call1, shape(Rule::kCall1, BlockCode::kCall1, {0}, {0}));
        add(fast::call2, shape(Rule::kCall2, BlockCode::kCall2, {1, 0}, {0, 1}));
        add(fast::call3, shape(Rule::kCall3, BlockCode::kCall3, {2, 1, 0}, {0, 1, 2}));
        Shape convolution = shape(Rule::kEscape, BlockCode::kEscape, {}, {});
        convolution.positional = true;
        add(fast::convolution, convolution);
        add(fast::pointConvolution, shape(Rule::kEscape, BlockCode::kEscape, {}, {}));
    }

    // Unknown functions, and those that change what later pixels see, are never run in blocks.
    Shape find(FastFunction run) const {
        auto it = shapes_.find(run);
        return it == shapes_.end() ? Shape{} : it->second;
    }

private:
    void add(FastFunction run, const Shape& s) { shapes_[run] = s; }
    std::unordered_map<FastFunction, Shape> shapes_;
};

// Built before main, so that no render pays for it.
const ShapeTable kShapes;
const ShapeTable& shapes() { return kShapes; }

// Table-dispatched functions that only read what no channel source of a block-run filter can
// change; the others (rst, rnd with bounds that vary, put, dst, unknown indexes) never run in
// blocks.
bool pureCall(Rule rule, int32_t index) {
    switch (rule) {
    case Rule::kCall1: return index >= kCall1Sin && index <= kCall1Bell && index != kCall1Rst;
    case Rule::kCall2: return index >= kCall2Divide && index <= kCall2Hue && index != kCall2Rnd && index != kCall2Put;
    case Rule::kCall3: return index >= kCall3Val && index <= kCall3Arad && index != kCall3Dst;
    default: return false;
    }
}

int childCount(const FastNode& n) {
    if (n.run == fast::convolution) return 10;
    if (n.run == fast::pointConvolution) return 12;
    int count = 0;
    for (int c = 0; c < 5; ++c)
        if (n.child[c] != nullptr) count = c + 1;
    return count;
}
const FastNode* childOf(const FastNode& n, int c) {
    return n.list != nullptr ? n.list[c] : n.child[c];
}

}  // namespace

class BlockCompiler {
public:
    BlockCompiler(BlockProgram& program, const FastProgram& fast, PixelContext& context, RenderState& state)
        : program_(program), fast_(fast), context_(context), frame_(context, state, fast),
          infos_(fast.nodes_.size()), made_(fast.nodes_.size(), -1) {
        // Room up front, so that how often a compile allocates does not depend on how many
        // nodes the image's constants let the compiled form share.
        program_.slots_.reserve(kMaxSlots);
        program_.ops_.reserve(kMaxSlots);
        program_.rowSlots_.reserve(kMaxSlots);
        program_.draws_.reserve(kMaxSlots);
        program_.orderedOps_.reserve(kMaxSlots);
        program_.cellIndexSlots_.reserve(kMaxSlots);
        program_.byteTables_.reserve(kMaxByteTables);
        for (const FastNode& node : fast.nodes_) cellsWritten_ = cellsWritten_ || writesCell(node);
    }

    // Run only for sources with at least one general channel.
    bool compile() {
        for (int z = 0; z < 4; ++z) {
            const FastProgram::Channel& channel = fast_.channels_[z];
            if (channel.kind != FastProgram::ChannelKind::kGeneral) continue;
            if (!classify(channel.root, 0).runs) return false;
            channel_ = z;
            const int32_t slot = emit(channel.root, 0);
            if (slot < 0) return false;
            program_.channelSlot_[z] = slot;
        }
        return true;
    }

private:
    using SlotKind = BlockProgram::SlotKind;
    static constexpr size_t kMaxSlots = 1024;
    static constexpr int kMaxDepth = 100;  // deeper sources render through the compiled form
    static constexpr int kMaxColumnTables = 32;

    struct Info {
        unsigned dependency = 0;  // kOnColumn | kOnRow, as the compiled form counts them
        bool draws = false;       // makes random draws in its subtree
        bool cells = false;       // reads or writes cells that the channel sources write
        bool runs = true;         // can be run in blocks
        bool seen = false;
        // The source byte offset that is all the subtree reads of the pixel and its position;
        // kNoByte: none, kManyBytes: more, or the position.
        int32_t byte = kNoByte;
    };
    static constexpr int32_t kNoByte = -1, kManyBytes = -2;
    static constexpr size_t kMaxByteTables = 16;
    static constexpr unsigned kOnColumn = 1, kOnRow = 2;

    static bool writesCell(const FastNode& node) { return node.run == fast::call2 && node.value == kCall2Put; }
    bool readsWrittenCell(const FastNode& node) const {
        return cellsWritten_ && (node.run == fast::cell || (node.run == fast::call1 && node.value == kCall1Get));
    }

    size_t indexOf(const FastNode* node) const { return static_cast<size_t>(node - fast_.nodes_.data()); }

    Info classify(const FastNode* node, int depth) {
        Info& known = infos_[indexOf(node)];
        if (known.seen) return known;
        Info info;
        const Shape s = shapes().find(node->run);
        if (depth > kMaxDepth) {
            info.runs = false;
        } else {
            const bool cellUse = readsWrittenCell(*node) || writesCell(*node);
            switch (cellUse ? Rule::kStrict : s.rule) {
            case Rule::kNever: info.runs = false; break;
            case Rule::kColumn: info.dependency = kOnColumn; break;
            case Rule::kRow: info.dependency = kOnRow; break;
            case Rule::kDraw:
                info.draws = node->extra != 0;
                if (info.draws) info.dependency = kOnColumn | kOnRow;
                break;
            case Rule::kCall1: case Rule::kCall2: case Rule::kCall3:
                info.runs = pureCall(s.rule, node->value);
                break;
            default: break;
            }
            if (s.positional) info.dependency = kOnColumn | kOnRow;
            if (node->run == fast::sourceByte)
                info.byte = node->value;
            else if (s.positional || s.rule == Rule::kColumn || s.rule == Rule::kRow || s.rule == Rule::kDraw)
                info.byte = kManyBytes;
            if (cellUse) {
                info.cells = true;
                info.dependency = kOnColumn | kOnRow;
            }
            const int count = childCount(*node);
            for (int c = 0; c < count && info.runs; ++c) {
                const FastNode* child = childOf(*node, c);
                if (child == nullptr) continue;
                const Info sub = classify(child, depth + 1);
                info.runs = info.runs && sub.runs;
                info.dependency |= sub.dependency;
                info.draws = info.draws || sub.draws;
                info.cells = info.cells || sub.cells;
                if (sub.byte != kNoByte)
                    info.byte = info.byte == kNoByte || info.byte == sub.byte ? sub.byte : kManyBytes;
                // Cells: the index must be known before any cell is read or written.
                if (cellUse && sub.cells && (writesCell(*node) ? c == 1 : c == 0)) info.runs = false;
                // Draws and cells are used in the order the compiled form uses them.
                if ((sub.draws || sub.cells) && !cellUse && s.rule != Rule::kStrict && s.rule != Rule::kSequence && s.rule != Rule::kMemo &&
                    s.rule != Rule::kCall1 && s.rule != Rule::kCall2 && s.rule != Rule::kCall3)
                    info.runs = false;
            }
        }
        info.seen = true;
        infos_[indexOf(node)] = info;
        return info;
    }

    // -1 when the program has all the slots it may have.
    int32_t newSlot(SlotKind kind) {
        if (program_.slots_.size() == kMaxSlots) return -1;
        BlockProgram::Slot slot;
        slot.kind = kind;
        slot.channel = channel_;
        program_.slots_.push_back(std::move(slot));
        return static_cast<int32_t>(program_.slots_.size() - 1);
    }
    // Equal constants are not merged: how much a render allocates must not depend on the values
    // the image gives its constants.
    int32_t constantSlot(int32_t value) {
        const int32_t slot = newSlot(SlotKind::kConstant);
        if (slot >= 0) {
            program_.slots_[slot].value = value;
            setBounds(slot, {value, value});
        }
        return slot;
    }
    // A value the compiled form computes once for the whole render.
    int32_t evaluate(const FastNode* node) {
        context_.channel = channel_;
        context_.x = 0;
        context_.y = 0;
        frame_.pixel = context_.sourcePixels;
        ++frame_.pixelSerial;
        return runNode(*node, frame_);
    }
    int32_t columnSlot(const FastNode* node) {
        const int32_t slot = newSlot(SlotKind::kColumn);
        if (slot < 0) return -1;
        std::vector<int32_t>& column = program_.slots_[slot].column;
        column.resize(static_cast<size_t>(context_.width));
        context_.channel = channel_;
        context_.y = 0;
        for (int32_t x = 0; x < context_.width; ++x) {
            context_.x = x;
            frame_.pixel = context_.sourcePixels + 4 * static_cast<size_t>(x);
            ++frame_.pixelSerial;
            column[static_cast<size_t>(x)] = runNode(*node, frame_);
        }
        const auto [low, high] = std::minmax_element(column.begin(), column.end());
        setBounds(slot, {*low, *high});
        ++columnTables_;
        return slot;
    }

    int32_t emit(const FastNode* node, int depth) {
        if (depth > kMaxDepth) return -1;
        const Info info = classify(node, depth);
        // A node that draws or uses the cells is done again wherever the compiled form runs it.
        const bool shared = !info.draws && !info.cells;
        if (shared && made_[indexOf(node)] >= 0) return made_[indexOf(node)];
        const int32_t slot = emitNew(node, info, depth);
        if (shared) made_[indexOf(node)] = slot;
        return slot;
    }

    int32_t emitNew(const FastNode* node, const Info& info, int depth) {
        const Shape s = shapes().find(node->run);
        if (s.rule == Rule::kConstant) return constantSlot(node->value);
        if (readsWrittenCell(*node)) {
            const int32_t index = emit(node->child[0], depth + 1);
            if (index < 0) return -1;
            return cellOp(BlockCode::kCellRead, node, {index, 0}, index);
        }
        if (writesCell(*node)) {
            const int32_t index = emit(node->child[1], depth + 1);
            const int32_t value = index < 0 ? -1 : emit(node->child[0], depth + 1);
            if (value < 0) return -1;
            return cellOp(BlockCode::kCellWrite, node, {value, index}, index);
        }
        if (!info.draws && !info.cells) {
            if (info.dependency == 0) return constantSlot(evaluate(node));
            if (info.dependency == kOnRow) {
                const int32_t slot = newSlot(SlotKind::kRow);
                if (slot < 0) return -1;
                program_.slots_[slot].node = node;
                program_.rowSlots_.push_back(slot);
                return slot;
            }
            if (info.dependency == kOnColumn && columnTables_ < kMaxColumnTables && s.rule != Rule::kColumn)
                return columnSlot(node);
            if (info.byte >= 0 && !info.cells && node->run != fast::sourceByte &&
                program_.byteTables_.size() < kMaxByteTables)
                return byteTable(node, info.byte);
        }
        switch (s.rule) {
        case Rule::kMemo: return emit(node->child[0], depth + 1);
        case Rule::kSequence: {
            // The left side only for what it draws or does to the cells.
            const Info left = classify(node->child[0], depth + 1);
            if ((left.draws || left.cells) && emit(node->child[0], depth + 1) < 0) return -1;
            return emit(node->child[1], depth + 1);
        }
        case Rule::kDraw: {
            if (node->extra == 0) return constantSlot(0);  // rnd over no numbers draws nothing
            const int32_t slot = newSlot(SlotKind::kComputed);
            if (slot < 0) return -1;
            program_.draws_.emplace_back(node->value, node->extra, slot);
            return slot;
        }
        case Rule::kColumn: {
            if (columnTables_ < kMaxColumnTables) return columnSlot(node);
            return op(BlockCode::kColumnIndex, node, {}, 0);
        }
        case Rule::kEscape: return op(BlockCode::kEscape, node, {}, 0);
        default: break;
        }
        if (s.rule == Rule::kCall2 && node->value == kCall2Tex) {
            const int32_t texture = separableTexture(node);
            if (texture >= 0) return texture;
        }
        const bool remainder = node->run == fast::division(true, true);
        if ((remainder || node->run == fast::division(false, true)) && node->value > 0 &&
            std::has_single_bit(static_cast<uint32_t>(node->value))) {
            const int32_t dividend = emit(node->child[0], depth + 1);
            if (dividend < 0) return -1;
            return op(remainder ? BlockCode::kRemainderByPowerOfTwo : BlockCode::kDivideByPowerOfTwo, node, {dividend},
                      std::countr_zero(static_cast<uint32_t>(node->value)), info.cells);
        }
        int32_t childSlot[5] = {-1, -1, -1, -1, -1};
        for (int k = 0; k < s.orderCount; ++k) {
            const int c = s.order[k];
            childSlot[c] = emit(node->child[c], depth + 1);
            if (childSlot[c] < 0) return -1;
        }
        int32_t inputs[5] = {};
        for (int k = 0; k < s.inputCount; ++k) {
            inputs[k] = s.inputs[k] == kNodeValue ? constantSlot(node->value) : childSlot[s.inputs[k]];
            if (inputs[k] < 0) return -1;
        }
        const BlockCode code = s.rule == Rule::kCall3 && node->value == kCall3Rad ? BlockCode::kRadius : s.code;
        return op(code, node, inputs, s.fixedValue ? s.value : node->value, info.cells);
    }

    int32_t cellOp(BlockCode code, const FastNode* node, std::initializer_list<int32_t> inputs, int32_t index) {
        const int32_t slot = op(code, node, inputs, 0, true);
        const auto& indexes = program_.cellIndexSlots_;
        if (slot >= 0 && std::find(indexes.begin(), indexes.end(), index) == indexes.end())
            program_.cellIndexSlots_.push_back(index);
        return slot;
    }

    int32_t op(BlockCode code, const FastNode* node, std::initializer_list<int32_t> inputs, int32_t value,
               bool ordered = false) {
        int32_t in[5] = {};
        int k = 0;
        for (int32_t i : inputs) in[k++] = i;
        return op(code, node, in, value, ordered);
    }
    // ordered: depends on the cells, so run after the other operations of the block, in order.
    int32_t op(BlockCode code, const FastNode* node, const int32_t (&inputs)[5], int32_t value, bool ordered) {
        BlockOp o;
        o.code = code == BlockCode::kDivide && exactInFloats(boundsOf(inputs[0])) && exactInFloats(boundsOf(inputs[1]))
                     ? BlockCode::kDivideInFloats
                     : code;
        o.out = newSlot(SlotKind::kComputed);
        if (o.out < 0) return -1;
        for (int k = 0; k < 5; ++k) o.in[k] = inputs[k];
        o.value = value;
        o.channel = channel_;
        o.node = node;
        const Bounds operand = boundsOf(o.in[0]);
        o.operandInTable = operand.low >= 0 && operand.high <= tableSize(code);
        setBounds(o.out, boundsOf(o));
        (ordered ? program_.orderedOps_ : program_.ops_).push_back(o);
        return o.out;
    }

    // What values a slot may take: a table index known to lie in its table needs no folding.
    struct Bounds {
        int64_t low = INT32_MIN;
        int64_t high = INT32_MAX;
    };
    static bool exactInFloats(const Bounds& b) { return b.low > -(int64_t{1} << 24) && b.high < (int64_t{1} << 24); }
    static Bounds fit(int64_t low, int64_t high) {
        if (low < INT32_MIN || high > INT32_MAX) return {};
        return {low, high};
    }
    Bounds boundsOf(int32_t slot) const {
        const BlockProgram::Slot& s = program_.slots_[static_cast<size_t>(slot)];
        return {s.low, s.high};
    }
    void setBounds(int32_t slot, const Bounds& b) {
        program_.slots_[static_cast<size_t>(slot)].low = static_cast<int32_t>(b.low);
        program_.slots_[static_cast<size_t>(slot)].high = static_cast<int32_t>(b.high);
    }
    // The largest index the operation's table takes; -1: it has none.
    static int64_t tableSize(BlockCode code) {
        switch (code) {
        case BlockCode::kSine: case BlockCode::kCosine: case BlockCode::kTangent: case BlockCode::kTriangle:
            return kTrigPeriod - 1;
        case BlockCode::kGradientEntry: return kGradientEntries - 1;
        case BlockCode::kGammaEntry: return 255;
        default: return -1;
        }
    }
    // The magnitude is largest at a corner; beyond 32768 a side its square would wrap.
    Bounds magnitudeBounds() const {
        if (context_.width > 32768 || context_.height > 32768) return {};
        int32_t largest = 0;
        for (int32_t x : {0, context_.maxX})
            for (int32_t y : {0, context_.maxY})
                largest = std::max(largest, magnitudeOf(x - context_.centerX, y - context_.centerY));
        return {0, largest};
    }
    // Nine bytes times the weights, divided as cnv divides; no bounds where the sum may wrap.
    static Bounds convolutionBounds(const int32_t* w) {
        int64_t low = 0, high = 0;
        for (int k = 0; k < 9; ++k) (w[k] < 0 ? low : high) += int64_t{w[k]} * 255;
        const int64_t divisor = w[9];
        if (divisor == 0) return {255, 255};
        if (low < INT32_MIN || high > INT32_MAX) return {};
        return divisor > 0 ? Bounds{low / divisor, high / divisor} : fit(high / divisor, low / divisor);
    }
    Bounds boundsOf(const BlockOp& o) const {
        const Bounds a = boundsOf(o.in[0]), b = boundsOf(o.in[1]), c = boundsOf(o.in[2]);
        switch (o.code) {
        case BlockCode::kColumnIndex: return {0, context_.maxX};
        case BlockCode::kSource: case BlockCode::kSourceClamped: case BlockCode::kSourceInside:
        case BlockCode::kRadius: case BlockCode::kGradientEntry:
            return {0, 255};
        case BlockCode::kIntensity: return {0, 254};
        case BlockCode::kConvolutionFixed: return convolutionBounds(o.node->weights);
        case BlockCode::kDirection: return {-512, 512};
        case BlockCode::kMagnitude: return magnitudeBounds();
        case BlockCode::kAdd: return fit(a.low + b.low, a.high + b.high);
        case BlockCode::kSubtract: return fit(a.low - b.high, a.high - b.low);
        case BlockCode::kMultiply: {
            const int64_t corners[] = {a.low * b.low, a.low * b.high, a.high * b.low, a.high * b.high};
            const auto [low, high] = std::minmax_element(std::begin(corners), std::end(corners));
            return fit(*low, *high);
        }
        case BlockCode::kDivideByPowerOfTwo: return {a.low / (int64_t{1} << o.value), a.high / (int64_t{1} << o.value)};
        case BlockCode::kDivideInFloats: {  // a quotient is never larger than its dividend
            const int64_t largest = std::max(-a.low, a.high);
            return {-largest, largest};
        }
        case BlockCode::kMinimum: return {std::min(a.low, b.low), std::min(a.high, b.high)};
        case BlockCode::kMaximum: return {std::max(a.low, b.low), std::max(a.high, b.high)};
        case BlockCode::kConditional: return {std::min(b.low, c.low), std::max(b.high, c.high)};
        case BlockCode::kEqual: case BlockCode::kNotEqual: case BlockCode::kLess: case BlockCode::kGreater:
        case BlockCode::kLessEqual: case BlockCode::kGreaterEqual: case BlockCode::kLogicalAnd:
        case BlockCode::kLogicalOr: case BlockCode::kLogicalNot:
            return {0, 1};
        default: return {};
        }
    }

    // A value that only one byte of the pixel decides: computed for each of the 256 bytes.
    int32_t byteTable(const FastNode* node, int32_t offset) {
        std::array<int32_t, 256>& table = program_.byteTables_.emplace_back();
        context_.channel = channel_;
        context_.x = 0;
        context_.y = 0;
        for (int v = 0; v < 256; ++v) {
            const uint8_t pixel[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v), static_cast<uint8_t>(v),
                                      static_cast<uint8_t>(v)};
            frame_.pixel = pixel;
            ++frame_.pixelSerial;
            table[static_cast<size_t>(v)] = runNode(*node, frame_);
        }
        frame_.pixel = nullptr;
        const int32_t slot = op(BlockCode::kByteTable, node, {}, offset);
        if (slot >= 0) {
            program_.ops_.back().table = table.data();
            const auto [low, high] = std::minmax_element(table.begin(), table.end());
            setBounds(slot, {*low, *high});
        }
        return slot;
    }

    // tex(x, y) over the pixel's own position: one half per column, made here, and one per row.
    int32_t separableTexture(const FastNode* node) {
        const TextureGenerator& t = frame_.evaluation.state.texture;
        if (node->child[0]->run != fast::column || node->child[1]->run != fast::row) return -1;
        if (!t.present || t.sourceWidth == 0 || t.sourceHeight == 0 || program_.texture_) return -1;
        auto texture = std::make_unique<ColumnTexture>();
        texture->octaves = t.octaves;
        texture->columns.resize(static_cast<size_t>(context_.width) * static_cast<size_t>(t.octaves));
        for (int32_t x = 0; x < context_.width; ++x) {
            double fx = t.gridSize * (static_cast<double>(x) / t.sourceWidth);
            for (int32_t o = 0; o < t.octaves; ++o) {
                texture->columns[static_cast<size_t>(x) * static_cast<size_t>(t.octaves) + static_cast<size_t>(o)] =
                    textureStep(fx, t.gridSize);
                fx *= 2.0;
            }
        }
        program_.texture_ = std::move(texture);
        return op(BlockCode::kTexture, node, {}, 0);
    }

    BlockProgram& program_;
    const FastProgram& fast_;
    PixelContext& context_;
    FastFrame frame_;
    int channel_ = 0;
    int columnTables_ = 0;
    bool cellsWritten_ = false;  // some channel source may put
    std::vector<Info> infos_;     // by node index
    std::vector<int32_t> made_;   // the slot of a node without draws, by node index; -1: none yet
};

BlockProgram::BlockProgram(const FastProgram& fast, PixelContext& context, RenderState& state, bool wanted)
    : fast_(fast) {
    // Sources that are all constants or source bytes have nothing to run in blocks; the
    // compiler's room for a thousand operations is not worth making for them.
    if (!wanted || !fast.computesAnyChannel()) return;
    const PixelContext saved = context;
    usable_ = BlockCompiler(*this, fast, context, state).compile();
    context = saved;  // the values computed here moved the context's pixel
    slotCount_ = static_cast<int32_t>(slots_.size());
    cellIndexesByColumn_ = std::all_of(cellIndexSlots_.begin(), cellIndexSlots_.end(),
                                       [this](int32_t s) { return slots_[static_cast<size_t>(s)].kind == SlotKind::kColumn; });
}

BlockProgram::~BlockProgram() = default;

}  // namespace lumen::formula
