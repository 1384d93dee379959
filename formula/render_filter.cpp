#include "formula/render_filter.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "formula/evaluation.h"
#include "formula/evaluator.h"

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
void channelRanges(PixelContext& context, const ImageDescription& image) {
    for (int z = 0; z < 4; ++z) {
        context.channelMin[z] = 255;
        context.channelMax[z] = 0;
    }
    const int tracked = image.hasAlpha ? 4 : 3;
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    for (size_t p = 0; p < count; ++p) {
        const uint8_t* pixel = image.pixels + p * 4;
        for (int z = 0; z < tracked; ++z) {
            int32_t v = pixel[image.channelMap[z]];
            if (v < context.channelMin[z]) context.channelMin[z] = v;
            if (v > context.channelMax[z]) context.channelMax[z] = v;
        }
    }
}

}  // namespace

bool setUpContext(PixelContext& context, RenderState& state, const ImageDescription& source,
                  const uint8_t* destination, const RenderSetUp& setUp) {
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
    channelRanges(context, source);
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

RenderOutcome renderFilter(const FilterProgram& program, const ImageDescription& source, uint8_t* destination,
                           const RenderSetUp& setUp, const RowCallback& onRow) {
    if (!program.complete()) return RenderOutcome::kNotCompiled;
    for (const FormulaTree& root : program.roots)
        if (firstMalformedNode(root.get()) != nullptr) return RenderOutcome::kNotCompiled;
    if (destination == nullptr) return RenderOutcome::kBadImage;
    auto context = std::make_unique<PixelContext>();
    auto state = std::make_unique<RenderState>();
    if (!setUpContext(*context, *state, source, destination, setUp)) return RenderOutcome::kBadImage;
    for (const FormulaTree& root : program.roots) state->registerCaseLabels(root.get());

    ContextScope scope(context.get(), state.get());
    Evaluation evaluation{*context, *state};
    evaluation.eval(program.roots[0].get());

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

}  // namespace lumen::formula
