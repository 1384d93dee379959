#pragma once
// The constant tables of the formula built-ins, and their periodic lookup.
#include <array>
#include <cstdint>

namespace lumen::formula {

constexpr int kTrigPeriod = 1024;  // angle units in a full turn
constexpr int kHuePeriod = 256;

struct LookupTables {
    std::array<int16_t, kTrigPeriod> sine;
    std::array<int16_t, kTrigPeriod> cosine;
    std::array<int32_t, kTrigPeriod> tangent;
    std::array<int16_t, kTrigPeriod> triangle;
    std::array<int16_t, 256> bell;
    std::array<std::array<uint8_t, kHuePeriod>, 3> hue;  // rows red, green, blue
};

// Built once, before main (no lock on the per-pixel path).
extern const LookupTables kLookupTables;

// Index into a table of `period` entries. A negative argument lands one entry lower than a
// plain modulo would (-1 reads period-2, -period reads period-1): filters rely on it.
inline int periodicIndex(int32_t a, int32_t period) {
    int32_t r = a % period;
    return a >= 0 ? r : period - 1 + r;
}

inline int32_t sineOf(int32_t a) { return kLookupTables.sine[periodicIndex(a, kTrigPeriod)]; }
inline int32_t cosineOf(int32_t a) { return kLookupTables.cosine[periodicIndex(a, kTrigPeriod)]; }

}  // namespace lumen::formula
