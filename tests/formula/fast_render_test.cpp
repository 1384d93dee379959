// The compiled render, in blocks and pixel by pixel, on one thread and on several, gives the
// tree walker's bytes for the benchmark set, the corpus and thousands of random filters.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "filter_sets.h"
#include "tests/filter_files.h"
#include "filters/afs_file.h"
#include "filters/file_system.h"
#include "formula/block_ops.h"
#include "formula/block_program.h"
#include "formula/evaluation.h"
#include "formula/fast_program.h"
#include "random_formula.h"
#include "render_comparison.h"

namespace lumen::formula::testing {
namespace {

using testing_support::NamedFilter;

TEST(FastRender, BenchmarkSetMatchesTheTreeWalker) {
    auto filters = testing_support::readBenchmarkFilters(LUMEN_BENCH_FILTERS);
    ASSERT_GE(filters.size(), 10u);
    expectSameBytesOnAllScenes(filters, 37, 23);
    // Rows of several blocks, the last one short.
    expectSameBytesOnAllScenes(filters, 2 * kBlockLanes + 45, 6);
}

// The text filters a directory holds that the plug-in's reader accepts.
std::vector<NamedFilter> readableTextFilters(const std::filesystem::path& dir) {
    std::vector<NamedFilter> filters;
    for (const std::filesystem::path& file : test_files::afsFilesIn(dir)) {
        filters::ParmRecord record;
        if (!filters::readAfsFile(filters::nativeFileSystem(), file.string(), record)) continue;
        NamedFilter filter{file.filename().string()};
        for (int c = 0; c < 4; ++c) filter.code[c + 1] = record.formula[c];
        filter.controls = record.values;
        filters.push_back(filter);
    }
    return filters;
}

TEST(FastRender, OwnTextFiltersMatchTheTreeWalker) {
    auto filters = readableTextFilters(test_files::ownAfsDirectory());
    ASSERT_GE(filters.size(), 10u);
    expectSameBytesOnAllScenes(filters, 37, 23);
}

TEST(FastRender, TextCorpusMatchesTheTreeWalker) {
    LUMEN_SKIP_WITHOUT_EXTERNAL_CORPUS();
    auto filters = readableTextFilters(test_files::externalAfsDirectory());
    ASSERT_GE(filters.size(), 30u);
    expectSameBytesOnAllScenes(filters, 37, 23);
}

// Random channel sources, sometimes with a random Code0, sometimes the same source on all
// three colour channels (as most filters are written).
TEST(FastRender, RandomFormulasMatchTheTreeWalker) {
    testing_support::RandomFormulaGenerator generator(20261208);
    std::vector<NamedFilter> filters;
    for (int n = 0; n < 2500; ++n) {
        NamedFilter filter{"random " + std::to_string(n)};
        if (n % 4 == 0) filter.code[0] = generator.next(3, 300);
        for (int c = 1; c < 5; ++c) filter.code[c] = generator.next(4, 400);
        if (n % 3 == 0) filter.code[2] = filter.code[3] = filter.code[1];
        for (int i = 0; i < 8; ++i) filter.controls[i] = (n * 37 + i * 91) % 256;
        filters.push_back(filter);
    }
    expectSameBytesOnAllScenes(filters, 9, 7);
    filters.resize(400);
    expectSameBytesOnAllScenes(filters, kBlockLanes + 3, 3);
}

// Whether a filter renders on several threads, and whether it renders in blocks.
struct Judgement {
    bool orderIndependent = false;
    bool blocks = false;
};
Judgement judge(const std::array<std::string, 5>& code, const std::array<int32_t, 8>& controls = {}) {
    FilterCompileResult compiled =
        compileFilter({code[0].c_str(), code[1].c_str(), code[2].c_str(), code[3].c_str(), code[4].c_str()});
    EXPECT_TRUE(compiled.ok) << code[1];
    if (!compiled.ok) return {};
    Scene scene(4, 3, true);
    scene.setUp.controls = controls;
    std::vector<uint8_t> destination(scene.pixels.size());
    PixelContext context{};
    RenderState state;
    EXPECT_TRUE(setUpContext(context, state, scene.image, destination.data(), scene.setUp));
    for (const FormulaTree& root : compiled.program.roots) state.registerCaseLabels(root.get());
    Evaluation{context, state}.eval(compiled.program.roots[0].get());
    const FastProgram fast(compiled.program, context, state);
    return {fast.orderIndependent(), BlockProgram(fast, context, state).usable()};
}
// The same for a red source beside plain other channels.
bool orderIndependentSources(const char* channelSource, const char* code0 = "0") {
    return judge({code0, channelSource, "g", "b", "a"}).orderIndependent;
}

TEST(FastRender, WhatRendersInBlocks) {
    // Everything of the benchmark set that computes anything.
    auto filters = testing_support::readBenchmarkFilters(LUMEN_BENCH_FILTERS);
    for (const NamedFilter& filter : filters)
        EXPECT_EQ(judge(filter.code, filter.controls).blocks, filter.name != "identity") << filter.name;
    // Random draws and cells used in a fixed order per pixel run in blocks; anything else that
    // later pixels see does not, nor draws that a pixel may make or skip, nor cells found
    // through cells.
    EXPECT_TRUE(judge({"rst(77)", "rnd(0,9)+rnd(-5,5)*2", "rnd(3,2)+x+rnd(0,7)", "c^rnd(0,255)", "rnd(1,4),rnd(0,255)"}).blocks);
    for (const char* source : {"rnd(0,9)+rnd(-5,5)*src(x+rnd(1,2),y,z)", "min(rnd(0,x),9)", "rnd(3,2),x"})
        EXPECT_EQ(judge({"0", source, "g", "b", "a"}).blocks, std::string(source) != "min(rnd(0,x),9)") << source;
    for (const char* source : {"x?rnd(0,9):1", "add(rnd(0,9),1,5)", "put(r,get(0))", "get(put(1,2))", "x?put(1,2):3",
                               "dst(x-1,y,z)", "case(r,1:2)",
                               "srcmode(2)", "cnv(1,1,1,1,rnd(0,1),1,1,1,1,9)"})
        EXPECT_FALSE(judge({"0", source, "g", "b", "a"}).blocks) << source;
}

// The polynomial direction against the library's, over every offset from the centre of an image
// up to 4000 x 2400 and at the ends of the integers.
TEST(FastRender, DirectionsOverRowsMatchTheLibrary) {
    std::vector<int32_t> directions(4001);
    auto expectRow = [&directions](int32_t dx0, int32_t dy) {
        directionsOfRow(dx0, dy, static_cast<int32_t>(directions.size()), directions.data());
        for (size_t i = 0; i < directions.size(); ++i) {
            const auto dx = static_cast<int32_t>(static_cast<uint32_t>(dx0) + static_cast<uint32_t>(i));
            if (directions[i] != directionOf(dx, dy)) {
                ADD_FAILURE() << "d at (" << dx << ", " << dy << ") is " << directions[i] << ", not "
                              << directionOf(dx, dy);
                return false;
            }
        }
        return true;
    };
    for (int32_t dy = -1200; dy <= 1200; ++dy)
        if (!expectRow(-2000, dy)) return;
    const int32_t lowest = std::numeric_limits<int32_t>::min(), highest = std::numeric_limits<int32_t>::max();
    for (int32_t dy : {lowest, lowest + 1, -65536, 65535, highest - 1, highest})
        for (int32_t dx0 : {lowest, -2000, highest - 2000})
            if (!expectRow(dx0, dy)) return;
}

// The block operations where they differ from the pixel-by-pixel ones: divisions done in
// floating point, square roots, borders of blocks and of the image, the split texture, draws.
TEST(FastRender, BlockOperationsAtTheirEdges) {
    Scene scene(2 * kBlockLanes + 5, 4, true);
    auto expectSameBytes = [&scene](const NamedFilter& filter, Scene&) {
        EXPECT_TRUE(judge(filter.code).blocks) << filter.name;
        testing::expectSameBytes(filter, scene);
    };
    expectSameBytes({"quotients", {"0", "((-2147483647-1)/(y-1))%251+((-2147483647-1)%(y-1))%7",
                                   "x*16777259/(x-130)+x*16777259%(131-x)", "mix(x*99999,y-2,x-128,x%7-3)",
                                   "scl(x*x*x,y,2,-x,77777)+(x*x*x*x)/-1"}}, scene);
    expectSameBytes({"roots", {"0", "m+sqr(x*x*x*x)", "d*7+c2m(x*9999,y*65535)", "c2d(x-y*99,-x)+r2x(x,y)",
                               "r2y(x*x,m)+rad(d+x,m*2,z)"}}, scene);
    expectSameBytes({"borders", {"0", "cnv(-1,-1,-1,-1,9,-1,-1,-1,-1,1)", "cnv(1,2,3,4,5,6,7,8,9,x%5-2)",
                                 "cnv(0,0,0,0,1,0,0,0,0,0)+icnv(1,1,1,1,1,1,1,1,1,x%3)", "xycnv(x*2,y,1,1,1,1,1,1,1,1,1,9)"}},
                    scene);
    expectSameBytes({"textures", {"texture(X/3,Y+7,5,3,9)", "tex(x,y)", "tex(x-200,y*3)", "tex(y,x)+tex(x,y)/2", "a"}},
                    scene);
    expectSameBytes({"draws", {"rst(77)", "rnd(0,9)+rnd(-5,5)*2", "rnd(3,2)+x+rnd(0,7)", "c^rnd(0,255)",
                               "rnd(1,4),rnd(0,255)"}}, scene);
    // Draws whose range is empty, backwards, wider than the numbers drawn or just as wide.
    expectSameBytes({"wide draws", {"rst(5)", "rnd(5,1)+rnd(0,32767)*3+rnd(0,32768)",
                                    "rnd(-2147483647-1,2147483647)+rnd(0,2147483647)+rnd(-32767,32767)/99",
                                    "rnd(1,-2147483647)+rnd(7,7)+rnd(0,1)", "rnd(-99,-300)+rnd(0,32766)/128"}},
                    scene);
    // Draws in runs shorter than the generator's side-by-side chains, and not a multiple of them.
    expectSameBytes({"few draws", {"rst(9)", "rnd(0,255)", "g", "rnd(0,99)*(x%3==0)", "a"}}, scene);
    expectSameBytes({"odd draws", {"rst(4)", "rnd(0,255)+rnd(0,3)", "rnd(0,255)", "b", "a"}}, scene);
    // Pixels of a block with cells of their own, and pixels that share cells.
    expectSameBytes({"cells", {"storage(300),put(5,7)", "put(r+get(x%7),x%7)+get(x%5)", "put(get(x)*3+g,x)",
                               "get(y)+put(x,y*3+x%2)+get(x-1)", "put(get(0)+1,0),put(x,1),get(1)+get(0)"}}, scene);
    expectSameBytes({"cells halved", {"storage(300)", "put(get(x%64)/2+r,x%64)", "(get(x%64)+g)/2+get(x%3)%4",
                                      "(put(b,x%7)-300)/8+get(x%7)%2", "a"}},
                    scene);
    // Quotients whose operands stay below 2^24, which floats divide: of either sign, by 0 and -1,
    // near the end of that range, each exposed in full by a remainder; and whole ones, which a
    // quotient through the reciprocal would miss.
    expectSameBytes({"small quotients", {"0", "((x*65535-8388608+r)/(x%7-3+g%2))%251+251",
                                         "(r*65792-c*3)/(y-1)%251+(x-130)/(g-128)%97",
                                         "(b*65792)/(-1-x%2)%251+300", "(x*y*9999)/(b*65791+1)+(x*y*9999)/(x%3+7)%13"}},
                    scene);
    expectSameBytes({"whole quotients", {"0", "(r*41+41)/41-r+100", "(g*47+x)/47-g+100", "((b+x)*97+97)/97-b-x+100", "a"}},
                    scene);
    // Divisions by powers of two on both sides of zero and at the ends of the integers.
    expectSameBytes({"halvings", {"0", "(x-130)/4+(x*y-300)%16+(x-2147483647-1)/1073741824",
                                  "(x-2147483647-1)%1073741824/9999999+(y-x)/1%3", "((x*x*x*x*x)%2+(y-3)%1)*99+(-x)/256",
                                  "(x*16777259-2147483647)/2147483647/2+(x-129)%128"}},
                    scene);
    // Tables read where their index lies inside them, and just outside; sums that floats hold
    // exactly, and just too large for them.
    expectSameBytes({"bounds", {"0", "grad(i,z)+grad(r,z)/2+grad(x,z)/3+sin(x)/9+cos(x*4)/7+tri(y)+tan(x*3)/99999",
                                "gam(r,z)+gam(r+1,z)/2+gam(x-9,z)/3",
                                "cnv(65792,0,0,0,1,0,0,0,0,1)/99999+cnv(65793,0,0,0,1,0,0,0,0,1)/99999",
                                "cnv(-2,-1,0,-1,1,1,0,1,2,1)+cnv(1,2,1,2,4,2,1,2,1,16)+cnv(-65790,1,1,1,0,0,0,0,0,-3)"}},
                    scene);
    // Kernels divided in floats: quotients of either sign by small, negative and large divisors,
    // each exposed in full by a remainder.
    expectSameBytes({"kernel quotients", {"0", "(cnv(65790,0,0,0,1,0,0,0,0,7)%251+251)%251+cnv(0,0,0,0,3,0,0,0,0,3)%7",
                                          "(cnv(-65790,1,0,0,0,0,0,0,0,3)%251+251)%251",
                                          "(cnv(1,2,3,4,5,6,7,8,-9,-5)%251+251)%251+cnv(0,0,0,0,255,0,0,0,0,2)%9",
                                          "cnv(65790,0,0,0,1,0,0,0,0,16777215)+cnv(65790,0,0,0,1,0,0,0,0,16777216)*2+"
                                          "cnv(-65790,0,0,0,1,0,0,0,0,-16777216)*4+cnv(65790,0,0,0,0,0,0,0,0,65537)"}},
                    scene);
    // rad as a read of its point, in both fixed source modes and over arguments that draw.
    expectSameBytes({"points", {"0", "rad(d+x,m*2,z)", "rad(d*3-m,m/2+x,z)+rad(x*9,y*99999,z)",
                                "rad(rnd(0,1023),m,z)", "rad(d,m,3)+rad(d,m,4)"}},
                    scene);
    expectSameBytes({"points inside", {"srcmode(1)", "rad(d+x,m*2,z)", "rad(d*3-m,m/2+x,z)+rad(x*9,y*99999,z)",
                                       "rad(d-ctl(0),m+ctl(1),z)", "rad(d,m,3)"}},
                    scene);
    expectSameBytes({"tables", {"srcmode(1)", "sin(x*3)+cos(y-x)+tan(x*x)+tri(-x)+bell(x)+hue(x,z)",
                                "(x<<y|x>>(y-2))^~x+!x+(x<=y)+(x>=2)+(x==3)+(x!=4)",
                                "i+u+v+hmin(z)+hmax(z)+frg(z)+bkg(z)+map(z,x)+val(z,x,y)",
                                "src(x*3-300,y*7-5,z)+sbd(x,y)+nbd(x,y,1)+bmap(0,x*7,y)+x**(y-1)"}},
                    scene);
}

// Kernels at the top and bottom rows read the rows each source mode takes them to, or zeroes;
// an image of one row has both edges in it.
TEST(FastRender, KernelsAtTheImageEdgesInEverySourceMode) {
    for (const int32_t height : {1, 2, 5}) {
        Scene scene(kBlockLanes + 9, height, true);
        for (const char* mode : {"0", "srcmode(1)", "srcmode(2)", "srcmode(3)", "srcmode(9)"}) {
            const NamedFilter filter{std::string("kernel edges, ") + mode + ", height " + std::to_string(height),
                                     {mode, "cnv(1,2,3,4,5,6,7,8,9,45)", "cnv(-1,-2,-1,0,0,0,1,2,1,1)+128",
                                      "cnv(65790,0,0,0,1,0,0,0,-9,7)%251+cnv(0,-99,0,0,1,0,0,99,0,3)", "a"}};
            EXPECT_TRUE(judge(filter.code).blocks) << filter.name;
            testing::expectSameBytes(filter, scene);
        }
    }
}

TEST(FastRender, OrderDependenceOfChannelSources) {
    for (const char* free : {"r+get(3)", "src(x+1,y,z)*ctl(0)", "tex(x,y)+grad(i,z)+gam(c,z)+bmap(0,x,y)",
                             "cnv(1,1,1,1,1,1,1,1,1,9)", "case(z,0:r,1:g,0:b)", "case(ctl(9),5:1,0:i)+1"})
        EXPECT_TRUE(orderIndependentSources(free)) << free;
    for (const char* bound : {"rnd(0,255)", "rst(3)", "put(r,0)", "storage(9)", "srcmode(2)", "gamma(1,2,3)",
                              "gradient(4)", "bmapsize(9,9)", "texture(X,Y,4,2,1)", "dst(x-1,y,z)",
                              "case(r,1:2)", "case(z,1:r,2:g)", "case(0,0:case(x,1:1))", "case(1,1:r,2:case(0,0:5,1:7))",
                              "case(case(1,1:1),1:r)", "x?r:put(1,1)"})
        EXPECT_FALSE(orderIndependentSources(bound)) << bound;
    // What Code0 does is over before the first pixel.
    EXPECT_TRUE(orderIndependentSources("r", "rst(4),put(1,2),srcmode(3),texture(X,Y,4,2,1)"));
}

// The specialised nodes at the edges of what they were specialised for.
TEST(FastRender, SpecialisedNodesAtTheirEdges) {
    Scene scene(6, 5, true);
    expectSameBytes({"kernels", {"0", "cnv(-21,11,1,1,1,1,1,1,1,0)", "cnv(1,1,1,1,-8,1,1,1,1,-1)",
                                 "cnv(9,9,9,9,9,9,9,9,9,1)", "icnv(1,2,1,2,4,2,1,2,1,0)"}}, scene);
    expectSameBytes({"sources", {"srcmode(1)", "src(x-2,y+3,z)", "src(x,y,4)+src(x,y,-1)", "x/0+x%0+x/-1+x%-1",
                                 "rnd(5,4)+rnd(3,3)"}}, scene);
    expectSameBytes({"tables", {"gradient(-1)", "grad(i,z)+grad(r,3)", "gam(c,3)+gam(c,z)", "gam(c-300,z)",
                                "get(300)+get(-1)"}}, scene);
}

// A case that reads a label stored at an earlier pixel, beside one that needs no label map.
TEST(FastRender, CasesReadingEarlierLabelsKeepTheLabelMap) {
    Scene scene(6, 4, true);
    expectSameBytes({"labels", {"case(0,9:77)", "case(x%3,0:r,1:g)", "case(z,1:x*9,0:y)", "case(1,1:5)", "a"}}, scene);
    // Folding a case at compile time must not leave its label behind for an earlier reader.
    expectSameBytes({"folded", {"0", "case(7,0:1)?5:case(7,7:9)+1", "g", "b", "a"}}, scene);
    // A later entry's own case stores the label the outer case reads.
    expectSameBytes({"nested", {"0", "case(1,1:r,2:case(0,0:5,1:7))", "case(case(1,1:1),1:r)",
                                "case(0,0:case(1,1:x))", "case(z,3:case(3,3:y),3:x)"}}, scene);
}

}  // namespace
}  // namespace lumen::formula::testing
