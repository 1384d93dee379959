// Compiling built-in calls and `case`: the specialised nodes chosen where the arguments and
// the render's fixed settings allow.
#include <vector>

#include "formula/fast_compiler.h"
#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

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
    case kCall3Rad:
        // As src at the point: the point's two coordinates are then shared by the channels that
        // read the same point, and the blocks read it like any src. Only over arguments without
        // effects, which the point computes twice and in another order.
        if (channelExists(c) && (sourceModeFixed(0) || sourceModeFixed(1)) && !a.isConstant && !b.isConstant &&
            ((a.dependency | b.dependency) & kImpure) == 0)
            return node(context_.sourceMode == 0 ? fast::sourceClamped : fast::sourceInside,
                        {polarCoordinate(a, b, fast::cosine, context_.centerX),
                         polarCoordinate(a, b, fast::sine, context_.centerY)},
                        0, context_.channelMap[c.value]);
        return node(fast::call3, {a, b, c}, readsSettings(), n->value);
    case kCall3Asrc: case kCall3Arad:
        return node(fast::call3, {a, b, c}, readsSettings(), n->value);
    case kCall3Val: return node(fast::call3, {a, b, c}, 0, n->value);
    default: return node(fast::call3, {a, b, c}, kImpure, n->value);  // dst, or an unknown index
    }
}

// centre + m * trig(d) / 512: one coordinate of the point rad(d, m, z) reads.
FastCompiler::Built FastCompiler::polarCoordinate(const Built& d, const Built& m, FastFunction trig, int32_t centre) {
    using fast::Operands;
    const Built product = node(fast::arithmetic('*', Operands::kBoth), {m, node(trig, {d}, 0)}, 0);
    const Built offset = node(fast::division(false, true), {product}, 0, 512);
    return node(fast::arithmetic('+', Operands::kConstantRight), {offset}, 0, centre);
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

}  // namespace lumen::formula
