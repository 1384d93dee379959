// Compiling the five sources and rendering them over small images, including the state that
// must not carry from one render into the next.
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "formula/token_codes.h"

namespace lumen::formula::testing {
namespace {

using Sources = std::array<const char*, kSourceCount>;

struct Canvas {
    // Pixel (x, y): red 10x+y, green 100+x, blue 200-y, alpha 50+x+y.
    Canvas(int32_t width, int32_t height, bool alpha) : pixels(static_cast<size_t>(width) * height * 4) {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
                p[0] = static_cast<uint8_t>(10 * x + y);
                p[1] = static_cast<uint8_t>(100 + x);
                p[2] = static_cast<uint8_t>(200 - y);
                p[3] = static_cast<uint8_t>(alpha ? 50 + x + y : 255);
            }
        image = {pixels.data(), width, height, alpha, {0, 1, 2, 3}};
        result.assign(pixels.size(), 0xEE);
    }
    Canvas(const Canvas&) = delete;  // image points into pixels
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> result;
    ImageDescription image;
};

FilterProgram compiled(const Sources& sources) {
    FilterCompileResult result = compileFilter(sources);
    EXPECT_TRUE(result.ok) << "failing source " << result.failingIndex;
    return std::move(result.program);
}

RenderOutcome render(const Sources& sources, Canvas& canvas, const RenderSetUp& setUp = {}) {
    return renderFilter(compiled(sources), canvas.image, canvas.result.data(), setUp);
}

TEST(CompileFilter, ReportsPassedSourcesUpToTheFirstFailure) {
    FilterCompileResult result = compileFilter({"0", "r", "g", "b+", "((("});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failingIndex, 3);
    EXPECT_EQ(result.failingStatus, kCompileSyntaxError);
    const std::array<SourceCheck, kSourceCount> expected = {SourceCheck::kPassed, SourceCheck::kPassed,
                                                            SourceCheck::kPassed, SourceCheck::kFailed,
                                                            SourceCheck::kNotChecked};
    EXPECT_EQ(result.sources, expected);
    for (const FormulaTree& root : result.program.roots) EXPECT_EQ(root, nullptr);
    EXPECT_FALSE(result.program.complete());

    result = compileFilter({"", "r", "g", "b", "a"});
    EXPECT_EQ(result.failingIndex, 0);
    result = compileFilter({"0", "r", nullptr, "b", "a"});
    EXPECT_EQ(result.failingIndex, 2);

    result = compileFilter({"0", "r", "g", "b", "a"});
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.failingIndex, -1);
    EXPECT_TRUE(result.program.complete());
}

TEST(CompileFilter, RefusesTreesTooDeepToWalk) {
    std::string deep(kMaxTreeDepth + 10, '-');
    deep += "1";
    FilterCompileResult result = compileFilter({"0", "r", deep.c_str(), "b", "a"});
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.failingIndex, 2);
    EXPECT_EQ(result.sources[3], SourceCheck::kNotChecked);
    // The deepest accepted tree still evaluates (the walk is recursive).
    std::string deepest(kMaxTreeDepth - 2, '-');
    deepest += "+7";
    FilterCompileResult accepted = compileFilter({"0", "r", deepest.c_str(), "b", "a"});
    ASSERT_TRUE(accepted.ok);
    EXPECT_EQ(treeDepth(accepted.program.roots[2].get()), kMaxTreeDepth);
    Canvas canvas(2, 2, false);
    EXPECT_EQ(renderFilter(accepted.program, canvas.image, canvas.result.data(), {}), RenderOutcome::kComplete);
    EXPECT_EQ(canvas.result[1], 7);
}

TEST(RenderFilter, IdentityLeavesTheImageAndFillsMissingAlpha) {
    Canvas rgb(6, 5, false);
    EXPECT_EQ(render({"0", "r", "g", "b", "a"}, rgb), RenderOutcome::kComplete);
    EXPECT_EQ(rgb.result, rgb.pixels);
    Canvas rgba(6, 5, true);
    EXPECT_EQ(render({"0", "r", "g", "b", "a"}, rgba), RenderOutcome::kComplete);
    EXPECT_EQ(rgba.result, rgba.pixels);
}

TEST(RenderFilter, ClampsAndFollowsTheChannelMap) {
    Canvas canvas(3, 2, false);
    canvas.image.channelMap = {2, 1, 0, 3};
    EXPECT_EQ(render({"0", "300", "-5", "77", "x+10*y"}, canvas), RenderOutcome::kComplete);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) {
            const uint8_t* p = &canvas.result[(y * 3 + x) * 4];
            EXPECT_EQ(p[2], 255);  // program 1 writes byte 2
            EXPECT_EQ(p[1], 0);
            EXPECT_EQ(p[0], 77);   // program 3 writes byte 0
            EXPECT_EQ(p[3], x + 10 * y);
        }
}

// hmin/hmax: found in the pixels, through the channel map, or taken as the caller tracked them.
TEST(RenderFilter, ChannelRangesFromThePixelsOrTheCaller) {
    Canvas canvas(3, 2, true);
    const Sources ranges{"0", "hmin(0)", "hmax(1)", "hmin(2)", "hmax(3)"};
    EXPECT_EQ(render(ranges, canvas), RenderOutcome::kComplete);
    EXPECT_EQ(canvas.result[0], 0);    // red 10x+y: 0..21
    EXPECT_EQ(canvas.result[1], 102);  // green 100+x
    EXPECT_EQ(canvas.result[2], 199);  // blue 200-y
    EXPECT_EQ(canvas.result[3], 53);   // alpha 50+x+y
    canvas.image.channelMap = {2, 1, 0, 3};
    EXPECT_EQ(render(ranges, canvas), RenderOutcome::kComplete);
    EXPECT_EQ(canvas.result[2], 199);  // red's minimum is read from byte 2 and written there
    EXPECT_EQ(canvas.result[0], 0);
    ByteRanges tracked;
    tracked.low = {5, 6, 7, 8};
    tracked.high = {250, 251, 252, 253};
    canvas.image.channelMap = {0, 1, 2, 3};
    canvas.image.ranges = &tracked;
    EXPECT_EQ(render(ranges, canvas), RenderOutcome::kComplete);
    EXPECT_EQ(canvas.result[0], 5);
    EXPECT_EQ(canvas.result[1], 251);
    EXPECT_EQ(canvas.result[2], 7);
    EXPECT_EQ(canvas.result[3], 253);
}

TEST(RenderFilter, InitialisationSettingsHoldForEveryPixel) {
    Canvas canvas(4, 3, false);
    EXPECT_EQ(render({"storage(10),put(5,3)", "get(3)", "get(3)", "get(3)", "get(3)"}, canvas),
              RenderOutcome::kComplete);
    for (uint8_t byte : canvas.result) EXPECT_EQ(byte, 5);
    // Code0 runs at x = y = z = 0.
    EXPECT_EQ(render({"put(r+x+y+z,0)", "get(0)", "0", "0", "0"}, canvas), RenderOutcome::kComplete);
    EXPECT_EQ(canvas.result[0], 0);
    EXPECT_EQ(canvas.result[4 * 5], 0);
}

TEST(RenderFilter, DestinationShowsThisRunsEarlierPixels) {
    Canvas canvas(4, 1, false);
    // Each red is the previous pixel's red plus one; green reads the pixel not yet written.
    EXPECT_EQ(render({"0", "x?dst(x-1,0,0)+1:40", "dst(x+1,0,1)", "0", "0"}, canvas), RenderOutcome::kComplete);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(canvas.result[x * 4], 40 + x);
    EXPECT_EQ(canvas.result[1], 0xEE);
}

TEST(RenderFilter, RowCallbackSeesEveryRowAndCanStop) {
    Canvas canvas(2, 25, false);
    std::vector<int32_t> rows;
    int32_t gradientByUser = -1;
    RenderOutcome outcome = renderFilter(compiled({"gradient(-1)", "1", "1", "1", "1"}), canvas.image,
                                         canvas.result.data(), {}, [&](int32_t row, const PixelContext& context) {
                                             rows.push_back(row);
                                             gradientByUser = context.gradientByUser;
                                             return row < 12;
                                         });
    EXPECT_EQ(outcome, RenderOutcome::kStopped);
    EXPECT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows.back(), 12);
    EXPECT_EQ(gradientByUser, 1);
    EXPECT_EQ(canvas.result[11 * 8], 1);
    EXPECT_EQ(canvas.result[12 * 8], 0xEE);  // rows from the stop on keep their content
}

TEST(RenderFilter, RefusesWhatItCannotRender) {
    Canvas canvas(2, 2, false);
    FilterProgram empty;
    EXPECT_EQ(renderFilter(empty, canvas.image, canvas.result.data(), {}), RenderOutcome::kNotCompiled);
    FilterProgram program = compiled({"0", "r", "g", "b", "a"});
    EXPECT_EQ(renderFilter(program, canvas.image, nullptr, {}), RenderOutcome::kBadImage);
    ImageDescription bad = canvas.image;
    bad.channelMap = {0, 1, 1, 3};
    EXPECT_EQ(renderFilter(program, bad, canvas.result.data(), {}), RenderOutcome::kBadImage);
    bad = canvas.image;
    bad.width = 0;
    EXPECT_EQ(renderFilter(program, bad, canvas.result.data(), {}), RenderOutcome::kBadImage);
    EXPECT_EQ(canvas.result[0], 0xEE);
}

TEST(RenderFilter, RefusesTreesThatAreNotWhole) {
    Canvas canvas(2, 2, false);
    FilterProgram program = compiled({"0", "r", "g", "b", "a"});
    // A '+' whose second child is missing, made as the parser makes nodes.
    auto* plus = new FormulaNode{'+', 0, 2, new FormulaNode*[2]{new FormulaNode{kNumber, 1, 0, nullptr}, nullptr}};
    program.roots[2].reset(plus);
    EXPECT_EQ(renderFilter(program, canvas.image, canvas.result.data(), {}), RenderOutcome::kNotCompiled);
    EXPECT_EQ(canvas.result[0], 0xEE);
}

TEST(RenderFilter, OnePixelImage) {
    Canvas canvas(1, 1, false);
    EXPECT_EQ(render({"0", "M", "X", "d", "m"}, canvas), RenderOutcome::kComplete);
    EXPECT_EQ(canvas.result, (std::vector<uint8_t>{0, 1, 0, 0}));
}

// Each of these would fail if a render started from the previous render's state.
TEST(RenderState, CaseLabelsStartEmptyInEveryRender) {
    Canvas canvas(2, 2, false);
    render({"case(0, 5:99)", "0", "0", "0", "0"}, canvas);
    render({"0", "case(5, 1:10)", "0", "0", "0"}, canvas);
    EXPECT_EQ(canvas.result[0], 0);
}

TEST(RenderState, TextureBelongsToTheRender) {
    Canvas canvas(4, 4, false);
    auto reds = [&canvas] {
        int sum = 0;
        for (size_t p = 0; p < canvas.result.size(); p += 4) sum += canvas.result[p];
        return sum;
    };
    render({"texture(8,8,4,2,7)", "tex(x,y)", "0", "0", "0"}, canvas);
    EXPECT_GT(reds(), 0);
    render({"0", "tex(x,y)", "0", "0", "0"}, canvas);
    EXPECT_EQ(reds(), 0);
}

TEST(RenderState, RandomSeedIsOneAtEveryStart) {
    Canvas first(3, 3, false), second(3, 3, false);
    const Sources noise = {"0", "rnd(0,255)", "rnd(0,255)", "rnd(0,255)", "0"};
    render(noise, first);
    render(noise, second);
    EXPECT_EQ(first.result, second.result);
    EXPECT_EQ(first.result[0], 41 % 256);
}

TEST(RenderState, RendersOnSeveralThreadsDoNotMeet) {
    // Same filter, separate renders at once: identical results.
    std::deque<Canvas> canvases;
    for (int i = 0; i < 4; ++i) canvases.emplace_back(16, 16, false);
    std::vector<std::thread> threads;
    for (Canvas& canvas : canvases)
        threads.emplace_back([&canvas] {
            render({"rst(3),case(0,1:2)", "rnd(0,255)+case(1,3:4)", "g", "b", "a"}, canvas);
        });
    for (std::thread& t : threads) t.join();
    for (const Canvas& canvas : canvases) EXPECT_EQ(canvas.result, canvases[0].result);
}

}  // namespace
}  // namespace lumen::formula::testing
