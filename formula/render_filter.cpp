#include "formula/render_filter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "formula/block_program.h"
#include "formula/channel_ranges.h"
#include "formula/evaluation.h"
#include "formula/evaluator.h"
#include "formula/fast_program.h"
#include "formula/row_scheduler.h"

namespace lumen::formula {
namespace {

bool validImage(const ImageDescription& image) {
    if (image.pixels == nullptr || image.width <= 0 || image.height <= 0) return false;
    if (image.width > std::numeric_limits<int32_t>::max() / 4) return false;
    if (static_cast<uint64_t>(image.width) * static_cast<uint64_t>(image.height) * 4u >
        std::numeric_limits<size_t>::max())
        return false;
    bool seen[4] = {};
    for (int32_t offset : image.channelMap) {
        if (offset < 0 || offset > 3 || seen[offset]) return false;
        seen[offset] = true;
    }
    return true;
}

// As the image buffers track them: red, green and blue always, alpha only when present.
void channelRanges(PixelContext& context, const ImageDescription& image, bool findRanges) {
    ByteRanges ranges;
    if (image.ranges != nullptr)
        ranges = *image.ranges;
    else if (findRanges)
        widenByteRanges(image.pixels, static_cast<size_t>(image.width) * static_cast<size_t>(image.height), ranges);
    const int tracked = image.hasAlpha ? 4 : 3;
    for (int z = 0; z < 4; ++z) {
        context.channelMin[z] = z < tracked ? ranges.low[image.channelMap[z]] : 255;
        context.channelMax[z] = z < tracked ? ranges.high[image.channelMap[z]] : 0;
    }
}

}  // namespace

bool setUpContext(PixelContext& context, RenderState& state, const ImageDescription& source,
                  const uint8_t* destination, const RenderSetUp& setUp, bool findRanges) {
    if (!validImage(source)) return false;
    std::memset(&context, 0, sizeof context);
    state.reset();
    const int32_t X = source.width, Y = source.height;
    context.maxDirection = 1024;
    context.maxMagnitude =
        static_cast<int32_t>(std::sqrt(static_cast<double>(X) * X + static_cast<double>(Y) * Y)) / 2;
    context.width = X;
    context.height = Y;
    context.centerX = X / 2;
    context.centerY = Y / 2;
    context.channelCount = source.hasAlpha ? 4 : 3;
    context.totalValue = 256;
    state.attachCells(context);
    channelRanges(context, source, findRanges);
    for (int i = 0; i < 3; ++i) {
        context.foreColour[i] = setUp.foreground[i];
        context.backColour[i] = setUp.background[i];
    }
    for (int i = 0; i < 8; ++i) context.control[i] = setUp.controls[i];
    context.sourcePixels = source.pixels;
    context.destPixels = destination;
    for (int z = 0; z < 4; ++z) context.channelMap[z] = source.channelMap[z];
    context.maxX = X - 1;
    context.maxY = Y - 1;
    context.rowBytes = X * 4;
    for (int m = 0; m < kTextureMapCount; ++m) context.mapImage[m] = setUp.textureMaps[m];
    context.mapWidth = kMapSide;
    context.mapHeight = kMapSide;
    context.gradientBase = setUp.gradientTable;
    // An index from outside the table selects no gradient rather than memory past it.
    if (setUp.gradientTable != nullptr && setUp.gradientIndex >= 0 && setUp.gradientIndex < kGradientCount)
        context.currentGradient = setUp.gradientTable + setUp.gradientIndex * kGradientBytes;
    return true;
}

namespace {

// What both render loops share: the checks, the context and state, and Code0 run once.
struct PreparedRender {
    std::unique_ptr<PixelContext> context = std::make_unique<PixelContext>();
    std::unique_ptr<RenderState> state = std::make_unique<RenderState>();
};

RenderOutcome prepare(PreparedRender& render, const FilterProgram& program, const ImageDescription& source,
                      uint8_t* destination, const RenderSetUp& setUp) {
    if (!program.complete()) return RenderOutcome::kNotCompiled;
    for (const FormulaTree& root : program.roots)
        if (firstMalformedNode(root.get()) != nullptr) return RenderOutcome::kNotCompiled;
    if (destination == nullptr) return RenderOutcome::kBadImage;
    bool findRanges = false;
    for (const FormulaTree& root : program.roots) findRanges = findRanges || readsChannelRanges(root.get());
    if (!setUpContext(*render.context, *render.state, source, destination, setUp, findRanges))
        return RenderOutcome::kBadImage;
    for (const FormulaTree& root : program.roots) render.state->registerCaseLabels(root.get());
    Evaluation evaluation{*render.context, *render.state};
    evaluation.eval(program.roots[0].get());
    return RenderOutcome::kComplete;
}

}  // namespace

RenderOutcome renderFilterByTreeWalk(const FilterProgram& program, const ImageDescription& source,
                                     uint8_t* destination, const RenderSetUp& setUp, const RowCallback& onRow) {
    PreparedRender prepared;
    ContextScope scope(prepared.context.get(), prepared.state.get());
    if (RenderOutcome outcome = prepare(prepared, program, source, destination, setUp); outcome != RenderOutcome::kComplete)
        return outcome;
    PixelContext* context = prepared.context.get();
    Evaluation evaluation{*context, *prepared.state};
    const FormulaNode* channelRoots[4] = {program.roots[1].get(), program.roots[2].get(),
                                          program.roots[3].get(), program.roots[4].get()};
    const size_t rowBytes = static_cast<size_t>(context->rowBytes);
    for (int32_t y = 0; y < context->height; ++y) {
        if (onRow && !onRow(y, *context)) return RenderOutcome::kStopped;
        context->y = y;
        uint8_t* pixel = destination + static_cast<size_t>(y) * rowBytes;
        for (int32_t x = 0; x < context->width; ++x, pixel += 4) {
            context->x = x;
            for (int32_t z = 0; z < 4; ++z) {
                context->channel = z;
                int32_t v = evaluation.eval(channelRoots[z]);
                pixel[context->channelMap[z]] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    return RenderOutcome::kComplete;
}

RenderOutcome renderFilter(const FilterProgram& program, const ImageDescription& source, uint8_t* destination,
                           const RenderSetUp& setUp, const RowCallback& onRow) {
    PreparedRender prepared;
    ContextScope scope(prepared.context.get(), prepared.state.get());
    if (RenderOutcome outcome = prepare(prepared, program, source, destination, setUp); outcome != RenderOutcome::kComplete)
        return outcome;
    PixelContext& context = *prepared.context;
    const FastProgram fast(program, context, *prepared.state);
    const BlockProgram blocks(fast, context, *prepared.state, setUp.blocks);

    // A copy is bound by memory, where a second thread adds only the cost of its start.
    int threads = fast.orderIndependent() && fast.computesAnyChannel()
                      ? (setUp.threads > 0 ? setUp.threads : hardwareThreads())
                      : 1;
    threads = std::min(threads, context.height);
    // Every thread moves its own copy of the context from pixel to pixel; the cells, tables
    // and texture they read are not written by a filter that renders on several threads.
    std::vector<PixelContext> copies(static_cast<size_t>(threads - 1), context);
    std::vector<PixelContext*> contexts{&context};
    for (PixelContext& copy : copies) contexts.push_back(&copy);
    std::vector<FastFrame> frames;
    std::vector<BlockFrame> blockFrames;
    if (blocks.usable()) {
        blockFrames.reserve(static_cast<size_t>(threads));
        for (PixelContext* each : contexts) blockFrames.emplace_back(*each, *prepared.state, fast, blocks);
    } else {
        frames.reserve(static_cast<size_t>(threads));
        for (PixelContext* each : contexts) frames.emplace_back(*each, *prepared.state, fast);
    }

    std::optional<RenderThreads> ownThreads;
    RenderThreads* helpers = setUp.keptThreads;
    if (!helpers && threads > 1) helpers = &ownThreads.emplace(threads - 1);

    const size_t rowBytes = static_cast<size_t>(context.rowBytes);
    const bool complete = runRows(
        context.height, threads,
        [&](int32_t y) { return !onRow || onRow(y, context); },
        [&](int worker, int32_t y) {
            uint8_t* row = destination + static_cast<size_t>(y) * rowBytes;
            if (blocks.usable())
                blocks.renderRow(blockFrames[worker], y, row);
            else
                fast.renderRow(frames[worker], y, row);
        },
        helpers);
    return complete ? RenderOutcome::kComplete : RenderOutcome::kStopped;
}

}  // namespace lumen::formula
