// Built-ins that read images: the four source modes, averages, the destination, polar reads,
// convolutions and map lookups.
#include <gtest/gtest.h>

#include "eval_fixture.h"
#include "formula/evaluation.h"

namespace lumen::formula::testing {
namespace {

class ImageBuiltinTest : public EvalFixture {
protected:
    // 10 x 8; red of pixel (x, y) is 10x + y, so src(...,0) tells which pixel was read.
    void SetUp() override { makeImage(10, 8, false); }
};

TEST_F(ImageBuiltinTest, SourceModesAtTheEdges) {
    EXPECT_EQ(eval("src(-1,0,0)"), 0);           // mode 0: clamped to column 0
    EXPECT_EQ(eval("src(12,9,0)"), 97);          // clamped to (9, 7)
    EXPECT_EQ(eval("srcmode(1),src(-1,0,0)"), 0);
    EXPECT_EQ(eval("srcmode(1),src(10,0,1)"), 0);
    EXPECT_EQ(eval("srcmode(1),src(9,7,1)"), 109);
    EXPECT_EQ(eval("srcmode(2),src(-1,0,0)"), 80);   // column X - 2
    EXPECT_EQ(eval("srcmode(2),src(-10,0,0)"), 90);
    EXPECT_EQ(eval("srcmode(2),src(13,-1,0)"), 36);  // column 3, row Y - 2
    EXPECT_EQ(eval("srcmode(3),src(-1,0,0)"), 10);   // mirrored to column 1
    EXPECT_EQ(eval("srcmode(3),src(10,0,0)"), 90);
    EXPECT_EQ(eval("srcmode(3),src(12,0,0)"), 70);
    EXPECT_EQ(eval("srcmode(3),src(-2147483647-1,-2147483647-1,0)") >= 0, true);
    EXPECT_EQ(eval("srcmode(4),src(1,1,0)"), 0);
    EXPECT_EQ(eval("srcmode(0),src(1,1,3)"), 255);  // channel outside the image's three
    EXPECT_EQ(eval("src(1,1,-1)"), 255);
}

TEST_F(ImageBuiltinTest, AveragesAndTheDestination) {
    // Around (4, 3): above 42, left 33, right 53, below 44, centre 43 twice -> 258 / 6.
    EXPECT_EQ(eval("asrc(4,3,0)"), 43);
    EXPECT_EQ(eval("asrc(0,0,0)"), (0 + 0 + 10 + 1 + 0) / 6);
    destination[(2 * 10 + 3) * 4 + 1] = 77;
    EXPECT_EQ(eval("dst(3,2,1)"), 77);
    EXPECT_EQ(eval("dst(-5,-5,0)"), destination[0]);
    EXPECT_EQ(eval("srcmode(1),dst(30,2,0)"), destination[(2 * 10 + 9) * 4]);
    EXPECT_EQ(eval("dst(0,0,3)"), 255);
}

TEST_F(ImageBuiltinTest, PolarReadsAroundTheCentre) {
    // Centre (5, 4); angle 0 reaches to the right, 256 downwards (sine 512).
    EXPECT_EQ(eval("rad(0,2,0)"), 74);
    EXPECT_EQ(eval("rad(256,2,0)"), 56);    // cos(256) = -4: x stays 5
    EXPECT_EQ(eval("rad(0,0,0)"), 54);
    // arad averages five neighbours; its angles d-1 and d+1 wrap like any other.
    int32_t expected = (eval("rad(0,3,0)") + eval("rad(0,2,0)") + eval("rad(-1,2,0)") +
                        eval("rad(0,1,0)") + eval("rad(1,2,0)")) / 5;
    EXPECT_EQ(eval("arad(0,2,0)"), expected);
    EXPECT_EQ(eval("arad(-2147483647-1,2,0)"), eval("arad(-2147483647-1,2,0)"));
}

TEST_F(ImageBuiltinTest, IntensityFunctionClampsItsPoint) {
    int32_t at00 = (76 * 0 + 150 * 100 + 29 * 200) / 256;
    EXPECT_EQ(eval("i(0,0)"), at00);
    EXPECT_EQ(eval("i(-4,-4)"), at00);
    EXPECT_EQ(eval("i(20,20)"), (76 * 97 + 150 * 109 + 29 * 193) / 256);
}

TEST_F(ImageBuiltinTest, Convolutions) {
    // Identity kernel returns the channel at the current pixel.
    EXPECT_EQ(eval("cnv(0,0,0,0,1,0,0,0,0,1)", 4, 3, 0), 43);
    EXPECT_EQ(eval("cnv(0,0,0,0,1,0,0,0,0,0)", 4, 3, 0), 255);
    // A horizontal gradient: right minus left is 20 on red.
    EXPECT_EQ(eval("cnv(0,0,0,-1,0,1,0,0,0,1)", 4, 3, 0), 20);
    EXPECT_EQ(eval("cnv(1,1,1,1,1,1,1,1,1,9)", 4, 3, 1), 104);
    EXPECT_EQ(eval("xycnv(7,1,0,0,0,0,1,0,0,0,0,1)", 0, 0, 0), 71);
    EXPECT_EQ(eval("xycnv(7,1,0,0,0,0,1,0,0,0,0,0)"), 255);
    EXPECT_EQ(eval("icnv(0,0,0,0,1,0,0,0,0,1)", 4, 3), eval("i(4,3)"));
    EXPECT_EQ(eval("icnv(1,0,0,0,0,0,0,0,0,1)", 0, 0), eval("i(0,0)"));  // clamped corner
    EXPECT_EQ(eval("cnv(2147483647,2147483647,0,0,0,0,0,0,0,1)", 4, 3, 0),
              static_cast<int32_t>(2147483647u * 32u + 2147483647u * 42u));
}

class MapLookupTest : public EvalFixture {
protected:
    void SetUp() override {
        // Map 0: column index; map 1: row index.
        for (int row = 0; row < kMapSide; ++row)
            for (int col = 0; col < kMapSide; ++col) {
                columns[row * kMapSide + col] = static_cast<uint8_t>(col);
                rows[row * kMapSide + col] = static_cast<uint8_t>(row);
            }
        setUp.textureMaps[0] = columns.data();
        setUp.textureMaps[1] = rows.data();
        makeImage(4, 4, false);
    }
    std::array<uint8_t, kMapSide * kMapSide> columns{};
    std::array<uint8_t, kMapSide * kMapSide> rows{};
};

TEST_F(MapLookupTest, ReadsAndInterpolatesMaps) {
    EXPECT_EQ(eval("bmap(0,10,3)"), 10);
    EXPECT_EQ(eval("bmap(1,10,3)"), 3);
    EXPECT_EQ(eval("bmap(0,255,0)"), 255);
    EXPECT_EQ(eval("bmap(0,300,0)"), 255);  // mode 0 clamps to the map
    EXPECT_EQ(eval("bmap(2,1,1)"), 0);      // no map image
    EXPECT_EQ(eval("bmap(-5,7,1)"), 7);     // n clamped to 0
    // Stretched over 512 x 512, odd points fall halfway between two columns.
    EXPECT_EQ(eval("bmapsize(-512,512),bmap(0,21,0)"), 10);
    EXPECT_EQ(context.mapWidth, 512);
    EXPECT_EQ(eval("bmap(0,20,0)"), 10);
    EXPECT_EQ(eval("srcmode(1),bmap(0,512,0)"), 0);
    EXPECT_EQ(eval("srcmode(2),bmap(0,-2,0)"), eval("srcmode(2),bmap(0,509,0)"));
}

TEST_F(MapLookupTest, ZeroOrOverflowingMapSizesReadNothing) {
    EXPECT_EQ(eval("bmapsize(0,256),bmap(0,5,5)"), 0);
    EXPECT_EQ(eval("bmapsize(256,0),bmap(0,5,5)"), 0);
    EXPECT_EQ(eval("bmapsize(-2147483647-1,256),bmap(0,5,5)"), 0);
    int32_t big = eval("bmapsize(2147483647,2147483647),bmap(0,2147483000,2147483000)");
    EXPECT_GE(big, 0);
    EXPECT_LE(big, 255);
}

TEST(SourceModes, ReduceCoordinate) {
    int32_t v = -1;
    EXPECT_TRUE(reduceCoordinate(2, v, 10));
    EXPECT_EQ(v, 8);
    v = -1;
    EXPECT_TRUE(reduceCoordinate(3, v, 10));
    EXPECT_EQ(v, 1);
    v = -11;
    EXPECT_TRUE(reduceCoordinate(3, v, 10));
    EXPECT_EQ(v, 8);
    v = 5;
    EXPECT_FALSE(reduceCoordinate(0, v, 0));
    v = 5;
    EXPECT_FALSE(reduceCoordinate(-1, v, 10));
    for (int32_t mode = 0; mode < 4; ++mode)
        for (int32_t start : {INT32_MIN, -1000001, -21, -1, 0, 9, 10, 999999, INT32_MAX}) {
            v = start;
            if (reduceCoordinate(mode, v, 10)) {
                EXPECT_GE(v, 0) << mode << " " << start;
                EXPECT_LT(v, 10) << mode << " " << start;
            }
        }
}

}  // namespace
}  // namespace lumen::formula::testing
