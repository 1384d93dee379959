#include "formula/evaluator.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "formula/evaluation.h"
#include "formula/int_math.h"
#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

thread_local PixelContext* tContext = nullptr;
thread_local RenderState* tState = nullptr;

constexpr int kLeafKinds[] = {'r', 'g', 'b', 'a', 'c', 'i', 'u', 'v', 'x', 'y', 'z', 'X', 'Y',
                              'Z', 'D', 'M', 'd', 'm', 't', kTotal, kNumber};
constexpr int kUnaryKinds[] = {kBitNot, kLogicalNot, kNegate, kUnaryPlus, kCaseEntry, kCall1,
                               kGradient, kSrcmode, kStorage};
constexpr int kBinaryKinds[] = {'+', '-', '*', kPower, kBitAnd, kBitOr, kBitXor, kLogicalAnd,
                                kLogicalOr, kEqual, kNotEqual, kLessEqual, kGreaterEqual, kLess,
                                kGreater, kShiftLeft, kShiftRight, kSequence, kCase, kCaseList,
                                kCall2, kDif, kBmapsize};
constexpr int kTernaryKinds[] = {kConditional, kCall3, kAdd, kSub, kGamma, kNbd, kBmap};

// Children each node kind needs; -1 for kinds the evaluator does not know (they yield 0).
struct ArityTable {
    int8_t count[kNumber + 1];
    constexpr ArityTable() : count{} {
        for (auto& c : count) c = -1;
        for (int k : kLeafKinds) count[k] = 0;
        for (int k : kUnaryKinds) count[k] = 1;
        for (int k : kBinaryKinds) count[k] = 2;
        for (int k : kTernaryKinds) count[k] = 3;
        count[kMix] = 4;
        count[kScl] = 5;
        count[kTexture] = 5;
        count[kCnv] = 10;
        count[kIcnv] = 10;
        count[kXycnv] = 12;
    }
};
constexpr ArityTable kArity;

int32_t shiftLeft(int32_t a, int32_t n) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) << (static_cast<uint32_t>(n) & 31u));
}
int32_t shiftRight(int32_t a, int32_t n) {
    uint32_t count = static_cast<uint32_t>(n) & 31u;
    uint32_t bits = static_cast<uint32_t>(a) >> count;
    if (a < 0 && count != 0) bits |= ~(~0u >> count);
    return static_cast<int32_t>(bits);
}

int32_t power(int32_t a, int32_t b) {
    return truncToInt32(std::pow(static_cast<double>(a), static_cast<double>(b)));
}

}  // namespace

int32_t directionOf(int32_t x, int32_t y) {
    return static_cast<int32_t>(std::atan2(static_cast<double>(y), static_cast<double>(x)) * 512.0 /
                                std::numbers::pi);
}

int32_t magnitudeOf(int32_t x, int32_t y) {
    uint32_t ux = static_cast<uint32_t>(x), uy = static_cast<uint32_t>(y);
    return static_cast<int32_t>(isqrt(ux * ux + uy * uy));
}

const FormulaNode* firstMalformedNode(const FormulaNode* root) {
    if (root == nullptr) return nullptr;
    std::vector<const FormulaNode*> pending{root};
    while (!pending.empty()) {
        const FormulaNode* node = pending.back();
        pending.pop_back();
        // Unknown kinds evaluate to 0 without looking at their children.
        if (node->kind < 0 || node->kind > kNumber || kArity.count[node->kind] < 0) continue;
        const int need = kArity.count[node->kind];
        if (node->childCount < need) return node;
        for (int i = 0; i < need; ++i) {
            if (node->children[i] == nullptr) return node;
            pending.push_back(node->children[i]);
        }
    }
    return nullptr;
}

bool readsChannelRanges(const FormulaNode* root) {
    std::vector<const FormulaNode*> pending;
    if (root != nullptr) pending.push_back(root);
    while (!pending.empty()) {
        const FormulaNode* node = pending.back();
        pending.pop_back();
        if (node->kind == kCall1 && (node->value == kCall1Hmin || node->value == kCall1Hmax)) return true;
        for (int i = 0; i < node->childCount; ++i)
            if (node->children[i] != nullptr) pending.push_back(node->children[i]);
    }
    return false;
}

int32_t Evaluation::eval(const FormulaNode* node) {
    FormulaNode* const* k = node->children;
    switch (node->kind) {
    case kNumber: return node->value;
    case '+': { int32_t r = operand(k[1]); return wrapAdd(operand(k[0]), r); }
    case '-': { int32_t r = operand(k[1]); return wrapSub(operand(k[0]), r); }
    case '*': { int32_t r = operand(k[1]); return wrapMul(operand(k[0]), r); }
    case kPower: { int32_t l = operand(k[0]); return power(l, operand(k[1])); }
    case kBitAnd: { int32_t r = operand(k[1]); return operand(k[0]) & r; }
    case kBitOr: { int32_t r = operand(k[1]); return operand(k[0]) | r; }
    case kBitXor: { int32_t r = operand(k[1]); return operand(k[0]) ^ r; }
    case kBitNot: return ~operand(k[0]);
    case kNegate: return wrapNeg(operand(k[0]));
    case kUnaryPlus: return operand(k[0]);
    case kLogicalNot: return operand(k[0]) == 0 ? 1 : 0;
    case kEqual: { int32_t r = operand(k[1]); return operand(k[0]) == r; }
    case kNotEqual: { int32_t r = operand(k[1]); return operand(k[0]) != r; }
    case kLess: { int32_t r = operand(k[1]); return operand(k[0]) < r; }
    case kGreater: { int32_t r = operand(k[1]); return operand(k[0]) > r; }
    case kLessEqual: { int32_t r = operand(k[1]); return operand(k[0]) <= r; }
    case kGreaterEqual: { int32_t r = operand(k[1]); return operand(k[0]) >= r; }
    case kShiftLeft: { int32_t r = operand(k[1]); return shiftLeft(operand(k[0]), r); }
    case kShiftRight: { int32_t r = operand(k[1]); return shiftRight(operand(k[0]), r); }
    case kLogicalAnd: return operand(k[0]) != 0 && operand(k[1]) != 0;
    case kLogicalOr: return operand(k[0]) != 0 || operand(k[1]) != 0;
    case kConditional: return operand(k[0]) != 0 ? operand(k[1]) : operand(k[2]);
    case kSequence: operand(k[0]); return operand(k[1]);
    case kCase: {
        operand(k[1]);
        return state.caseValue(operand(k[0]));
    }
    case kCaseList: operand(k[0]); operand(k[1]); return 0;
    case kCaseEntry: state.storeCaseValue(node->value, operand(k[0])); return 0;
    case 'r': return colourVariable(0);
    case 'g': return colourVariable(1);
    case 'b': return colourVariable(2);
    case 'a': return colourVariable(3);
    case 'c': return colourVariable(ctx.channel);
    case 'i': return intensityAt(ctx.x, ctx.y);
    case 'u': {
        int32_t r = sourceByte(ctx.x, ctx.y, 0), g = sourceByte(ctx.x, ctx.y, 1), b = sourceByte(ctx.x, ctx.y, 2);
        return (-19 * r - 37 * g + 56 * b) / 256;
    }
    case 'v': {
        int32_t r = sourceByte(ctx.x, ctx.y, 0), g = sourceByte(ctx.x, ctx.y, 1), b = sourceByte(ctx.x, ctx.y, 2);
        return (78 * r - 65 * g - 13 * b) / 256;
    }
    case 'x': return ctx.x;
    case 'y': return ctx.y;
    case 'z': return ctx.channel;
    case 'X': return ctx.width;
    case 'Y': return ctx.height;
    case 'Z': return ctx.channelCount;
    case 'D': return ctx.maxDirection;
    case 'M': return ctx.maxMagnitude;
    case 'd': return directionOf(wrapSub(ctx.x, ctx.centerX), wrapSub(ctx.y, ctx.centerY));
    case 'm': return magnitudeOf(wrapSub(ctx.x, ctx.centerX), wrapSub(ctx.y, ctx.centerY));
    case 't': return ctx.tValue;
    case kTotal: return ctx.totalValue;
    case kCall1: return call1(node->value, operand(k[0]));
    case kCall2: {
        int32_t b = operand(k[1]);
        return call2(node->value, operand(k[0]), b);
    }
    case kCall3: {
        int32_t c = operand(k[2]);
        int32_t b = operand(k[1]);
        return call3(node->value, operand(k[0]), b, c);
    }
    default: return evalBuiltin(node);
    }
}

// The built-ins with their own node kinds, apart so that the common operators stay cheap.
int32_t Evaluation::evalBuiltin(const FormulaNode* node) {
    FormulaNode* const* k = node->children;
    switch (node->kind) {
    case kDif: {
        int32_t b = operand(k[1]);
        return wrapAbs(wrapSub(operand(k[0]), b));
    }
    case kAdd: {
        // The chosen operands are evaluated again for the result, side effects included.
        int32_t b = operand(k[1]);
        int32_t a = operand(k[0]);
        int32_t c = operand(k[2]);
        if (wrapAdd(a, b) < c) {
            b = operand(k[1]);
            return wrapAdd(operand(k[0]), b);
        }
        return operand(k[2]);
    }
    case kSub: {
        int32_t b = operand(k[1]);
        int32_t a = operand(k[0]);
        int32_t c = operand(k[2]);
        if (wrapAbs(wrapSub(a, b)) > c) {
            b = operand(k[1]);
            return wrapAbs(wrapSub(operand(k[0]), b));
        }
        return operand(k[2]);
    }
    case kMix: {
        int32_t d = operand(k[3]), n = operand(k[2]), b = operand(k[1]);
        return mixOf(operand(k[0]), b, n, d);
    }
    case kScl: {
        int32_t oh = operand(k[4]), ol = operand(k[3]), ih = operand(k[2]), il = operand(k[1]);
        return scaleOf(operand(k[0]), il, ih, ol, oh);
    }
    case kCnv:
    case kIcnv: {
        int32_t w[10];
        for (int j = 9; j >= 0; --j) w[j] = operand(k[j]);
        return convolve(ctx.x, ctx.y, w, node->kind == kIcnv);
    }
    case kXycnv: {
        int32_t w[10];
        for (int j = 11; j >= 2; --j) w[j - 2] = operand(k[j]);
        int32_t py = operand(k[1]);
        return convolve(operand(k[0]), py, w, false);
    }
    case kGamma: {
        int32_t c = operand(k[2]), b = operand(k[1]);
        return gamma(operand(k[0]), b, c);
    }
    case kNbd: {
        int32_t mode = operand(k[2]), y = operand(k[1]);
        return nbd(operand(k[0]), y, mode);
    }
    case kBmap: {
        int32_t py = operand(k[2]), px = operand(k[1]);
        return bmap(operand(k[0]), px, py);
    }
    case kBmapsize: {
        int32_t h = operand(k[1]);
        ctx.mapWidth = wrapAbs(operand(k[0]));
        ctx.mapHeight = wrapAbs(h);
        return 0;
    }
    case kGradient: return gradient(operand(k[0]));
    case kSrcmode: ctx.sourceMode = operand(k[0]); return 0;
    case kStorage: return storage(operand(k[0]));
    case kTexture: {
        int32_t seed = operand(k[4]), octaves = operand(k[3]), grid = operand(k[2]), h = operand(k[1]);
        return texture(operand(k[0]), h, grid, octaves, seed);
    }
    default:
        ctx.badNodeKind = node->kind;
        return 0;
    }
}

void setContext(PixelContext* context, RenderState* state) {
    tContext = context;
    tState = state;
}

PixelContext* currentContext() { return tContext; }

int32_t evaluate(const FormulaNode* root) {
    if (tContext == nullptr || tState == nullptr || root == nullptr) return 0;
    // The variables read the current pixel without further checks.
    const PixelContext& c = *tContext;
    if (c.sourcePixels == nullptr || c.x < 0 || c.x >= c.width || c.y < 0 || c.y >= c.height) return 0;
    if (const FormulaNode* bad = firstMalformedNode(root)) {
        tContext->badNodeKind = bad->kind;
        return 0;
    }
    Evaluation evaluation{*tContext, *tState};
    return evaluation.eval(root);
}

ContextScope::ContextScope(PixelContext* context, RenderState* state)
    : previousContext_(tContext), previousState_(tState) {
    setContext(context, state);
}

ContextScope::~ContextScope() { setContext(previousContext_, previousState_); }

}  // namespace lumen::formula
