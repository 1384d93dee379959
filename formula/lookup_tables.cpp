#include "formula/lookup_tables.h"

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>

namespace lumen::formula {
namespace {

// Entries where the historical tables step off the ideal curve; filters written against those
// tables depend on them, so they are kept exactly.
using Overrides = std::initializer_list<std::pair<int, int>>;
constexpr Overrides kSineOverrides = {{0, -4}, {512, -4}, {513, -7}};
constexpr Overrides kCosineOverrides = {{256, -4}, {384, -365}, {768, 3}, {1023, 512}};
constexpr Overrides kTangentOverrides = {{0, -6}, {128, 1024}, {255, 167761}, {256, -167772},
                                         {384, -1017}, {512, 6}, {768, -167772}};
constexpr Overrides kBellOverrides = {{0, 1}, {96, 735}, {255, 0}};
struct HueOverride {
    int index;
    uint8_t red, green, blue;
};
constexpr HueOverride kHueOverrides[] = {{0, 255, 0, 0},     {43, 251, 255, 0}, {85, 0, 255, 0},
                                         {128, 0, 252, 255}, {171, 5, 0, 255},  {213, 255, 0, 251},
                                         {255, 255, 0, 5}};

constexpr int32_t kTangentLimit = 167772;

template <typename Table>
void applyOverrides(Table& table, Overrides overrides) {
    for (auto [index, value] : overrides) table[index] = static_cast<typename Table::value_type>(value);
}

double angleOf(int i) { return 2.0 * std::numbers::pi * i / kTrigPeriod; }

void fillHue(LookupTables& t) {
    for (int i = 0; i < kHuePeriod; ++i) {
        // Six sectors red, yellow, green, cyan, blue, magenta; one component ramps in each.
        double h = i * 6.0 / 255.0;
        int sector = static_cast<int>(h) % 6;
        double f = h - std::floor(h);
        auto up = static_cast<uint8_t>(255.0 * f);
        auto down = static_cast<uint8_t>(255.0 * (1.0 - f));
        const uint8_t rgb[6][3] = {{255, up, 0}, {down, 255, 0}, {0, 255, up},
                                   {0, down, 255}, {up, 0, 255}, {255, 0, down}};
        for (int c = 0; c < 3; ++c) t.hue[c][i] = rgb[sector][c];
    }
    for (const HueOverride& o : kHueOverrides) {
        t.hue[0][o.index] = o.red;
        t.hue[1][o.index] = o.green;
        t.hue[2][o.index] = o.blue;
    }
}

LookupTables buildTables() {
    LookupTables t{};
    for (int i = 0; i < kTrigPeriod; ++i) {
        t.sine[i] = static_cast<int16_t>(std::floor(512.0 * std::sin(angleOf(i))));
        t.cosine[i] = static_cast<int16_t>(std::floor(512.0 * std::cos(angleOf(i))));
        double tangent = 1024.0 * std::tan(angleOf(i));
        if (tangent > kTangentLimit) tangent = kTangentLimit;
        if (tangent < -kTangentLimit) tangent = -kTangentLimit;
        t.tangent[i] = static_cast<int32_t>(tangent);
        int tri = i < 256 ? 2 * (i + 1) : i < 768 ? 1022 - 2 * i : 2 * i - 2046;
        t.triangle[i] = static_cast<int16_t>(tri);
    }
    for (int i = 0; i < 256; ++i) {
        // A Gaussian of width 38.1 around 127, pulled down slightly so the tails reach 0.
        double g = 1024.0 * std::exp(-((i - 127.0) * (i - 127.0)) / (2.0 * 38.1 * 38.1));
        double value = g - 2.2 * (1.0 - g / 1024.0);
        t.bell[i] = static_cast<int16_t>(value < 0 ? 0 : value);
    }
    applyOverrides(t.sine, kSineOverrides);
    applyOverrides(t.cosine, kCosineOverrides);
    applyOverrides(t.tangent, kTangentOverrides);
    applyOverrides(t.bell, kBellOverrides);
    fillHue(t);
    return t;
}

}  // namespace

const LookupTables kLookupTables = buildTables();

}  // namespace lumen::formula
