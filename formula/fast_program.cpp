#include "formula/fast_program.h"

#include <cstring>
#include <initializer_list>
#include <algorithm>
#include <iterator>

#include "formula/fast_nodes.h"
#include "formula/int_math.h"
#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

// What a compiled subtree's value depends on besides constants of the render.
enum Dependency : unsigned { kOnColumn = 1, kOnRow = 2, kImpure = 4 };

// Nodes that change what later pixels see: settings, cells, the texture or the random seed
// (`case` labels are judged apart), or that read the destination being written.
bool changesLaterPixels(const FormulaNode& node) {
    switch (node.kind) {
    case kStorage: case kSrcmode: case kGamma: case kGradient: case kBmapsize: case kTexture:
        return true;
    case kCall1: return node.value == kCall1Rst;
    case kCall2: return node.value == kCall2Rnd || node.value == kCall2Put;
    case kCall3: return node.value == kCall3Dst;
    default: return false;
    }
}

template <class Test>
bool anyNode(const FilterProgram& program, Test test) {
    for (int i = 1; i < kSourceCount; ++i) {
        if (program.roots[i] == nullptr) continue;
        std::vector<const FormulaNode*> pending{program.roots[i].get()};
        while (!pending.empty()) {
            const FormulaNode* node = pending.back();
            pending.pop_back();
            if (test(*node)) return true;
            for (int32_t c = 0; c < node->childCount; ++c)
                if (node->children[c] != nullptr) pending.push_back(node->children[c]);
        }
    }
    return false;
}

bool containsCase(const FormulaNode* root) {
    std::vector<const FormulaNode*> pending{root};
    while (!pending.empty()) {
        const FormulaNode* node = pending.back();
        pending.pop_back();
        if (node->kind == kCase) return true;
        for (int32_t c = 0; c < node->childCount; ++c)
            if (node->children[c] != nullptr) pending.push_back(node->children[c]);
    }
    return false;
}

// The entries of a case list in source order.
void caseEntries(const FormulaNode* list, std::vector<const FormulaNode*>& entries) {
    if (list->kind == kCaseEntry) {
        entries.push_back(list);
    } else if (list->kind == kCaseList && list->childCount >= 2 && list->children[0] && list->children[1]) {
        caseEntries(list->children[0], entries);
        caseEntries(list->children[1], entries);
    } else {
        entries.push_back(nullptr);  // not a list the compiler understands
    }
}

}  // namespace

// Builds the nodes of one render's program. Children are recorded by index while the node
// vector still grows, and turned into pointers once it is complete.
class FastCompiler {
public:
    // treeNodes: the nodes of the four channel trees. Room is made for all a compile can
    // make of them at once, so that how many allocations a compile makes does not depend on
    // the values of the image's constants.
    FastCompiler(FastProgram& program, PixelContext& context, RenderState& state, size_t treeNodes)
        : program_(program), context_(context), reference_{context, state} {
        pending_.reserve(2 * treeNodes + 16);
        listIndexes_.reserve(treeNodes);
        program_.weights_.reserve(treeNodes);
        size_t slots = 64;
        while (slots < 4 * treeNodes + 32) slots *= 2;
        madeSlots_.assign(slots, 0);
    }

    void compileChannel(int z, const FormulaNode* root) {
        context_.channel = z;
        channel_ = z;
        Built built = compile(root);
        FastProgram::Channel& channel = program_.channels_[z];
        if (built.isConstant) {
            channel.kind = FastProgram::ChannelKind::kConstant;
            channel.value = clampInt(built.value, 0, 255);
        } else if (pending_[built.index].run == fast::sourceByte) {
            channel.kind = FastProgram::ChannelKind::kSourceByte;
            channel.value = pending_[built.index].value;
        } else {
            channel.kind = FastProgram::ChannelKind::kGeneral;
            rootIndex_[z] = built.index;
            ++pending_[built.index].uses;
        }
    }

    // A subtree reached from several places, worth more than a lookup and free of effects, is
    // computed once per pixel: the nodes that reach it go through a memo node instead.
    void link() {
        const size_t count = pending_.size();
        std::vector<int32_t> target(count);
        int32_t memos = 0;
        for (size_t i = 0; i < count; ++i) {
            const Pending& p = pending_[i];
            const bool memoise = p.uses >= 2 && p.cost >= kMemoCost && (p.dependency & kImpure) == 0 &&
                                 (p.dependency & (kOnColumn | kOnRow)) != 0;
            target[i] = memoise ? static_cast<int32_t>(count) + memos++ : static_cast<int32_t>(i);
        }
        program_.memoSlots_ = memos;
        program_.nodes_.resize(count + static_cast<size_t>(memos));
        auto at = [&](int32_t index) { return &program_.nodes_[target[index]]; };
        program_.lists_.reserve(listIndexes_.size());
        for (int32_t index : listIndexes_) program_.lists_.push_back(at(index));
        for (size_t i = 0; i < count; ++i) {
            const Pending& p = pending_[i];
            FastNode& node = program_.nodes_[i];
            node.run = p.run;
            node.value = p.value;
            node.extra = p.extra;
            for (int c = 0; c < 5; ++c)
                if (p.child[c] >= 0) node.child[c] = at(p.child[c]);
            if (p.listFirst >= 0) node.list = &program_.lists_[p.listFirst];
            if (p.weightsFirst >= 0) node.weights = &program_.weights_[p.weightsFirst];
            if (target[i] != static_cast<int32_t>(i)) {
                FastNode& memo = program_.nodes_[target[i]];
                memo.run = fast::memoised;
                memo.value = target[i] - static_cast<int32_t>(count);
                memo.child[0] = &node;
            }
        }
        for (int z = 0; z < 4; ++z)
            if (program_.channels_[z].kind == FastProgram::ChannelKind::kGeneral)
                program_.channels_[z].root = at(rootIndex_[z]);
    }

    bool frozen = false;  // no channel source can change the settings, cells or state
    // Every `case` picks one of its own labels by a constant: the label map is then never read
    // back and needs no writes. Cleared by the compile when a case breaks the rule.
    bool casesSelfContained = true;

private:
    struct Built {
        bool isConstant = false;
        int32_t value = 0;
        int32_t index = -1;
        unsigned dependency = 0;
    };
    struct Pending {
        FastFunction run = nullptr;
        int32_t value = 0;
        int32_t extra = 0;
        int32_t child[5] = {-1, -1, -1, -1, -1};
        int32_t listFirst = -1;
        int32_t weightsFirst = -1;
        unsigned dependency = 0;
        int32_t cost = 1;  // roughly, in node evaluations
        int32_t uses = 0;  // parents and channels reaching the node
    };
    static constexpr int32_t kMemoCost = 4;
    static constexpr int32_t kCostlyLeaf = 12;  // a square root or an arc tangent

    static Built constant(int32_t value) { return {true, value, -1, 0}; }

    static bool sameNode(const Pending& a, const Pending& b) {
        return a.run == b.run && a.value == b.value && a.extra == b.extra &&
               std::equal(std::begin(a.child), std::end(a.child), std::begin(b.child));
    }
    static size_t hashOf(const Pending& p) {
        uint64_t h = reinterpret_cast<uintptr_t>(p.run);
        for (int32_t v : {p.value, p.extra, p.child[0], p.child[1], p.child[2], p.child[3], p.child[4]})
            h = (h ^ static_cast<uint32_t>(v)) * 0x100000001B3ull;
        return static_cast<size_t>(h ^ (h >> 29));
    }
    // The slot of an equal node, or the empty slot where it would go (open addressing).
    size_t slotOf(const Pending& p) const {
        const size_t mask = madeSlots_.size() - 1;
        size_t slot = hashOf(p) & mask;
        while (madeSlots_[slot] != 0 && !sameNode(pending_[madeSlots_[slot] - 1], p)) slot = (slot + 1) & mask;
        return slot;
    }
    void growTable(size_t slots) {
        madeSlots_.assign(slots, 0);
        for (size_t i = 0; i < pending_.size(); ++i)
            if (pending_[i].listFirst < 0 && pending_[i].weightsFirst < 0) madeSlots_[slotOf(pending_[i])] = static_cast<int32_t>(i + 1);
    }

    // Equal nodes over equal children are made once: the four channel sources often share
    // whole subtrees.
    int32_t add(Pending pending) {
        const bool shareable = pending.listFirst < 0 && pending.weightsFirst < 0;
        if (shareable) {
            if (2 * (pending_.size() + 1) > madeSlots_.size()) growTable(std::max<size_t>(64, 4 * madeSlots_.size()));
            const int32_t found = madeSlots_[slotOf(pending)];
            if (found != 0) return found - 1;
        }
        for (int32_t c : pending.child) {
            if (c < 0) continue;
            ++pending_[c].uses;
            pending.cost += pending_[c].cost;
        }
        pending_.push_back(pending);
        const auto index = static_cast<int32_t>(pending_.size() - 1);
        if (shareable) madeSlots_[slotOf(pending)] = index + 1;
        return index;
    }
    int32_t indexOf(const Built& built) {
        if (built.index >= 0) return built.index;
        Pending p;
        p.run = fast::constant;
        p.value = built.value;
        return add(p);
    }
    Built leaf(FastFunction run, unsigned dependency, int32_t value = 0, int32_t cost = 1) {
        Pending p;
        p.run = run;
        p.value = value;
        p.dependency = dependency;
        p.cost = cost;
        return {false, 0, add(p), dependency};
    }
    // A node over compiled children; `own` is what the node itself depends on.
    Built node(FastFunction run, std::initializer_list<Built> children, unsigned own, int32_t value = 0,
               int32_t extra = 0, int32_t cost = 1) {
        Pending p;
        p.cost = cost;
        p.run = run;
        p.value = value;
        p.extra = extra;
        p.dependency = own;
        int c = 0;
        for (const Built& child : children) {
            p.child[c++] = indexOf(child);
            p.dependency |= child.dependency;
        }
        return {false, 0, add(p), p.dependency};
    }

    static bool whole(const FormulaNode* n, int32_t need) {
        if (n->childCount < need) return false;
        for (int32_t i = 0; i < need; ++i)
            if (n->children[i] == nullptr) return false;
        return true;
    }

    Built compile(const FormulaNode* n);
    [[gnu::noinline]] Built combine(const FormulaNode* n, const Built (&k)[5]);
    Built compileLeaf(const FormulaNode* n);
    Built compileBinary(const FormulaNode* n, const Built& l, const Built& r);
    Built compileCall1(const FormulaNode* n, const Built& a);
    Built compileCall2(const FormulaNode* n, const Built& a, const Built& b);
    Built compileCall3(const FormulaNode* n, const Built& a, const Built& b, const Built& c);
    [[gnu::noinline]] Built compileConvolution(const FormulaNode* n, int first, int count, FastFunction run, unsigned own,
                             int32_t extra);
    Built colour(int32_t z);
    [[gnu::noinline]] Built compileSelfContainedCase(const FormulaNode* n);
    unsigned readsSettings() const { return frozen ? 0u : unsigned{kImpure}; }
    bool sourceModeFixed(int mode) const { return frozen && context_.sourceMode == mode; }
    // A channel number the image has, as the built-ins test it.
    bool channelExists(const Built& b) const {
        return b.isConstant && b.value >= 0 && b.value < context_.channelCount && b.value < 4;
    }

    FastProgram& program_;
    PixelContext& context_;
    Evaluation reference_;
    int channel_ = 0;
    std::vector<Pending> pending_;
    std::vector<int32_t> listIndexes_;
    std::vector<int32_t> madeSlots_;  // index + 1 of a shareable node; 0: empty
    int32_t rootIndex_[4] = {};
};

FastCompiler::Built FastCompiler::colour(int32_t z) {
    if (z < 0 || z >= context_.channelCount || z > 3) return constant(255);
    return leaf(fast::sourceByte, kOnColumn | kOnRow, context_.channelMap[z]);
}

FastCompiler::Built FastCompiler::compileLeaf(const FormulaNode* n) {
    const PixelContext& c = context_;
    switch (n->kind) {
    case kNumber: return constant(n->value);
    case 'r': return colour(0);
    case 'g': return colour(1);
    case 'b': return colour(2);
    case 'a': return colour(3);
    case 'c': return colour(channel_);
    case 'i': return leaf(fast::intensity, kOnColumn | kOnRow);
    case 'u': return leaf(fast::chromaU, kOnColumn | kOnRow);
    case 'v': return leaf(fast::chromaV, kOnColumn | kOnRow);
    case 'd': return leaf(fast::direction, kOnColumn | kOnRow, 0, kCostlyLeaf);
    case 'm': return leaf(fast::magnitude, kOnColumn | kOnRow, 0, kCostlyLeaf);
    case 'x': return leaf(fast::column, kOnColumn);
    case 'y': return leaf(fast::row, kOnRow);
    // Nothing writes these while the pixels are computed.
    case 'z': return constant(channel_);
    case 'X': return constant(c.width);
    case 'Y': return constant(c.height);
    case 'Z': return constant(c.channelCount);
    case 'D': return constant(c.maxDirection);
    case 'M': return constant(c.maxMagnitude);
    case 't': return constant(c.tValue);
    case kTotal: return constant(c.totalValue);
    default: return leaf(fast::unknownKind, kImpure, n->kind);
    }
}

namespace {

// Children a node kind needs; -1 for kinds without a rule here (leaves, unknown kinds).
int childrenNeeded(int32_t kind) {
    switch (kind) {
    case '+': case '-': case '*': case kBitAnd: case kBitOr: case kBitXor: case kEqual: case kNotEqual:
    case kLess: case kGreater: case kLessEqual: case kGreaterEqual: case kShiftLeft: case kShiftRight:
    case kPower: case kLogicalAnd: case kLogicalOr: case kSequence: case kCase: case kCaseList: case kCall2:
    case kDif: case kBmapsize:
        return 2;
    case kNegate: case kBitNot: case kLogicalNot: case kUnaryPlus: case kCaseEntry: case kCall1: case kGradient:
    case kSrcmode: case kStorage:
        return 1;
    case kConditional: case kCall3: case kAdd: case kSub: case kNbd: case kBmap: case kGamma: return 3;
    case kMix: return 4;
    case kScl: case kTexture: return 5;
    case kCnv: case kIcnv: return 10;
    case kXycnv: return 12;
    default: return -1;
    }
}

}  // namespace

// Recursion runs through here once per tree level, so its frame is kept small: the node is made
// in combine, after the children.
FastCompiler::Built FastCompiler::compile(const FormulaNode* n) {
    const int need = childrenNeeded(n->kind);
    if (need < 0) return compileLeaf(n);
    if (!whole(n, need)) return leaf(fast::unknownKind, kImpure, n->kind);
    switch (n->kind) {
    case kCase:
        if (casesSelfContained) return compileSelfContainedCase(n);
        break;
    case kCnv: case kIcnv:
        return compileConvolution(n, 0, 10, fast::convolution,
                                  kOnColumn | kOnRow | (n->kind == kCnv ? readsSettings() : 0), n->kind == kIcnv ? 1 : 0);
    case kXycnv: return compileConvolution(n, 0, 12, fast::pointConvolution, readsSettings(), 0);
    default: break;
    }
    Built k[5];
    for (int i = need - 1; i >= 0; --i) k[i] = compile(n->children[i]);
    const Built built = combine(n, k);
    if (built.dependency != 0 || built.isConstant) return built;
    // Depends on nothing that changes from pixel to pixel: the tree walker's value, once. The
    // nodes just made stay unused.
    return constant(reference_.eval(n));
}

FastCompiler::Built FastCompiler::combine(const FormulaNode* n, const Built (&k)[5]) {
    switch (n->kind) {
    case kUnaryPlus: return k[0];
    case kNegate: return node(fast::negate, {k[0]}, 0);
    case kBitNot: return node(fast::bitNot, {k[0]}, 0);
    case kLogicalNot: return node(fast::logicalNot, {k[0]}, 0);
    case kConditional:
        if (k[0].isConstant) return k[0].value != 0 ? k[1] : k[2];
        return node(fast::conditional, {k[0], k[1], k[2]}, 0);
    case kCase: return node(fast::caseOf, {k[0], k[1]}, kImpure);
    case kCaseList: return node(fast::caseList, {k[0], k[1]}, kImpure);
    case kCaseEntry: return node(fast::caseEntry, {k[0]}, kImpure, n->value);
    case kCall1: return compileCall1(n, k[0]);
    case kCall2: return compileCall2(n, k[0], k[1]);
    case kCall3: return compileCall3(n, k[0], k[1], k[2]);
    case kDif: return node(fast::difference, {k[0], k[1]}, 0);
    case kAdd: return node(fast::addLimited, {k[0], k[1], k[2]}, 0);
    case kSub: return node(fast::subtractLimited, {k[0], k[1], k[2]}, 0);
    case kMix: return node(fast::mix, {k[0], k[1], k[2], k[3]}, 0);
    case kScl: return node(fast::scale, {k[0], k[1], k[2], k[3], k[4]}, 0);
    case kNbd: return node(fast::borderRegion, {k[0], k[1], k[2]}, 0);
    case kBmap: return node(fast::mapImage, {k[0], k[1], k[2]}, readsSettings());
    case kGamma: return node(fast::gamma, {k[0], k[1], k[2]}, kImpure);
    case kBmapsize: return node(fast::mapSize, {k[0], k[1]}, kImpure);
    case kGradient: return node(fast::selectGradient, {k[0]}, kImpure);
    case kSrcmode: return node(fast::sourceMode, {k[0]}, kImpure);
    case kStorage: return node(fast::storage, {k[0]}, kImpure);
    case kTexture: return node(fast::texture, {k[0], k[1], k[2], k[3], k[4]}, kImpure);
    default: return compileBinary(n, k[0], k[1]);
    }
}

// The value of the last entry under the selector's label; the other entries only for their
// effects, in order. Only when no other case can store between that entry and the read.
FastCompiler::Built FastCompiler::compileSelfContainedCase(const FormulaNode* n) {
    Built selector = compile(n->children[0]);
    std::vector<const FormulaNode*> entries;
    caseEntries(n->children[1], entries);
    int chosen = -1;
    for (size_t e = 0; e < entries.size(); ++e) {
        if (entries[e] == nullptr || !whole(entries[e], 1)) {
            chosen = -1;
            break;
        }
        if (selector.isConstant && entries[e]->value == selector.value) chosen = static_cast<int>(e);
    }
    // Another case evaluated between the chosen store and the read could store the same label.
    bool laterStores = chosen < 0 || containsCase(n->children[0]);
    for (size_t e = static_cast<size_t>(chosen + 1); !laterStores && e < entries.size(); ++e)
        laterStores = containsCase(entries[e]);
    if (laterStores) {
        casesSelfContained = false;
        // The compile starts again with label map writes; until then nothing above may fold.
        return leaf(fast::unknownKind, kImpure, n->kind);
    }
    std::vector<Built> run;
    size_t chosenAt = 0;
    for (size_t e = 0; e < entries.size(); ++e) {
        Built value = compile(entries[e]->children[0]);
        if (static_cast<int>(e) == chosen) {
            chosenAt = run.size();
            run.push_back(value);
        } else if (value.dependency & kImpure) {
            run.push_back(value);
        }
    }
    if (run.size() == 1) return run[0];
    Pending p;
    p.run = fast::effectsThenOne;
    p.value = static_cast<int32_t>(chosenAt);
    p.extra = static_cast<int32_t>(run.size());
    p.listFirst = static_cast<int32_t>(listIndexes_.size());
    for (const Built& b : run) {
        const int32_t index = indexOf(b);
        ++pending_[index].uses;
        listIndexes_.push_back(index);
        p.dependency |= b.dependency;
    }
    return {false, 0, add(p), p.dependency};
}

FastCompiler::Built FastCompiler::compileBinary(const FormulaNode* n, const Built& l, const Built& r) {
    switch (n->kind) {
    case kPower: return node(fast::power, {l, r}, 0);
    case kLogicalAnd:
        if (l.isConstant && l.value == 0) return constant(0);
        return node(fast::logicalAnd, {l, r}, 0);
    case kLogicalOr:
        if (l.isConstant && l.value != 0) return constant(1);
        return node(fast::logicalOr, {l, r}, 0);
    case kSequence:
        // A left side without effects only wastes time.
        if ((l.dependency & kImpure) == 0) return r;
        return node(fast::sequence, {l, r}, 0);
    default: break;
    }
    using fast::Operands;
    if (r.isConstant && !l.isConstant) return node(fast::arithmetic(n->kind, Operands::kConstantRight), {l}, 0, r.value);
    if (l.isConstant && !r.isConstant) {
        Pending p;
        p.run = fast::arithmetic(n->kind, Operands::kConstantLeft);
        p.value = l.value;
        p.child[1] = indexOf(r);
        p.dependency = r.dependency;
        return {false, 0, add(p), p.dependency};
    }
    return node(fast::arithmetic(n->kind, Operands::kBoth), {l, r}, 0);
}

FastCompiler::Built FastCompiler::compileCall1(const FormulaNode* n, const Built& a) {
    switch (n->value) {
    case kCall1Sin: return node(fast::sine, {a}, 0);
    case kCall1Cos: return node(fast::cosine, {a}, 0);
    case kCall1Tan: return node(fast::tangent, {a}, 0);
    case kCall1Tri: return node(fast::triangle, {a}, 0);
    case kCall1Ctl: return node(fast::control, {a}, 0);
    case kCall1Get: return node(fast::cell, {a}, readsSettings());
    case kCall1Abs: return node(fast::absolute, {a}, 0);
    case kCall1Rst: return node(fast::call1, {a}, kImpure, n->value);
    case kCall1Sgn: case kCall1Sqr: case kCall1Frg: case kCall1Bkg: case kCall1Hmin: case kCall1Hmax:
    case kCall1Bell:
        return node(fast::call1, {a}, 0, n->value);
    default: return node(fast::call1, {a}, kImpure, n->value);  // an index the table lacks
    }
}

FastCompiler::Built FastCompiler::compileCall2(const FormulaNode* n, const Built& a, const Built& b) {
    switch (n->value) {
    case kCall2Divide: case kCall2Remainder: {
        const bool remainder = n->value == kCall2Remainder;
        if (b.isConstant && b.value != 0 && b.value != -1 && !a.isConstant)
            return node(fast::division(remainder, true), {a}, 0, b.value);
        return node(fast::division(remainder, false), {a, b}, 0);
    }
    case kCall2Min: return node(fast::minimum, {a, b}, 0);
    case kCall2Max: return node(fast::maximum, {a, b}, 0);
    case kCall2Grad:
        if (frozen && context_.currentGradient != nullptr && channelExists(b))
            return node(fast::gradientEntry, {a}, 0, b.value);
        return node(fast::call2, {a, b}, readsSettings(), n->value);
    case kCall2Gam:
        if (frozen && b.isConstant && b.value >= 0 && b.value < 3) return node(fast::gammaEntry, {a}, 0, b.value);
        return node(fast::call2, {a, b}, readsSettings(), n->value);
    case kCall2Tex: return node(fast::call2, {a, b}, readsSettings(), n->value, 0, kCostlyLeaf);
    case kCall2C2d: case kCall2C2m: return node(fast::call2, {a, b}, 0, n->value, 0, kCostlyLeaf);
    case kCall2Rnd:
        if (a.isConstant && b.isConstant)
            return node(fast::randomBetween, {}, kImpure, a.value, wrapAdd(wrapSub(b.value, a.value), 1));
        return node(fast::call2, {a, b}, kImpure, n->value);
    case kCall2Put: return node(fast::call2, {a, b}, kImpure, n->value);
    case kCall2Intensity: case kCall2R2x: case kCall2R2y: case kCall2Map:
    case kCall2Sbd: case kCall2Hue:
        return node(fast::call2, {a, b}, 0, n->value);
    default: return node(fast::call2, {a, b}, kImpure, n->value);
    }
}

FastCompiler::Built FastCompiler::compileCall3(const FormulaNode* n, const Built& a, const Built& b, const Built& c) {
    switch (n->value) {
    case kCall3Src:
        if (channelExists(c) && (sourceModeFixed(0) || sourceModeFixed(1)))
            return node(context_.sourceMode == 0 ? fast::sourceClamped : fast::sourceInside, {a, b}, 0,
                        context_.channelMap[c.value]);
        return node(fast::call3, {a, b, c}, readsSettings(), n->value);
    case kCall3Asrc: case kCall3Rad: case kCall3Arad:
        return node(fast::call3, {a, b, c}, readsSettings(), n->value);
    case kCall3Val: return node(fast::call3, {a, b, c}, 0, n->value);
    default: return node(fast::call3, {a, b, c}, kImpure, n->value);  // dst, or an unknown index
    }
}

FastCompiler::Built FastCompiler::compileConvolution(const FormulaNode* n, int first, int count, FastFunction run,
                                                     unsigned own, int32_t extra) {
    Built arguments[12];
    bool allConstant = true;
    unsigned dependency = own;
    for (int j = count - 1; j >= 0; --j) {
        arguments[j] = compile(n->children[first + j]);
        allConstant = allConstant && arguments[j].isConstant;
        dependency |= arguments[j].dependency;
    }
    if (dependency == 0) return constant(reference_.eval(n));
    Pending p;
    p.run = run;
    p.extra = extra;
    p.dependency = dependency;
    p.cost = 10;
    const bool plainCnv = n->kind == kCnv;
    if (plainCnv && allConstant && frozen && context_.sourceMode >= 0 && context_.sourceMode <= 3 &&
        channel_ < context_.channelCount) {
        p.run = fast::convolutionFixed;
        p.value = context_.channelMap[channel_];
        p.weightsFirst = static_cast<int32_t>(program_.weights_.size());
        for (int j = 0; j < 10; ++j) program_.weights_.push_back(arguments[j].value);
        return {false, 0, add(p), dependency};
    }
    int32_t indexes[12];
    for (int j = 0; j < count; ++j) {
        indexes[j] = indexOf(arguments[j]);
        ++pending_[indexes[j]].uses;
    }
    p.listFirst = static_cast<int32_t>(listIndexes_.size());
    listIndexes_.insert(listIndexes_.end(), indexes, indexes + count);
    return {false, 0, add(p), dependency};
}

FastProgram::FastProgram(const FilterProgram& program, PixelContext& context, RenderState& state) {
    const bool settingsFixed = !anyNode(program, changesLaterPixels);
    size_t treeNodes = 0;
    anyNode(program, [&treeNodes](const FormulaNode&) { return ++treeNodes, false; });
    const PixelContext saved = context;
    for (bool selfContained : {true, false}) {
        FastCompiler compiler(*this, context, state, treeNodes);
        compiler.frozen = settingsFixed;
        compiler.casesSelfContained = selfContained;
        for (int z = 0; z < 4; ++z) compiler.compileChannel(z, program.roots[z + 1].get());
        if (selfContained && !compiler.casesSelfContained) {
            weights_.clear();
            continue;
        }
        compiler.link();
        orderIndependent_ = settingsFixed && selfContained;
        break;
    }
    context = saved;  // folding ran with other channel numbers; it changed nothing else
}

FastFrame::FastFrame(PixelContext& context, RenderState& state, const FastProgram& program)
    : evaluation{context, state}, memo(static_cast<size_t>(program.memoSlots())) {}

void FastProgram::renderRow(FastFrame& frame, int32_t y, uint8_t* row) const {
    PixelContext& c = frame.evaluation.ctx;
    c.y = y;
    const uint8_t* source = c.sourcePixels + static_cast<size_t>(y) * static_cast<uint32_t>(c.rowBytes);
    const int32_t width = c.width;
    int32_t offset[4];
    for (int z = 0; z < 4; ++z) offset[z] = c.channelMap[z];
    bool simple = true, copy = true;
    for (int z = 0; z < 4; ++z) {
        simple = simple && channels_[z].kind != ChannelKind::kGeneral;
        copy = copy && channels_[z].kind == ChannelKind::kSourceByte && channels_[z].value == offset[z];
    }
    if (copy) {
        std::memcpy(row, source, static_cast<size_t>(width) * 4);
        return;
    }
    if (simple) {
        uint8_t fixed[4];
        int32_t from[4];
        bool isFixed[4];
        for (int z = 0; z < 4; ++z) {
            isFixed[z] = channels_[z].kind == ChannelKind::kConstant;
            fixed[z] = static_cast<uint8_t>(channels_[z].value);
            from[z] = isFixed[z] ? 0 : channels_[z].value;
        }
        for (int32_t x = 0; x < width; ++x, source += 4, row += 4)
            for (int z = 0; z < 4; ++z) row[offset[z]] = isFixed[z] ? fixed[z] : source[from[z]];
        return;
    }
    for (int32_t x = 0; x < width; ++x, source += 4, row += 4) {
        c.x = x;
        frame.pixel = source;
        ++frame.pixelSerial;
        for (int z = 0; z < 4; ++z) {
            const Channel& channel = channels_[z];
            int32_t v;
            switch (channel.kind) {
            case ChannelKind::kConstant: v = channel.value; break;
            case ChannelKind::kSourceByte: v = source[channel.value]; break;
            default:
                c.channel = z;
                v = runNode(*channel.root, frame);
                v = v < 0 ? 0 : v > 255 ? 255 : v;
                break;
            }
            row[offset[z]] = static_cast<uint8_t>(v);
        }
    }
}

}  // namespace lumen::formula
