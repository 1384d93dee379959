// The table-dispatched built-ins (one table per argument count) and the settings they change.
#include <chrono>
#include <cmath>

#include "formula/evaluation.h"
#include "formula/int_math.h"
#include "formula/lookup_tables.h"
#include "formula/token_codes.h"

namespace lumen::formula {
namespace {

int32_t trigOf(const auto& table, int32_t a) { return table[periodicIndex(a, kTrigPeriod)]; }

int32_t mapControl(const PixelContext& ctx, int32_t i, int32_t n) {
    if (i < 0 || i > 3) return 0;
    int32_t lo = ctx.control[2 * i], hi = ctx.control[2 * i + 1];
    if (lo == 0 && hi == 0) return 255;
    if (lo == hi) return n <= hi ? 0 : 255;
    return safeDiv(wrapMul(wrapSub(n, hi), 255), wrapSub(lo, hi));
}

uint32_t timeSeed() {
    using namespace std::chrono;
    auto now = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(now / 1000 + now % 1000);
}

}  // namespace

int32_t mixOf(int32_t a, int32_t b, int32_t n, int32_t d) {
    if (d == 0) return 0;
    return wrapAdd(safeDiv(wrapMul(wrapSub(d, n), b), d), safeDiv(wrapMul(a, n), d));
}

int32_t scaleOf(int32_t a, int32_t il, int32_t ih, int32_t ol, int32_t oh) {
    if (ih == il) return 0;
    return wrapAdd(safeDiv(wrapMul(wrapSub(a, il), wrapSub(oh, ol)), wrapSub(ih, il)), ol);
}

int32_t Evaluation::call1(int32_t index, int32_t a) {
    const LookupTables& t = kLookupTables;
    switch (index) {
    case kCall1Sin: return trigOf(t.sine, a);
    case kCall1Cos: return trigOf(t.cosine, a);
    case kCall1Tan: return trigOf(t.tangent, a);
    case kCall1Tri: return trigOf(t.triangle, a);
    case kCall1Ctl: return a >= 0 && a < 8 ? ctx.control[a] : 0;
    case kCall1Get: return a >= 0 && a < ctx.cellCount ? ctx.cells[a] : 0;
    case kCall1Abs: return wrapAbs(a);
    case kCall1Sgn: return a < 0 ? -1 : a > 0 ? 1 : 0;
    case kCall1Sqr: return a < 0 ? 0 : static_cast<int32_t>(isqrt(static_cast<uint32_t>(a)));
    case kCall1Rst:
        state.randomSeed = a == -1 ? timeSeed() : static_cast<uint32_t>(wrapAbs(a)) + 1u;
        return 0;
    case kCall1Frg:
    case kCall1Bkg: {
        if (a < 0 || a > 2) return 0;
        int32_t at = ctx.channelMap[a];
        if (at < 0 || at > 2) return 0;
        return index == kCall1Frg ? ctx.foreColour[at] : ctx.backColour[at];
    }
    case kCall1Hmin: return a >= 0 && a < 4 ? ctx.channelMin[a] : 0;
    case kCall1Hmax: return a >= 0 && a < 4 ? ctx.channelMax[a] : 255;
    case kCall1Bell: return a >= 0 && a < 256 ? t.bell[a] : 0;
    default: ctx.badNodeKind = kCall1; return 0;
    }
}

int32_t Evaluation::call2(int32_t index, int32_t a, int32_t b) {
    switch (index) {
    case kCall2Divide: return safeDiv(a, b);
    case kCall2Remainder: return safeRem(a, b);
    case kCall2Intensity: return intensityAt(a, b);
    case kCall2Put:
        if (b < 0 || b >= ctx.cellCount) return 0;
        ctx.cells[b] = a;
        return a;
    case kCall2Min: return a < b ? a : b;
    case kCall2Max: return a > b ? a : b;
    case kCall2Rnd: {
        int32_t n = wrapAdd(wrapSub(b, a), 1);
        if (n == 0) return 0;
        return wrapAdd(a, safeRem(drawRandom(state.randomSeed), n));
    }
    case kCall2C2d: return directionOf(a, b);
    case kCall2C2m: return magnitudeOf(a, b);
    case kCall2R2x: return wrapMul(b, cosineOf(a)) / 512;
    case kCall2R2y: return wrapMul(b, sineOf(a)) / 512;
    case kCall2Map: return mapControl(ctx, a, b);
    case kCall2Gam: return b >= 0 && b < 3 ? ctx.gammaTable[b][clampInt(a, 0, 255)] : 0;
    case kCall2Sbd: {
        int32_t fromRight = wrapSub(ctx.maxX, a), fromBottom = wrapSub(ctx.maxY, b);
        int32_t d = a < fromRight ? a : fromRight;
        d = d < b ? d : b;
        return d < fromBottom ? d : fromBottom;
    }
    case kCall2Grad:
        if (ctx.currentGradient == nullptr || b < 0 || b >= ctx.channelCount || b > 3) return 0;
        return ctx.currentGradient[periodicIndex(a, kGradientEntries) * 4 + b];
    case kCall2Tex: return tex(a, b);
    case kCall2Hue: return b >= 0 && b < 3 ? kLookupTables.hue[b][periodicIndex(a, kHuePeriod)] : 0;
    default: ctx.badNodeKind = kCall2; return 0;
    }
}

int32_t Evaluation::call3(int32_t index, int32_t a, int32_t b, int32_t c) {
    switch (index) {
    case kCall3Val:
        if (a < 0 || a > 7) return 0;
        return wrapAdd(b, wrapMul(ctx.control[a], wrapSub(c, b)) / 255);
    case kCall3Src: return src(a, b, c);
    case kCall3Asrc: return asrc(a, b, c);
    case kCall3Dst: return dst(a, b, c);
    case kCall3Rad: return rad(a, b, c);
    case kCall3Arad: return arad(a, b, c);
    default: ctx.badNodeKind = kCall3; return 0;
    }
}

int32_t Evaluation::storage(int32_t n) {
    if (n >= 1 && n <= kMaxCellCount) state.replaceCells(n, ctx);
    return 0;
}

int32_t Evaluation::gradient(int32_t n) {
    ctx.gradientByUser = 0;
    if (n >= 0 && n < kGradientCount) {
        if (ctx.gradientBase != nullptr) ctx.currentGradient = ctx.gradientBase + n * kGradientBytes;
    } else if (n == -1) {
        ctx.gradientByUser = 1;
    }
    return 0;
}

int32_t Evaluation::gamma(int32_t a, int32_t b, int32_t c) {
    const int32_t parameter[3] = {a, b, c};
    for (int row = 0; row < 3; ++row) {
        double exponent = parameter[row] / 255.0;
        for (int j = 0; j < 256; ++j) {
            double curve = std::pow((256 - j) / 255.0, exponent) * 255.0 + 0.5;
            ctx.gammaTable[row][j] = wrapSub(255, truncToInt32(curve));
        }
    }
    return 0;
}

int32_t Evaluation::nbd(int32_t x, int32_t y, int32_t mode) const {
    const int32_t w = ctx.width, h = ctx.height;
    auto mul = wrapMul;
    auto sub = wrapSub;
    if (mode == 1) {
        if (mul(x, h) >= mul(y, w) && mul(sub(w, x), h) >= mul(y, w)) return 1;
        if (mul(x, h) <= mul(y, w) && mul(x, h) <= mul(sub(h, y), w)) return 2;
        if (mul(h, sub(w, x)) <= mul(y, w) && mul(sub(h, y), x) >= mul(y, sub(w, x))) return 3;
        if (mul(x, h) >= mul(w, sub(h, y)) && mul(x, sub(h, y)) <= mul(y, sub(w, x))) return 4;
        return 0;
    }
    int32_t sum = wrapAdd(x, y);
    if (y > x && sum < h) return 1;
    if (y < x && sum < w) return 2;
    if (x > sub(h, y) && sum >= w) return 3;
    if (y < sub(w, x) && sum >= h) return 4;
    return 0;
}

}  // namespace lumen::formula
