#include "formula/fast_nodes.h"

#include "formula/int_math.h"
#include "formula/lookup_tables.h"
#include "formula/token_codes.h"

namespace lumen::formula::fast {
namespace {

int32_t arg(const FastNode& n, int i, FastFrame& f) { return runNode(*n.child[i], f); }

template <int32_t Kind>
int32_t apply(int32_t l, int32_t r) {
    if constexpr (Kind == '+') return wrapAdd(l, r);
    else if constexpr (Kind == '-') return wrapSub(l, r);
    else if constexpr (Kind == '*') return wrapMul(l, r);
    else if constexpr (Kind == kBitAnd) return l & r;
    else if constexpr (Kind == kBitOr) return l | r;
    else if constexpr (Kind == kBitXor) return l ^ r;
    else if constexpr (Kind == kEqual) return l == r;
    else if constexpr (Kind == kNotEqual) return l != r;
    else if constexpr (Kind == kLess) return l < r;
    else if constexpr (Kind == kGreater) return l > r;
    else if constexpr (Kind == kLessEqual) return l <= r;
    else if constexpr (Kind == kGreaterEqual) return l >= r;
    else if constexpr (Kind == kShiftLeft) return wrapShiftLeft(l, r);
    else return signedShiftRight(l, r);
}

// The right operand first, as the tree walker does.
template <int32_t Kind>
int32_t both(const FastNode& n, FastFrame& f) {
    int32_t r = arg(n, 1, f);
    return apply<Kind>(arg(n, 0, f), r);
}
template <int32_t Kind>
int32_t constantRight(const FastNode& n, FastFrame& f) { return apply<Kind>(arg(n, 0, f), n.value); }
template <int32_t Kind>
int32_t constantLeft(const FastNode& n, FastFrame& f) { return apply<Kind>(n.value, arg(n, 1, f)); }

template <int32_t Kind>
FastFunction pick(Operands operands) {
    switch (operands) {
    case Operands::kConstantRight: return constantRight<Kind>;
    case Operands::kConstantLeft: return constantLeft<Kind>;
    default: return both<Kind>;
    }
}

int32_t divideBoth(const FastNode& n, FastFrame& f) {
    int32_t r = arg(n, 1, f);
    return safeDiv(arg(n, 0, f), r);
}
int32_t divideByConstant(const FastNode& n, FastFrame& f) { return arg(n, 0, f) / n.value; }
int32_t remainderBoth(const FastNode& n, FastFrame& f) {
    int32_t r = arg(n, 1, f);
    return safeRem(arg(n, 0, f), r);
}
int32_t remainderByConstant(const FastNode& n, FastFrame& f) { return arg(n, 0, f) % n.value; }

int32_t offsetOf(const FastFrame& f, int z) { return f.evaluation.ctx.channelMap[z]; }

}  // namespace

FastFunction arithmetic(int32_t kind, Operands operands) {
    switch (kind) {
    case '+': return pick<'+'>(operands);
    case '-': return pick<'-'>(operands);
    case '*': return pick<'*'>(operands);
    case kBitAnd: return pick<kBitAnd>(operands);
    case kBitOr: return pick<kBitOr>(operands);
    case kBitXor: return pick<kBitXor>(operands);
    case kEqual: return pick<kEqual>(operands);
    case kNotEqual: return pick<kNotEqual>(operands);
    case kLess: return pick<kLess>(operands);
    case kGreater: return pick<kGreater>(operands);
    case kLessEqual: return pick<kLessEqual>(operands);
    case kGreaterEqual: return pick<kGreaterEqual>(operands);
    case kShiftLeft: return pick<kShiftLeft>(operands);
    case kShiftRight: return pick<kShiftRight>(operands);
    default: return nullptr;
    }
}

FastFunction division(bool remainder, bool constantDivisor) {
    if (constantDivisor) return remainder ? remainderByConstant : divideByConstant;
    return remainder ? remainderBoth : divideBoth;
}

int32_t constant(const FastNode& n, FastFrame&) { return n.value; }
int32_t column(const FastNode&, FastFrame& f) { return f.evaluation.ctx.x; }
int32_t row(const FastNode&, FastFrame& f) { return f.evaluation.ctx.y; }
int32_t sourceByte(const FastNode& n, FastFrame& f) { return f.pixel[n.value]; }

int32_t intensity(const FastNode&, FastFrame& f) {
    const uint8_t* p = f.pixel;
    return (76 * p[offsetOf(f, 0)] + 150 * p[offsetOf(f, 1)] + 29 * p[offsetOf(f, 2)]) / 256;
}
int32_t chromaU(const FastNode&, FastFrame& f) {
    const uint8_t* p = f.pixel;
    return (-19 * p[offsetOf(f, 0)] - 37 * p[offsetOf(f, 1)] + 56 * p[offsetOf(f, 2)]) / 256;
}
int32_t chromaV(const FastNode&, FastFrame& f) {
    const uint8_t* p = f.pixel;
    return (78 * p[offsetOf(f, 0)] - 65 * p[offsetOf(f, 1)] - 13 * p[offsetOf(f, 2)]) / 256;
}
int32_t direction(const FastNode&, FastFrame& f) {
    const PixelContext& c = f.evaluation.ctx;
    return directionOf(wrapSub(c.x, c.centerX), wrapSub(c.y, c.centerY));
}
int32_t magnitude(const FastNode&, FastFrame& f) {
    const PixelContext& c = f.evaluation.ctx;
    return magnitudeOf(wrapSub(c.x, c.centerX), wrapSub(c.y, c.centerY));
}
int32_t unknownKind(const FastNode& n, FastFrame& f) {
    f.evaluation.ctx.badNodeKind = n.value;
    return 0;
}

int32_t memoised(const FastNode& n, FastFrame& f) {
    MemoSlot& slot = f.memo[static_cast<size_t>(n.value)];
    if (slot.pixelSerial != f.pixelSerial) {
        slot.value = arg(n, 0, f);
        slot.pixelSerial = f.pixelSerial;
    }
    return slot.value;
}

int32_t negate(const FastNode& n, FastFrame& f) { return wrapNeg(arg(n, 0, f)); }
int32_t bitNot(const FastNode& n, FastFrame& f) { return ~arg(n, 0, f); }
int32_t logicalNot(const FastNode& n, FastFrame& f) { return arg(n, 0, f) == 0; }
int32_t power(const FastNode& n, FastFrame& f) {
    int32_t l = arg(n, 0, f);
    return powerOf(l, arg(n, 1, f));
}
int32_t logicalAnd(const FastNode& n, FastFrame& f) { return arg(n, 0, f) != 0 && arg(n, 1, f) != 0; }
int32_t logicalOr(const FastNode& n, FastFrame& f) { return arg(n, 0, f) != 0 || arg(n, 1, f) != 0; }
int32_t conditional(const FastNode& n, FastFrame& f) { return arg(n, 0, f) != 0 ? arg(n, 1, f) : arg(n, 2, f); }
int32_t sequence(const FastNode& n, FastFrame& f) {
    arg(n, 0, f);
    return arg(n, 1, f);
}
int32_t caseOf(const FastNode& n, FastFrame& f) {
    arg(n, 1, f);
    return f.evaluation.state.caseValue(arg(n, 0, f));
}
int32_t caseList(const FastNode& n, FastFrame& f) {
    arg(n, 0, f);
    arg(n, 1, f);
    return 0;
}
int32_t caseEntry(const FastNode& n, FastFrame& f) {
    f.evaluation.state.storeCaseValue(n.value, arg(n, 0, f));
    return 0;
}

int32_t effectsThenOne(const FastNode& n, FastFrame& f) {
    int32_t result = 0;
    for (int32_t i = 0; i < n.extra; ++i) {
        const int32_t v = runNode(*n.list[i], f);
        if (i == n.value) result = v;
    }
    return result;
}

int32_t call1(const FastNode& n, FastFrame& f) { return f.evaluation.call1(n.value, arg(n, 0, f)); }
int32_t call2(const FastNode& n, FastFrame& f) {
    int32_t b = arg(n, 1, f);
    return f.evaluation.call2(n.value, arg(n, 0, f), b);
}
int32_t call3(const FastNode& n, FastFrame& f) {
    int32_t c = arg(n, 2, f);
    int32_t b = arg(n, 1, f);
    return f.evaluation.call3(n.value, arg(n, 0, f), b, c);
}
int32_t sine(const FastNode& n, FastFrame& f) { return sineOf(arg(n, 0, f)); }
int32_t cosine(const FastNode& n, FastFrame& f) { return cosineOf(arg(n, 0, f)); }
int32_t tangent(const FastNode& n, FastFrame& f) {
    return kLookupTables.tangent[periodicIndex(arg(n, 0, f), kTrigPeriod)];
}
int32_t triangle(const FastNode& n, FastFrame& f) {
    return kLookupTables.triangle[periodicIndex(arg(n, 0, f), kTrigPeriod)];
}
int32_t control(const FastNode& n, FastFrame& f) {
    int32_t i = arg(n, 0, f);
    return i >= 0 && i < 8 ? f.evaluation.ctx.control[i] : 0;
}
int32_t cell(const FastNode& n, FastFrame& f) {
    int32_t i = arg(n, 0, f);
    const PixelContext& c = f.evaluation.ctx;
    return i >= 0 && i < c.cellCount ? c.cells[i] : 0;
}
int32_t absolute(const FastNode& n, FastFrame& f) { return wrapAbs(arg(n, 0, f)); }
int32_t minimum(const FastNode& n, FastFrame& f) {
    int32_t b = arg(n, 1, f), a = arg(n, 0, f);
    return a < b ? a : b;
}
int32_t maximum(const FastNode& n, FastFrame& f) {
    int32_t b = arg(n, 1, f), a = arg(n, 0, f);
    return a > b ? a : b;
}
int32_t randomBetween(const FastNode& n, FastFrame& f) {
    if (n.extra == 0) return 0;
    return wrapAdd(n.value, safeRem(drawRandom(f.evaluation.state.randomSeed), n.extra));
}
int32_t gradientEntry(const FastNode& n, FastFrame& f) {
    return f.evaluation.ctx.currentGradient[periodicIndex(arg(n, 0, f), kGradientEntries) * 4 + n.value];
}
int32_t gammaEntry(const FastNode& n, FastFrame& f) {
    return f.evaluation.ctx.gammaTable[n.value][clampInt(arg(n, 0, f), 0, 255)];
}
int32_t sourceClamped(const FastNode& n, FastFrame& f) {
    int32_t y = arg(n, 1, f), x = arg(n, 0, f);
    const PixelContext& c = f.evaluation.ctx;
    x = clampInt(x, 0, c.maxX);
    y = clampInt(y, 0, c.maxY);
    return c.sourcePixels[static_cast<size_t>(y) * static_cast<uint32_t>(c.rowBytes) + static_cast<size_t>(x) * 4 +
                          static_cast<uint32_t>(n.value)];
}
int32_t sourceInside(const FastNode& n, FastFrame& f) {
    int32_t y = arg(n, 1, f), x = arg(n, 0, f);
    const PixelContext& c = f.evaluation.ctx;
    if (x < 0 || x > c.maxX || y < 0 || y > c.maxY) return 0;
    return c.sourcePixels[static_cast<size_t>(y) * static_cast<uint32_t>(c.rowBytes) + static_cast<size_t>(x) * 4 +
                          static_cast<uint32_t>(n.value)];
}

int32_t convolution(const FastNode& n, FastFrame& f) {
    int32_t w[10];
    for (int j = 9; j >= 0; --j) w[j] = runNode(*n.list[j], f);
    const PixelContext& c = f.evaluation.ctx;
    return f.evaluation.convolve(c.x, c.y, w, n.extra != 0);
}

int32_t convolutionFixed(const FastNode& n, FastFrame& f) {
    const PixelContext& c = f.evaluation.ctx;
    const int32_t* w = n.weights;
    // Inside the border every neighbour is in the image, where all four source modes read it
    // unchanged.
    if (c.x <= 0 || c.x >= c.maxX || c.y <= 0 || c.y >= c.maxY) {
        int32_t weights[10];
        for (int j = 0; j < 10; ++j) weights[j] = w[j];
        return f.evaluation.convolve(c.x, c.y, weights, false);
    }
    const ptrdiff_t stride = c.rowBytes;
    const uint8_t* p = f.pixel + n.value - stride - 4;
    int32_t sum = 0;
    for (int dy = 0; dy < 3; ++dy, p += stride) {
        sum = wrapAdd(sum, wrapMul(w[dy * 3], p[0]));
        sum = wrapAdd(sum, wrapMul(w[dy * 3 + 1], p[4]));
        sum = wrapAdd(sum, wrapMul(w[dy * 3 + 2], p[8]));
    }
    return safeDiv(sum, w[9], 255);
}

int32_t pointConvolution(const FastNode& n, FastFrame& f) {
    int32_t w[10];
    for (int j = 11; j >= 2; --j) w[j - 2] = runNode(*n.list[j], f);
    int32_t py = runNode(*n.list[1], f);
    return f.evaluation.convolve(runNode(*n.list[0], f), py, w, false);
}

int32_t difference(const FastNode& n, FastFrame& f) {
    int32_t b = arg(n, 1, f);
    return wrapAbs(wrapSub(arg(n, 0, f), b));
}

// The chosen operands are evaluated a second time for the result, side effects included.
int32_t addLimited(const FastNode& n, FastFrame& f) {
    int32_t b = arg(n, 1, f);
    int32_t a = arg(n, 0, f);
    int32_t c = arg(n, 2, f);
    if (wrapAdd(a, b) < c) {
        b = arg(n, 1, f);
        return wrapAdd(arg(n, 0, f), b);
    }
    return arg(n, 2, f);
}
int32_t subtractLimited(const FastNode& n, FastFrame& f) {
    int32_t b = arg(n, 1, f);
    int32_t a = arg(n, 0, f);
    int32_t c = arg(n, 2, f);
    if (wrapAbs(wrapSub(a, b)) > c) {
        b = arg(n, 1, f);
        return wrapAbs(wrapSub(arg(n, 0, f), b));
    }
    return arg(n, 2, f);
}

int32_t mix(const FastNode& n, FastFrame& f) {
    int32_t d = arg(n, 3, f), m = arg(n, 2, f), b = arg(n, 1, f);
    return mixOf(arg(n, 0, f), b, m, d);
}
int32_t scale(const FastNode& n, FastFrame& f) {
    int32_t oh = arg(n, 4, f), ol = arg(n, 3, f), ih = arg(n, 2, f), il = arg(n, 1, f);
    return scaleOf(arg(n, 0, f), il, ih, ol, oh);
}
int32_t gamma(const FastNode& n, FastFrame& f) {
    int32_t c = arg(n, 2, f), b = arg(n, 1, f);
    return f.evaluation.gamma(arg(n, 0, f), b, c);
}
int32_t borderRegion(const FastNode& n, FastFrame& f) {
    int32_t mode = arg(n, 2, f), y = arg(n, 1, f);
    return f.evaluation.nbd(arg(n, 0, f), y, mode);
}
int32_t mapImage(const FastNode& n, FastFrame& f) {
    int32_t py = arg(n, 2, f), px = arg(n, 1, f);
    return f.evaluation.bmap(arg(n, 0, f), px, py);
}
int32_t mapSize(const FastNode& n, FastFrame& f) {
    int32_t h = arg(n, 1, f);
    PixelContext& c = f.evaluation.ctx;
    c.mapWidth = wrapAbs(arg(n, 0, f));
    c.mapHeight = wrapAbs(h);
    return 0;
}
int32_t selectGradient(const FastNode& n, FastFrame& f) { return f.evaluation.gradient(arg(n, 0, f)); }
int32_t sourceMode(const FastNode& n, FastFrame& f) {
    f.evaluation.ctx.sourceMode = arg(n, 0, f);
    return 0;
}
int32_t storage(const FastNode& n, FastFrame& f) { return f.evaluation.storage(arg(n, 0, f)); }
int32_t texture(const FastNode& n, FastFrame& f) {
    int32_t seed = arg(n, 4, f), octaves = arg(n, 3, f), grid = arg(n, 2, f), h = arg(n, 1, f);
    return f.evaluation.texture(arg(n, 0, f), h, grid, octaves, seed);
}

}  // namespace lumen::formula::fast
