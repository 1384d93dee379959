// Controls, colours, arithmetic helpers, random numbers, storage cells, gamma and textures.
#include <gtest/gtest.h>

#include <set>

#include "eval_fixture.h"

namespace lumen::formula::testing {
namespace {

class MiscBuiltinTest : public EvalFixture {
protected:
    void SetUp() override {
        setUp.controls = {10, 20, 0, 0, 50, 50, 200, 100};
        setUp.foreground = {1, 2, 3};
        setUp.background = {4, 5, 6};
        makeImage(10, 8, false);
    }
};

TEST_F(MiscBuiltinTest, ControlsAndTheirMappings) {
    EXPECT_EQ(eval("ctl(0)"), 10);
    EXPECT_EQ(eval("ctl(7)"), 100);
    EXPECT_EQ(eval("ctl(8)"), 0);
    EXPECT_EQ(eval("ctl(-1)"), 0);
    EXPECT_EQ(eval("val(6,0,255)"), 200);
    EXPECT_EQ(eval("val(1,100,-155)"), 100 + 20 * -255 / 255);
    EXPECT_EQ(eval("val(8,0,255)"), 0);
    EXPECT_EQ(eval("map(1,77)"), 255);  // both controls 0
    EXPECT_EQ(eval("map(2,50)"), 0);    // lo == hi
    EXPECT_EQ(eval("map(2,51)"), 255);
    EXPECT_EQ(eval("map(0,20)"), 0);
    EXPECT_EQ(eval("map(0,10)"), 255);
    EXPECT_EQ(eval("map(3,150)"), 127);
    EXPECT_EQ(eval("map(4,1)"), 0);
}

TEST_F(MiscBuiltinTest, ColoursAndChannelRanges) {
    EXPECT_EQ(eval("frg(0)"), 1);
    EXPECT_EQ(eval("bkg(2)"), 6);
    EXPECT_EQ(eval("frg(3)"), 0);
    EXPECT_EQ(eval("hmin(0)"), 0);
    EXPECT_EQ(eval("hmax(0)"), 97);
    EXPECT_EQ(eval("hmin(2)"), 193);
    EXPECT_EQ(eval("hmin(3)"), 255);  // no alpha: never tracked
    EXPECT_EQ(eval("hmax(3)"), 0);
    EXPECT_EQ(eval("hmin(4)"), 0);
    EXPECT_EQ(eval("hmax(-1)"), 255);
    makeImage(10, 8, true, {2, 1, 0, 3});
    EXPECT_EQ(eval("frg(0)"), 3);  // colour components follow the channel map
    EXPECT_EQ(eval("hmax(0)"), 97);
    EXPECT_EQ(eval("hmin(3)"), 50);
}

TEST_F(MiscBuiltinTest, ArithmeticHelpers) {
    EXPECT_EQ(eval("abs(-5)"), 5);
    EXPECT_EQ(eval("abs(-2147483647-1)"), INT32_MIN);
    EXPECT_EQ(eval("sgn(-9)"), -1);
    EXPECT_EQ(eval("sgn(0)"), 0);
    EXPECT_EQ(eval("max(-3,2)"), 2);
    EXPECT_EQ(eval("mix(100,200,64,256)"), (256 - 64) * 200 / 256 + 100 * 64 / 256);
    EXPECT_EQ(eval("mix(1,2,3,0)"), 0);
    EXPECT_EQ(eval("scl(5,3,3,0,255)"), 0);
    EXPECT_EQ(eval("scl(50,0,100,0,255)"), 127);
    EXPECT_EQ(eval("sqr(-4)"), 0);
    EXPECT_EQ(eval("sqr(17)"), 4);
    EXPECT_EQ(eval("sqr(2147483647)"), 46340);
    EXPECT_EQ(eval("c2m(3,4)"), 5);
    EXPECT_EQ(eval("c2m(65536,0)"), 0);  // 32-bit unsigned products wrap
    EXPECT_EQ(eval("c2d(0,1)"), 256);
    EXPECT_EQ(eval("c2d(-1,0)"), 512);
    EXPECT_EQ(eval("c2d(1,-1)"), -128);
}

TEST_F(MiscBuiltinTest, BorderDistancesAndRegions) {
    EXPECT_EQ(eval("sbd(0,4)"), 0);
    EXPECT_EQ(eval("sbd(4,3)"), 3);
    EXPECT_EQ(eval("sbd(8,5)"), 1);
    // Proportional regions on 10 x 8 (region 3 is the right border, 4 the bottom one).
    EXPECT_EQ(eval("nbd(5,1,1)"), 1);
    EXPECT_EQ(eval("nbd(1,4,1)"), 2);
    EXPECT_EQ(eval("nbd(9,4,1)"), 3);
    EXPECT_EQ(eval("nbd(5,7,1)"), 4);
    EXPECT_EQ(eval("nbd(1,4,0)"), 1);
    EXPECT_EQ(eval("nbd(5,1,0)"), 2);
    EXPECT_EQ(eval("nbd(9,5,0)"), 3);
    EXPECT_EQ(eval("nbd(5,5,0)"), 3);
    EXPECT_EQ(eval("nbd(3,6,0)"), 4);
    EXPECT_EQ(eval("nbd(3,3,0)"), 0);
}

TEST_F(MiscBuiltinTest, StorageCells) {
    EXPECT_EQ(eval("put(7,300)"), 0);
    EXPECT_EQ(eval("get(300)"), 0);
    EXPECT_EQ(eval("put(7,255)"), 7);
    EXPECT_EQ(eval("get(-1)"), 0);
    EXPECT_EQ(eval("storage(0),storage(64001),get(255)"), 7);
    EXPECT_EQ(context.cellCount, 256);
    EXPECT_EQ(eval("storage(1000)"), 0);
    EXPECT_EQ(eval("get(255)"), 0);  // fresh cells are zero
    EXPECT_EQ(eval("put(7,300)"), 7);
    EXPECT_EQ(eval("get(300)"), 7);
    EXPECT_EQ(eval("storage(64000),put(1,63999)"), 1);
    EXPECT_EQ(context.cellCount, 64000);
}

TEST_F(MiscBuiltinTest, RandomNumbers) {
    // The generator's first draws from seed 1: 41, 18467, 6334.
    EXPECT_EQ(eval("rnd(0,32767)"), 41);
    EXPECT_EQ(eval("rnd(0,32767)"), 18467);
    EXPECT_EQ(eval("rst(0),rnd(0,32767)"), 41);  // rst(s) seeds |s| + 1
    EXPECT_EQ(eval("rnd(5,5)"), 5);
    EXPECT_EQ(eval("rnd(0,-1)"), 0);
    EXPECT_EQ(eval("rst(-1)"), 0);
    std::set<int32_t> seen;
    for (int i = 0; i < 200; ++i) {
        int32_t v = eval("rnd(-3,3)");
        EXPECT_GE(v, -3);
        EXPECT_LE(v, 3);
        seen.insert(v);
    }
    EXPECT_EQ(seen.size(), 7u);
    EXPECT_EQ(eval("rnd(-2147483647-1,2147483647)"), 0) << "the whole range's width wraps to 0";
}

TEST_F(MiscBuiltinTest, GammaTables) {
    EXPECT_EQ(eval("gam(0,0)"), 0);  // zero before any gamma call
    EXPECT_EQ(eval("gamma(255,0,510)"), 0);
    // p = 255 is the straight line 255 - (256 - j); p = 0 gives 255 - 255.
    EXPECT_EQ(eval("gam(0,0)"), -1);
    EXPECT_EQ(eval("gam(100,0)"), 99);
    EXPECT_EQ(eval("gam(100,1)"), 0);
    EXPECT_EQ(eval("gam(-7,0)"), -1);
    EXPECT_EQ(eval("gam(999,0)"), 254);
    EXPECT_EQ(eval("gam(100,3)"), 0);
    EXPECT_EQ(eval("gam(100,2)"), 160);
    // Extreme exponents overflow the curve; the table takes the conversion's INT_MIN.
    eval("gamma(-2147483647-1,0,0)");
    EXPECT_EQ(context.gammaTable[0][0], 255);
    EXPECT_EQ(context.gammaTable[0][255], static_cast<int32_t>(255u - 0x80000000u));
}

TEST_F(MiscBuiltinTest, Textures) {
    EXPECT_EQ(eval("tex(0,0)"), 0);
    EXPECT_EQ(eval("texture(100,100,8,4,11)"), 0);
    std::set<int32_t> values;
    for (int32_t p = -300; p < 300; p += 7) {
        int32_t v = eval("tex(" + std::to_string(p) + "," + std::to_string(p / 2) + ")");
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 255);
        values.insert(v);
    }
    EXPECT_GT(values.size(), 10u);
    // The same seed makes the same texture; grid and octaves are limited.
    int32_t first = eval("tex(37,58)");
    EXPECT_EQ(eval("texture(100,100,8,4,11),tex(37,58)"), first);
    EXPECT_EQ(eval("texture(100,100,999,99,11),tex(-2147483647-1,2147483647)") >= 0, true);
    EXPECT_EQ(eval("texture(0,100,8,4,11),tex(5,5)"), 0);
    // Seeding for the texture moves the sequence rnd continues: seed 0 draws 38 for the
    // one grid cell, then 7719.
    EXPECT_EQ(eval("texture(4,4,1,1,0),rnd(0,32767)"), 7719);
}

}  // namespace
}  // namespace lumen::formula::testing
