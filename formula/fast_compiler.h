#pragma once
// Inside FastProgram's constructor: the compiler that turns the channel trees into FastNodes.
#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <vector>

#include "formula/fast_nodes.h"
#include "formula/fast_program.h"
#include "formula/int_math.h"

namespace lumen::formula {

// What a compiled subtree's value depends on besides constants of the render.
enum Dependency : unsigned { kOnColumn = 1, kOnRow = 2, kImpure = 4 };

// Builds the nodes of one render's program. Children are recorded by index while the node
// vector still grows, and turned into pointers once it is complete.
class FastCompiler {
public:
    // treeNodes: the nodes of the four channel trees, a rad counted as the five it may become.
    // Room is made for all a compile can make of them at once, so that how many allocations a
    // compile makes does not depend on the values of the image's constants.
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
    Built polarCoordinate(const Built& d, const Built& m, FastFunction trig, int32_t centre);
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

}  // namespace lumen::formula
