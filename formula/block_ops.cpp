// The operations over a block of pixels. Each loop does exactly what the compiled node does
// for one pixel; the simple ones are written so that the compiler turns them into vector code.
#include "formula/block_ops.h"

#include <cmath>

#include "formula/int_math.h"
#include "formula/lookup_tables.h"

namespace lumen::formula {
namespace {

// Truncating division through doubles, which the vector units do and integers do not: both
// operands are exact in a double and a quotient that is not whole lies at least 1/|b| from the
// next whole number, far more than the rounding of a quotient below 2^31 moves it.
inline int32_t quotient(int32_t a, int32_t b) {
    const int32_t divisor = b == 0 || b == -1 ? 1 : b;
    const auto q = static_cast<int32_t>(static_cast<double>(a) / static_cast<double>(divisor));
    return b == 0 ? 0 : b == -1 ? wrapNeg(a) : q;
}
inline int32_t remainder(int32_t a, int32_t b) {
    return b == 0 || b == -1 ? 0 : wrapSub(a, wrapMul(quotient(a, b), b));
}
inline int32_t periodic(int32_t a, int32_t period) {
    const int32_t r = a % period;
    return a >= 0 ? r : period - 1 + r;
}

template <class F>
inline void each(int32_t* __restrict out, int32_t first, int32_t lanes, F f) {
    for (int32_t i = first; i < lanes; ++i) out[i] = f(i);
}

// Runs the compiled node at every pixel of the block, as the compiled render does.
void escape(const BlockOp& op, const BlockRun& run, int32_t* out, int32_t from, int32_t to) {
    FastFrame& f = run.frame;
    PixelContext& c = f.evaluation.ctx;
    c.channel = op.channel;
    for (int32_t i = from; i < to; ++i) {
        c.x = run.x0 + i;
        f.pixel = run.source + 4 * static_cast<size_t>(i);
        ++f.pixelSerial;
        out[i] = runNode(*op.node, f);
    }
}

void convolveFixed(const BlockOp& op, const BlockRun& run, int32_t* out) {
    const PixelContext& c = run.frame.evaluation.ctx;
    const int32_t* w = op.node->weights;
    const int32_t lanes = run.lanes;
    // Inside the border all four source modes read the neighbours where they are.
    if (run.y <= 0 || run.y >= c.maxY) {
        escape(op, run, out, run.first, lanes);
        return;
    }
    const int32_t first = run.x0 + run.first == 0 ? 1 : run.first;
    const int32_t end = run.x0 + lanes > c.maxX ? c.maxX - run.x0 : lanes;  // columns before maxX
    const auto stride = static_cast<size_t>(static_cast<uint32_t>(c.rowBytes));
    // The channel's byte of the row above, as an offset into the source.
    const size_t corner = static_cast<size_t>(run.y - 1) * stride + static_cast<size_t>(op.node->value);
    const uint8_t* top = c.sourcePixels + corner;
    const uint8_t* middle = top + stride;
    const uint8_t* bottom = middle + stride;
    const int32_t divisor = w[9];
    for (int32_t i = first; i < end; ++i) {
        const size_t p = 4 * static_cast<size_t>(run.x0 + i - 1);
        int32_t sum = wrapMul(w[0], top[p]);
        sum = wrapAdd(sum, wrapMul(w[1], top[p + 4]));
        sum = wrapAdd(sum, wrapMul(w[2], top[p + 8]));
        sum = wrapAdd(sum, wrapMul(w[3], middle[p]));
        sum = wrapAdd(sum, wrapMul(w[4], middle[p + 4]));
        sum = wrapAdd(sum, wrapMul(w[5], middle[p + 8]));
        sum = wrapAdd(sum, wrapMul(w[6], bottom[p]));
        sum = wrapAdd(sum, wrapMul(w[7], bottom[p + 4]));
        out[i] = wrapAdd(sum, wrapMul(w[8], bottom[p + 8]));
    }
    // Apart from the sums, so that the divisions run in vector registers.
    for (int32_t i = first; i < end; ++i) out[i] = divisor == 0 ? 255 : quotient(out[i], divisor);
    if (first > run.first) escape(op, run, out, run.first, first);
    if (end < lanes) escape(op, run, out, end < first ? first : end, lanes);
}

// tex(x, y) at the block's own pixels.
void texture(const BlockRun& run, int32_t* out) {
    const TextureGenerator& t = run.frame.evaluation.state.texture;
    const ColumnTexture& columns = *run.texture;
    for (int32_t i = run.first; i < run.lanes; ++i) {
        const TextureStep* sx = &columns.columns[static_cast<size_t>(run.x0 + i) * static_cast<size_t>(columns.octaves)];
        double sum = 0.0;
        for (int32_t o = 0; o < columns.octaves; ++o) sum += t.amplitude[o] * textureNoise(t, sx[o], run.rowTexture[o]);
        out[i] = textureByte(sum);
    }
}

}  // namespace

// atan2 through a polynomial the vector units run: after folding into the first eighth of the
// circle, the odd series of atan to the 23rd power is within 2e-11 of the angle, so t lies within
// 1e-8 of the library's value. Where that could move t across a whole number, and at the origin,
// the library decides.
void directionsOfRow(int32_t dx0, int32_t dy, int32_t count, int32_t* out) {
    constexpr double kPi = 3.14159265358979323846;
    constexpr double kTanEighth = 0.41421356237309504880;  // tan(pi/8)
    constexpr double kRound = 6755399441055744.0;           // 2^52 + 2^51: adding it rounds to whole numbers
    bool exact[kBlockLanes];
    const double y = static_cast<double>(dy), ay = y < 0 ? -y : y;
    for (int32_t start = 0; start < count; start += kBlockLanes) {
        const int32_t lanes = count - start < kBlockLanes ? count - start : kBlockLanes;
        int32_t* o = out + start;
        for (int32_t i = 0; i < lanes; ++i) {
            const double x = static_cast<double>(wrapAdd(dx0, start + i)), ax = x < 0 ? -x : x;
            const double big = ax > ay ? ax : ay, small = ax > ay ? ay : ax;
            const double r = small / (big == 0 ? 1.0 : big);
            const bool folded = r > kTanEighth;
            const double z = folded ? (r - 1.0) / (r + 1.0) : r;
            const double z2 = z * z;
            double p = 1.0 / 23;
            p = p * -z2 + 1.0 / 21;
            p = p * -z2 + 1.0 / 19;
            p = p * -z2 + 1.0 / 17;
            p = p * -z2 + 1.0 / 15;
            p = p * -z2 + 1.0 / 13;
            p = p * -z2 + 1.0 / 11;
            p = p * -z2 + 1.0 / 9;
            p = p * -z2 + 1.0 / 7;
            p = p * -z2 + 1.0 / 5;
            p = p * -z2 + 1.0 / 3;
            p = p * -z2 + 1.0;
            double angle = (folded ? kPi / 4 : 0.0) + z * p;
            angle = ay > ax ? kPi / 2 - angle : angle;
            angle = x < 0 ? kPi - angle : angle;
            angle = y < 0 ? -angle : angle;
            const double t = angle * (512.0 / kPi);
            const double whole = (t + kRound) - kRound;
            const double off = t - whole;
            exact[i] = big == 0 || (off < 0 ? -off : off) < 1e-6;
            o[i] = static_cast<int32_t>(t);
        }
        for (int32_t i = 0; i < lanes; ++i)
            if (exact[i]) o[i] = directionOf(wrapAdd(dx0, start + i), dy);
    }
}

void runBlockOp(const BlockOp& op, const BlockRun& run) {
    int32_t* __restrict out = run.values + static_cast<size_t>(op.out) * kBlockLanes;
    const int32_t* __restrict a = run.operands[op.in[0]];
    const int32_t* __restrict b = run.operands[op.in[1]];
    const int32_t* __restrict c = run.operands[op.in[2]];
    const int32_t* __restrict d = run.operands[op.in[3]];
    const int32_t* __restrict e = run.operands[op.in[4]];
    const int32_t f0 = run.first, n = run.lanes;
    const uint8_t* __restrict s = run.source;
    Evaluation& ev = run.frame.evaluation;
    const PixelContext& ctx = ev.ctx;
    const int32_t r0 = ctx.channelMap[0], g0 = ctx.channelMap[1], b0 = ctx.channelMap[2];
    switch (op.code) {
    case BlockCode::kColumnIndex: each(out, f0, n, [&](int32_t i) { return run.x0 + i; }); break;
    case BlockCode::kSource: {
        const uint8_t* p = s + op.value;
        each(out, f0, n, [&](int32_t i) { return int32_t{p[4 * i]}; });
        break;
    }
    case BlockCode::kByteTable: {
        const uint8_t* p = s + op.value;
        const int32_t* table = op.table;
        each(out, f0, n, [&](int32_t i) { return table[p[4 * i]]; });
        break;
    }
    case BlockCode::kIntensity:
        each(out, f0, n, [&](int32_t i) { return (76 * s[4 * i + r0] + 150 * s[4 * i + g0] + 29 * s[4 * i + b0]) / 256; });
        break;
    case BlockCode::kChromaU:
        each(out, f0, n, [&](int32_t i) { return (-19 * s[4 * i + r0] - 37 * s[4 * i + g0] + 56 * s[4 * i + b0]) / 256; });
        break;
    case BlockCode::kChromaV:
        each(out, f0, n, [&](int32_t i) { return (78 * s[4 * i + r0] - 65 * s[4 * i + g0] - 13 * s[4 * i + b0]) / 256; });
        break;
    case BlockCode::kDirection:
        directionsOfRow(wrapSub(run.x0 + f0, ctx.centerX), wrapSub(run.y, ctx.centerY), n - f0, out + f0);
        break;
    case BlockCode::kMagnitude: {
        const auto dy = static_cast<uint32_t>(wrapSub(run.y, ctx.centerY));
        const uint32_t dy2 = dy * dy;
        const auto dx0 = static_cast<uint32_t>(wrapSub(run.x0, ctx.centerX));
        // The square root of a 32-bit number, rounded correctly, truncates to the integer root.
        each(out, f0, n, [&](int32_t i) {
            const uint32_t dx = dx0 + static_cast<uint32_t>(i);
            const uint32_t sum = dx * dx + dy2;
            const double v = static_cast<double>(static_cast<int32_t>(sum ^ 0x80000000u)) + 2147483648.0;
            return static_cast<int32_t>(std::sqrt(v));
        });
        break;
    }
    case BlockCode::kAdd: each(out, f0, n, [&](int32_t i) { return wrapAdd(a[i], b[i]); }); break;
    case BlockCode::kSubtract: each(out, f0, n, [&](int32_t i) { return wrapSub(a[i], b[i]); }); break;
    case BlockCode::kMultiply: each(out, f0, n, [&](int32_t i) { return wrapMul(a[i], b[i]); }); break;
    case BlockCode::kBitAnd: each(out, f0, n, [&](int32_t i) { return a[i] & b[i]; }); break;
    case BlockCode::kBitOr: each(out, f0, n, [&](int32_t i) { return a[i] | b[i]; }); break;
    case BlockCode::kBitXor: each(out, f0, n, [&](int32_t i) { return a[i] ^ b[i]; }); break;
    case BlockCode::kEqual: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] == b[i]}; }); break;
    case BlockCode::kNotEqual: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] != b[i]}; }); break;
    case BlockCode::kLess: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] < b[i]}; }); break;
    case BlockCode::kGreater: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] > b[i]}; }); break;
    case BlockCode::kLessEqual: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] <= b[i]}; }); break;
    case BlockCode::kGreaterEqual: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] >= b[i]}; }); break;
    case BlockCode::kShiftLeft: each(out, f0, n, [&](int32_t i) { return wrapShiftLeft(a[i], b[i]); }); break;
    case BlockCode::kShiftRight: each(out, f0, n, [&](int32_t i) { return signedShiftRight(a[i], b[i]); }); break;
    case BlockCode::kDivide: each(out, f0, n, [&](int32_t i) { return quotient(a[i], b[i]); }); break;
    case BlockCode::kRemainder: each(out, f0, n, [&](int32_t i) { return remainder(a[i], b[i]); }); break;
    case BlockCode::kLogicalAnd: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] != 0 && b[i] != 0}; }); break;
    case BlockCode::kLogicalOr: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] != 0 || b[i] != 0}; }); break;
    case BlockCode::kMinimum: each(out, f0, n, [&](int32_t i) { return a[i] < b[i] ? a[i] : b[i]; }); break;
    case BlockCode::kMaximum: each(out, f0, n, [&](int32_t i) { return a[i] > b[i] ? a[i] : b[i]; }); break;
    case BlockCode::kDifference: each(out, f0, n, [&](int32_t i) { return wrapAbs(wrapSub(a[i], b[i])); }); break;
    case BlockCode::kPower: for (int32_t i = f0; i < n; ++i) out[i] = powerOf(a[i], b[i]); break;
    case BlockCode::kNegate: each(out, f0, n, [&](int32_t i) { return wrapNeg(a[i]); }); break;
    case BlockCode::kBitNot: each(out, f0, n, [&](int32_t i) { return ~a[i]; }); break;
    case BlockCode::kLogicalNot: each(out, f0, n, [&](int32_t i) { return int32_t{a[i] == 0}; }); break;
    case BlockCode::kAbsolute: each(out, f0, n, [&](int32_t i) { return wrapAbs(a[i]); }); break;
    case BlockCode::kSine: {
        const int16_t* table = kLookupTables.sine.data();
        each(out, f0, n, [&](int32_t i) { return int32_t{table[periodic(a[i], kTrigPeriod)]}; });
        break;
    }
    case BlockCode::kCosine: {
        const int16_t* table = kLookupTables.cosine.data();
        each(out, f0, n, [&](int32_t i) { return int32_t{table[periodic(a[i], kTrigPeriod)]}; });
        break;
    }
    case BlockCode::kTangent: {
        const int32_t* table = kLookupTables.tangent.data();
        each(out, f0, n, [&](int32_t i) { return table[periodic(a[i], kTrigPeriod)]; });
        break;
    }
    case BlockCode::kTriangle: {
        const int16_t* table = kLookupTables.triangle.data();
        each(out, f0, n, [&](int32_t i) { return int32_t{table[periodic(a[i], kTrigPeriod)]}; });
        break;
    }
    case BlockCode::kGradientEntry: {
        const uint8_t* gradient = ctx.currentGradient + op.value;
        each(out, f0, n, [&](int32_t i) { return int32_t{gradient[periodic(a[i], kGradientEntries) * 4]}; });
        break;
    }
    case BlockCode::kGammaEntry: {
        const int32_t* table = ctx.gammaTable[op.value];
        each(out, f0, n, [&](int32_t i) { return table[clampInt(a[i], 0, 255)]; });
        break;
    }
    case BlockCode::kConditional: each(out, f0, n, [&](int32_t i) { return a[i] != 0 ? b[i] : c[i]; }); break;
    case BlockCode::kAddLimited:
        each(out, f0, n, [&](int32_t i) { return wrapAdd(a[i], b[i]) < c[i] ? wrapAdd(a[i], b[i]) : c[i]; });
        break;
    case BlockCode::kSubtractLimited:
        each(out, f0, n, [&](int32_t i) {
            const int32_t dif = wrapAbs(wrapSub(a[i], b[i]));
            return dif > c[i] ? dif : c[i];
        });
        break;
    case BlockCode::kMix:
        each(out, f0, n, [&](int32_t i) {
            const int32_t r = wrapAdd(quotient(wrapMul(wrapSub(d[i], c[i]), b[i]), d[i]), quotient(wrapMul(a[i], c[i]), d[i]));
            return d[i] == 0 ? 0 : r;
        });
        break;
    case BlockCode::kScale:
        each(out, f0, n, [&](int32_t i) {
            const int32_t span = wrapSub(c[i], b[i]);
            const int32_t r = wrapAdd(quotient(wrapMul(wrapSub(a[i], b[i]), wrapSub(e[i], d[i])), span), d[i]);
            return span == 0 ? 0 : r;
        });
        break;
    case BlockCode::kSourceClamped: {
        const uint8_t* base = ctx.sourcePixels + op.value;
        const auto rowBytes = static_cast<uint32_t>(ctx.rowBytes);
        const int32_t maxX = ctx.maxX, maxY = ctx.maxY;
        for (int32_t i = f0; i < n; ++i) {
            const int32_t x = clampInt(a[i], 0, maxX), y = clampInt(b[i], 0, maxY);
            out[i] = base[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 4];
        }
        break;
    }
    case BlockCode::kSourceInside: {
        const uint8_t* base = ctx.sourcePixels + op.value;
        const auto rowBytes = static_cast<uint32_t>(ctx.rowBytes);
        const auto width = static_cast<uint32_t>(ctx.width), height = static_cast<uint32_t>(ctx.height);
        for (int32_t i = f0; i < n; ++i) {
            const auto x = static_cast<uint32_t>(a[i]), y = static_cast<uint32_t>(b[i]);
            out[i] = x < width && y < height ? base[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 4] : 0;
        }
        break;
    }
    case BlockCode::kConvolutionFixed: convolveFixed(op, run, out); break;
    case BlockCode::kCellRead: {
        const int32_t* cells = ctx.cells;
        const auto count = static_cast<uint32_t>(ctx.cellCount);
        for (int32_t i = f0; i < n; ++i) out[i] = static_cast<uint32_t>(a[i]) < count ? cells[a[i]] : 0;
        break;
    }
    case BlockCode::kCellWrite: {
        int32_t* cells = ctx.cells;
        const auto count = static_cast<uint32_t>(ctx.cellCount);
        for (int32_t i = f0; i < n; ++i) {
            const bool inside = static_cast<uint32_t>(b[i]) < count;
            if (inside) cells[b[i]] = a[i];
            out[i] = inside ? a[i] : 0;
        }
        break;
    }
    case BlockCode::kRadius: {
        const int16_t* cosine = kLookupTables.cosine.data();
        const int16_t* sine = kLookupTables.sine.data();
        const auto width = static_cast<uint32_t>(ctx.width), height = static_cast<uint32_t>(ctx.height);
        const auto channels = static_cast<uint32_t>(ctx.channelCount < 4 ? ctx.channelCount : 4);
        const bool knownMode = static_cast<uint32_t>(ctx.sourceMode) <= 3u;
        const auto rowBytes = static_cast<uint32_t>(ctx.rowBytes);
        for (int32_t i = f0; i < n; ++i) {
            const int at = periodic(a[i], kTrigPeriod);
            const int32_t x = wrapAdd(ctx.centerX, wrapMul(b[i], cosine[at]) / 512);
            const int32_t y = wrapAdd(ctx.centerY, wrapMul(b[i], sine[at]) / 512);
            // Inside the image every known source mode reads the point where it is.
            if (knownMode && static_cast<uint32_t>(x) < width && static_cast<uint32_t>(y) < height &&
                static_cast<uint32_t>(c[i]) < channels)
                out[i] = ctx.sourcePixels[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 4 +
                                          static_cast<uint32_t>(ctx.channelMap[c[i]])];
            else
                out[i] = ev.src(x, y, c[i]);
        }
        break;
    }
    case BlockCode::kCall1: for (int32_t i = f0; i < n; ++i) out[i] = ev.call1(op.value, a[i]); break;
    case BlockCode::kCall2: for (int32_t i = f0; i < n; ++i) out[i] = ev.call2(op.value, a[i], b[i]); break;
    case BlockCode::kCall3: for (int32_t i = f0; i < n; ++i) out[i] = ev.call3(op.value, a[i], b[i], c[i]); break;
    case BlockCode::kBorderRegion: for (int32_t i = f0; i < n; ++i) out[i] = ev.nbd(a[i], b[i], c[i]); break;
    case BlockCode::kMapImage: for (int32_t i = f0; i < n; ++i) out[i] = ev.bmap(a[i], b[i], c[i]); break;
    case BlockCode::kTexture: texture(run, out); break;
    case BlockCode::kEscape: escape(op, run, out, f0, n); break;
    }
}

}  // namespace lumen::formula
