#pragma once
// 32-bit two's-complement arithmetic of the formula language: every result wraps, no operation
// is undefined, division by zero is answered by the caller's chosen value.
#include <cmath>
#include <cstdint>
#include <limits>

namespace lumen::formula {

inline int32_t wrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t wrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t wrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}
inline int32_t wrapNeg(int32_t a) { return static_cast<int32_t>(0u - static_cast<uint32_t>(a)); }
inline int32_t wrapAbs(int32_t a) { return a < 0 ? wrapNeg(a) : a; }

// Truncating division; x / 0 gives `byZero`, INT_MIN / -1 wraps to INT_MIN.
inline int32_t safeDiv(int32_t a, int32_t b, int32_t byZero = 0) {
    if (b == 0) return byZero;
    if (b == -1) return wrapNeg(a);
    return a / b;
}
// Remainder with the sign of a; x % 0 gives 0, INT_MIN % -1 gives 0.
inline int32_t safeRem(int32_t a, int32_t b) {
    if (b == 0 || b == -1) return 0;
    return a % b;
}

// Double to int32 as the x86 conversion does: truncation, and INT_MIN for NaN or any value
// outside the int32 range.
inline int32_t truncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

// Largest r with r*r <= n.
inline uint32_t isqrt(uint32_t n) {
    auto r = static_cast<uint32_t>(std::sqrt(static_cast<double>(n)));
    while (static_cast<uint64_t>(r) * r > n) --r;
    while (static_cast<uint64_t>(r + 1) * (r + 1) <= n) ++r;
    return r;
}

inline int32_t clampInt(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace lumen::formula
