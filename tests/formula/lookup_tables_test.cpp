// The constant tables: every entry filters are known to rely on, the exact triangle, and the
// periodic lookup of negative arguments.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "eval_fixture.h"
#include "formula/lookup_tables.h"

namespace lumen::formula::testing {
namespace {

using Entries = std::vector<std::pair<int, int>>;

void expectEntries(const auto& table, const Entries& entries, const char* name) {
    for (auto [index, value] : entries) EXPECT_EQ(table[index], value) << name << "[" << index << "]";
}

TEST(LookupTables, TellingEntries) {
    const LookupTables& t = kLookupTables;
    expectEntries(t.sine, {{0, -4}, {1, 3}, {128, 362}, {256, 512}, {512, -4}, {513, -7}, {768, -512}, {1023, -4}},
                  "sine");
    expectEntries(t.cosine, {{0, 512}, {128, 362}, {256, -4}, {384, -365}, {512, -512}, {768, 3}, {1023, 512}},
                  "cosine");
    expectEntries(t.tangent,
                  {{0, -6}, {1, 6}, {128, 1024}, {255, 167761}, {256, -167772}, {384, -1017}, {512, 6}, {768, -167772}},
                  "tangent");
    expectEntries(t.triangle, {{0, 2}, {255, 512}, {511, 0}, {512, -2}, {767, -512}, {1023, 0}}, "triangle");
    expectEntries(t.bell, {{0, 1}, {32, 43}, {64, 259}, {96, 735}, {127, 1024}, {128, 1023}, {160, 703}, {192, 237},
                           {224, 37}, {255, 0}},
                  "bell");
    const std::vector<std::pair<int, std::array<int, 3>>> hue = {
        {0, {255, 0, 0}},   {43, {251, 255, 0}}, {85, {0, 255, 0}},   {128, {0, 252, 255}},
        {171, {5, 0, 255}}, {213, {255, 0, 251}}, {255, {255, 0, 5}}};
    for (const auto& [index, rgb] : hue)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(t.hue[c][index], rgb[c]) << "hue[" << index << "][" << c << "]";
}

TEST(LookupTables, ShapesStayWithinTheirRanges) {
    const LookupTables& t = kLookupTables;
    for (int i = 0; i < kTrigPeriod; ++i) {
        EXPECT_LE(std::abs(t.sine[i]), 512);
        EXPECT_LE(std::abs(t.cosine[i]), 512);
        EXPECT_LE(std::abs(t.tangent[i]), 167772);
        if (i > 0) EXPECT_EQ(std::abs(t.triangle[i] - t.triangle[i - 1]), 2) << i;
    }
    for (int i = 1; i <= 127; ++i) EXPECT_GE(t.bell[i], t.bell[i - 1]) << i;
    for (int i = 128; i < 256; ++i) EXPECT_LE(t.bell[i], t.bell[i - 1]) << i;
    // Around the wheel at most one component is neither 0 nor 255.
    for (int i = 0; i < kHuePeriod; ++i) {
        int partial = 0;
        for (int c = 0; c < 3; ++c) partial += t.hue[c][i] != 0 && t.hue[c][i] != 255;
        EXPECT_LE(partial, 1) << i;
    }
}

TEST(LookupTables, NegativeArgumentsLandOneEntryLow) {
    EXPECT_EQ(periodicIndex(0, 1024), 0);
    EXPECT_EQ(periodicIndex(1024, 1024), 0);
    EXPECT_EQ(periodicIndex(1025, 1024), 1);
    EXPECT_EQ(periodicIndex(-1, 1024), 1022);
    EXPECT_EQ(periodicIndex(-1024, 1024), 1023);
    EXPECT_EQ(periodicIndex(-1025, 1024), 1022);
    EXPECT_EQ(periodicIndex(INT32_MIN, 1024), 1023);
    EXPECT_EQ(periodicIndex(-1, 256), 254);
}

class TableFunctionTest : public EvalFixture {
protected:
    void SetUp() override { makeImage(4, 4, false); }
};

TEST_F(TableFunctionTest, TrigonometryThroughThePeriodicRule) {
    EXPECT_EQ(eval("sin(0)"), -4);
    EXPECT_EQ(eval("sin(256)"), 512);
    EXPECT_EQ(eval("sin(-1)"), -7);
    EXPECT_EQ(eval("sin(1024)"), -4);
    EXPECT_EQ(eval("cos(-1024)"), 512);
    EXPECT_EQ(eval("tan(1152)"), 1024);
    EXPECT_EQ(eval("tri(-1)"), kLookupTables.triangle[1022]);
    EXPECT_EQ(eval("r2x(0,1024)"), 1024);
    EXPECT_EQ(eval("r2y(256,-1024)"), -1024);
    EXPECT_EQ(eval("r2x(256,200)"), -1);  // -4*200/512 truncates toward zero
}

TEST_F(TableFunctionTest, BellAndHueOutsideTheirRanges) {
    EXPECT_EQ(eval("bell(127)"), 1024);
    EXPECT_EQ(eval("bell(256)"), 0);
    EXPECT_EQ(eval("bell(-1)"), 0);
    EXPECT_EQ(eval("hue(43,0)"), 251);
    EXPECT_EQ(eval("hue(299,0)"), 251);
    EXPECT_EQ(eval("hue(-1,2)"), kLookupTables.hue[2][254]);
    EXPECT_EQ(eval("hue(0,3)"), 0);
    EXPECT_EQ(eval("hue(0,-1)"), 0);
}

class GradientTest : public EvalFixture {
protected:
    void SetUp() override {
        // Gradient n, entry e: (n, e, 255 - e, 255).
        table.resize(static_cast<size_t>(kGradientCount) * kGradientBytes);
        for (int n = 0; n < kGradientCount; ++n)
            for (int e = 0; e < kGradientEntries; ++e) {
                uint8_t* entry = &table[static_cast<size_t>(n) * kGradientBytes + e * 4];
                entry[0] = static_cast<uint8_t>(n);
                entry[1] = static_cast<uint8_t>(e);
                entry[2] = static_cast<uint8_t>(255 - e);
                entry[3] = 255;
            }
        setUp.gradientTable = table.data();
        setUp.gradientIndex = 7;
        makeImage(4, 4, false);
    }
    std::vector<uint8_t> table;
};

TEST_F(GradientTest, GradReadsTheSelectedGradient) {
    EXPECT_EQ(eval("grad(10,0)"), 7);
    EXPECT_EQ(eval("grad(10,1)"), 10);
    EXPECT_EQ(eval("grad(-1,1)"), 254);
    EXPECT_EQ(eval("grad(266,2)"), 245);
    EXPECT_EQ(eval("grad(0,3)"), 0);  // no alpha channel
    EXPECT_EQ(eval("gradient(42),grad(0,0)"), 42);
    EXPECT_EQ(eval("gradient(100),grad(0,0)"), 42);  // out of range keeps the selection
    EXPECT_EQ(context.gradientByUser, 0);
    eval("gradient(-1)");
    EXPECT_EQ(context.gradientByUser, 1);
    eval("gradient(5)");
    EXPECT_EQ(context.gradientByUser, 0);
}

TEST_F(GradientTest, IndexOutsideTheTableSelectsNothing) {
    setUp.gradientIndex = 100;
    reset();
    EXPECT_EQ(eval("grad(0,0)"), 0);
    setUp.gradientIndex = -1;
    reset();
    EXPECT_EQ(eval("grad(0,1)"), 0);
    setUp.gradientTable = nullptr;
    setUp.gradientIndex = 0;
    reset();
    EXPECT_EQ(eval("gradient(3),grad(0,1)"), 0);
}

}  // namespace
}  // namespace lumen::formula::testing
