// The operations over a block of pixels. Each loop does exactly what the compiled node does
// for one pixel; the simple ones are written so that the compiler turns them into vector code.
#include "formula/block_ops.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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

// For reads at computed indexes: vector units without gathers would spill the indexes to the
// stack and load them back a byte or a word at a time, slower than scalar loads.
template <class F>
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("no-tree-vectorize")))
#endif
inline void eachLookUp(int32_t* __restrict out, int32_t first, int32_t lanes, F f) {
    for (int32_t i = first; i < lanes; ++i) out[i] = f(i);
}

// sin, cos, tan and tri: a table of one turn.
template <class T>
void lookUp(const T* table, const BlockOp& op, const int32_t* __restrict a, int32_t* __restrict out, int32_t first,
            int32_t lanes) {
    if (op.operandInTable)
        eachLookUp(out, first, lanes, [&](int32_t i) { return int32_t{table[a[i]]}; });
    else
        eachLookUp(out, first, lanes, [&](int32_t i) { return int32_t{table[periodic(a[i], kTrigPeriod)]}; });
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

// Nine bytes times weights whose magnitudes add up to less than 2^24 / 255: every product and
// partial sum is a whole number below 2^24, which floats hold and add exactly, so no order of
// the sums and no wrapping can change the result.
bool sumsExactInFloats(const int32_t* w) {
    int64_t total = 0;
    for (int k = 0; k < 9; ++k) total += w[k] < 0 ? -int64_t{w[k]} : int64_t{w[k]};
    return total * 255 < (int64_t{1} << 24);
}

// The sums of `count` pixels from column `left` + 1 of the middle one of `rows`, divided by
// `divisor`: each of the three rows' channel bytes (at bit `shift` of the pixel) taken once as
// floats, then the nine taps. With sum and divisor whole and below 2^24 in magnitude, the
// rounded float quotient is off by at most |sum / divisor| / 2^24, less than 1 / |divisor|, the
// least distance from a quotient that is not whole to a whole number: truncated, it is the
// integer quotient.
void convolveInFloats(const int32_t* w, const uint8_t* const (&rows)[3], int shift, int32_t left, int32_t count,
                      int32_t divisor, int32_t* __restrict out) {
    float line[3][kBlockLanes + 2];
    for (int r = 0; r < 3; ++r) {
        const uint8_t* from = rows[r] + 4 * static_cast<size_t>(left);
        for (int32_t j = 0; j < count + 2; ++j) {
            uint32_t pixel;
            std::memcpy(&pixel, from + 4 * static_cast<size_t>(j), 4);
            line[r][j] = static_cast<float>(static_cast<int32_t>((pixel >> shift) & 255u));
        }
    }
    const float w0 = static_cast<float>(w[0]), w1 = static_cast<float>(w[1]), w2 = static_cast<float>(w[2]),
                w3 = static_cast<float>(w[3]), w4 = static_cast<float>(w[4]), w5 = static_cast<float>(w[5]),
                w6 = static_cast<float>(w[6]), w7 = static_cast<float>(w[7]), w8 = static_cast<float>(w[8]);
    const auto by = static_cast<float>(divisor);
    for (int32_t j = 0; j < count; ++j) {
        const float sum = w0 * line[0][j] + w1 * line[0][j + 1] + w2 * line[0][j + 2] + w3 * line[1][j] +
                          w4 * line[1][j + 1] + w5 * line[1][j + 2] + w6 * line[2][j] + w7 * line[2][j + 1] +
                          w8 * line[2][j + 2];
        out[j] = static_cast<int32_t>(sum / by);
    }
}

void sumNeighboursInIntegers(const int32_t* w, const uint8_t* const (&rows)[3], int32_t x0, int32_t first,
                             int32_t end, int32_t* out);

// The rows a kernel at row y reads: y - 1, y and y + 1 where they lie inside the image, and at
// its top and bottom edge the rows the source mode takes them to; a row the mode leaves outside
// reads zeroes, so its weights become 0. False for a mode that reads no point where it is.
bool kernelRows(const PixelContext& c, int32_t y, int32_t (&w)[10], const uint8_t* (&rows)[3]) {
    if (static_cast<uint32_t>(c.sourceMode) > 3u) return false;
    const auto stride = static_cast<size_t>(static_cast<uint32_t>(c.rowBytes));
    rows[1] = c.sourcePixels + static_cast<size_t>(y) * stride;
    for (const int r : {0, 2}) {
        int32_t row = y + r - 1;
        if (row < 0 || row > c.maxY) {
            if (!reduceCoordinate(c.sourceMode, row, c.height)) {
                for (int k = 0; k < 3; ++k) w[3 * r + k] = 0;
                row = y;
            }
        }
        rows[r] = c.sourcePixels + static_cast<size_t>(row) * stride;
    }
    return true;
}

void convolveFixed(const BlockOp& op, const BlockRun& run, int32_t* out) {
    const PixelContext& c = run.frame.evaluation.ctx;
    int32_t w[10];
    std::memcpy(w, op.node->weights, sizeof w);
    const int32_t lanes = run.lanes;
    const uint8_t* rows[3];
    if (!kernelRows(c, run.y, w, rows)) {
        escape(op, run, out, run.first, lanes);
        return;
    }
    // Columns 1 to maxX - 1 read their neighbours where they are; the edge columns run pixel by
    // pixel.
    const int32_t first = run.x0 + run.first == 0 ? 1 : run.first;
    const int32_t end = run.x0 + lanes > c.maxX ? c.maxX - run.x0 : lanes;  // columns before maxX
    const int32_t divisor = w[9];
    const bool inFloats = sumsExactInFloats(w);
    const bool divideInFloats = inFloats && divisor != 0 && divisor > -(1 << 24) && divisor < (1 << 24);
    if (end > first && inFloats)
        convolveInFloats(w, rows, 8 * op.node->value, run.x0 + first - 1, end - first, divideInFloats ? divisor : 1,
                         out + first);
    if (end > first && !inFloats) {
        const uint8_t* const channelRows[3] = {rows[0] + op.node->value, rows[1] + op.node->value,
                                               rows[2] + op.node->value};
        sumNeighboursInIntegers(w, channelRows, run.x0, first, end, out);
    }
    // Apart from the sums, so that the divisions run in vector registers.
    if (!divideInFloats)
        for (int32_t i = first; i < end; ++i) out[i] = divisor == 0 ? 255 : quotient(out[i], divisor);
    if (first > run.first) escape(op, run, out, run.first, first);
    if (end < lanes) escape(op, run, out, end < first ? first : end, lanes);
}

void sumNeighboursInIntegers(const int32_t* w, const uint8_t* const (&rows)[3], int32_t x0, int32_t first,
                             int32_t end, int32_t* out) {
    const uint8_t *top = rows[0], *middle = rows[1], *bottom = rows[2];
    for (int32_t i = first; i < end; ++i) {
        const size_t p = 4 * static_cast<size_t>(x0 + i - 1);
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
}

// src(x, y) with x and y clamped to the image. Where every byte offset fits 32 bits, the offsets
// are found first, in vector code, and the bytes read after: one loop doing both ran at the
// rate of its instructions, not of its loads.
void sourceClamped(const BlockOp& op, const PixelContext& ctx, const int32_t* __restrict a,
                   const int32_t* __restrict b, int32_t* __restrict out, int32_t first, int32_t lanes) {
    const uint8_t* base = ctx.sourcePixels + op.value;
    const auto rowBytes = static_cast<uint32_t>(ctx.rowBytes);
    const int32_t maxX = ctx.maxX, maxY = ctx.maxY;
    if (uint64_t{rowBytes} * static_cast<uint64_t>(ctx.height) > UINT32_MAX) {
        for (int32_t i = first; i < lanes; ++i) {
            const int32_t x = clampInt(a[i], 0, maxX), y = clampInt(b[i], 0, maxY);
            out[i] = base[static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 4];
        }
        return;
    }
    uint32_t offset[kBlockLanes];
    for (int32_t i = first; i < lanes; ++i)
        offset[i] = static_cast<uint32_t>(clampInt(b[i], 0, maxY)) * rowBytes +
                    static_cast<uint32_t>(clampInt(a[i], 0, maxX)) * 4u;
    eachLookUp(out, first, lanes, [&](int32_t i) { return int32_t{base[offset[i]]}; });
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

// atan2 through a polynomial in floats, which the vector units run four at a time: after
// folding into the first eighth of the circle, the odd series of atan to the 15th power is within
// 2e-8 of the angle, and the rounding of the inputs and of the float arithmetic adds less than
// 1e-6, so t lies within 1e-4 of the exact value. Where that could move t across a whole number
// (within 2e-3 of one), and at the origin, the library decides.
void directionsOfRow(int32_t dx0, int32_t dy, int32_t count, int32_t* out) {
    constexpr float kPi = 3.14159265358979323846f;
    constexpr float kTanEighth = 0.41421356237309504880f;  // tan(pi/8)
    constexpr float kRound = 12582912.0f;                   // 2^23 + 2^22: adding it rounds to whole numbers
    bool undecided[kBlockLanes];
    const auto y = static_cast<float>(dy);
    const float ay = y < 0 ? -y : y;
    for (int32_t start = 0; start < count; start += kBlockLanes) {
        const int32_t lanes = count - start < kBlockLanes ? count - start : kBlockLanes;
        int32_t* o = out + start;
        for (int32_t i = 0; i < lanes; ++i) {
            const auto x = static_cast<float>(wrapAdd(dx0, start + i));
            const float ax = x < 0 ? -x : x;
            const float big = ax > ay ? ax : ay, small = ax > ay ? ay : ax;
            const float r = small / (big == 0 ? 1.0f : big);
            const bool folded = r > kTanEighth;
            const float beyond = (r - 1.0f) / (r + 1.0f);  // computed either way, so the loop needs no branch
            const float z = folded ? beyond : r;
            const float z2 = z * z;
            float p = 1.0f / 15;
            p = p * -z2 + 1.0f / 13;
            p = p * -z2 + 1.0f / 11;
            p = p * -z2 + 1.0f / 9;
            p = p * -z2 + 1.0f / 7;
            p = p * -z2 + 1.0f / 5;
            p = p * -z2 + 1.0f / 3;
            p = p * -z2 + 1.0f;
            float angle = (folded ? kPi / 4 : 0.0f) + z * p;
            angle = ay > ax ? kPi / 2 - angle : angle;
            angle = x < 0 ? kPi - angle : angle;
            angle = y < 0 ? -angle : angle;
            const float t = angle * (512.0f / kPi);
            const float whole = (t + kRound) - kRound;
            const float off = t - whole;
            undecided[i] = (big == 0) | ((off < 0 ? -off : off) < 2e-3f);
            o[i] = static_cast<int32_t>(t);
        }
        for (int32_t i = 0; i < lanes; ++i)
            if (undecided[i]) o[i] = directionOf(wrapAdd(dx0, start + i), dy);
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
        eachLookUp(out, f0, n, [&](int32_t i) { return table[p[4 * i]]; });
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
    case BlockCode::kDivideInFloats:
        // Exact as for the kernels' sums: the rounded quotient is off by less than 1 / |b|.
        each(out, f0, n, [&](int32_t i) {
            const auto q = static_cast<int32_t>(static_cast<float>(a[i]) / static_cast<float>(b[i] == 0 ? 1 : b[i]));
            return b[i] == 0 ? 0 : q;
        });
        break;
    case BlockCode::kRemainder: each(out, f0, n, [&](int32_t i) { return remainder(a[i], b[i]); }); break;
    case BlockCode::kDivideByPowerOfTwo: {
        const int32_t shift = op.value, bias = static_cast<int32_t>((1u << shift) - 1);
        each(out, f0, n, [&](int32_t i) { return (a[i] + ((a[i] >> 31) & bias)) >> shift; });
        break;
    }
    case BlockCode::kRemainderByPowerOfTwo: {
        const int32_t shift = op.value, bias = static_cast<int32_t>((1u << shift) - 1);
        each(out, f0, n, [&](int32_t i) {
            const auto truncated = static_cast<uint32_t>((a[i] + ((a[i] >> 31) & bias)) >> shift) << shift;
            return static_cast<int32_t>(static_cast<uint32_t>(a[i]) - truncated);
        });
        break;
    }
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
    case BlockCode::kSine: lookUp(kLookupTables.sine.data(), op, a, out, f0, n); break;
    case BlockCode::kCosine: lookUp(kLookupTables.cosine.data(), op, a, out, f0, n); break;
    case BlockCode::kTangent: lookUp(kLookupTables.tangent.data(), op, a, out, f0, n); break;
    case BlockCode::kTriangle: lookUp(kLookupTables.triangle.data(), op, a, out, f0, n); break;
    case BlockCode::kGradientEntry: {
        const uint8_t* gradient = ctx.currentGradient + op.value;
        if (op.operandInTable)
            eachLookUp(out, f0, n, [&](int32_t i) { return int32_t{gradient[a[i] * 4]}; });
        else
            eachLookUp(out, f0, n, [&](int32_t i) { return int32_t{gradient[periodic(a[i], kGradientEntries) * 4]}; });
        break;
    }
    case BlockCode::kGammaEntry: {
        const int32_t* table = ctx.gammaTable[op.value];
        if (op.operandInTable)
            eachLookUp(out, f0, n, [&](int32_t i) { return table[a[i]]; });
        else
            eachLookUp(out, f0, n, [&](int32_t i) { return table[clampInt(a[i], 0, 255)]; });
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
    case BlockCode::kSourceClamped: sourceClamped(op, ctx, a, b, out, f0, n); break;
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
