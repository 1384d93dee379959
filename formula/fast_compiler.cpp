// Compiling the channel sources: constants folded through the tree walker, equal subtrees
// shared, and the judgement whether the order of pixels matters.
#include <utility>
#include <vector>

#include "formula/fast_compiler.h"
#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

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

}  // namespace

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

FastProgram::FastProgram(const FilterProgram& program, PixelContext& context, RenderState& state) {
    const bool settingsFixed = !anyNode(program, changesLaterPixels);
    size_t treeNodes = 0;
    // Folding a constant subtree through the tree walker stores the labels of the cases in it;
    // a case that reads them must still find what Code0 left.
    std::vector<std::pair<int32_t, int32_t>> labels;
    anyNode(program, [&](const FormulaNode& node) {
        treeNodes += node.kind == kCall3 && node.value == kCall3Rad ? 5 : 1;
        if (node.kind == kCaseEntry) labels.emplace_back(node.value, state.caseValue(node.value));
        return false;
    });
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
    // In reverse, so that a label seen twice ends with its first, unchanged value.
    for (auto entry = labels.rbegin(); entry != labels.rend(); ++entry) state.storeCaseValue(entry->first, entry->second);
}

}  // namespace lumen::formula
