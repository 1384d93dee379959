// lumenforge formula eval TEXT [--image PNG | --size WxH] [--at X,Y,Z] [--code0 TEXT]
//   [--control K=V]... [--gradient N] [--foreground R,G,B] [--background R,G,B]
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "formula/compile_filter.h"
#include "formula/evaluator.h"
#include "formula/render_filter.h"
#include "imaging/module_resources.h"
#include "imaging/png_io.h"
#include "resources/embedded_resources.h"

namespace lumen::cli {
namespace {

constexpr int kGradientResourceId = 175;
constexpr int kTextureResourceIds[formula::kTextureMapCount] = {164, 163, 169, 170, 171, 172, 176, 177};
constexpr int kMaxSizeSide = 16384;

struct EvalOptions {
    std::string text;
    std::string imagePath;
    std::string size;
    std::string at = "0,0,0";
    std::string code0 = "0";
    std::vector<std::string> controls;
    int gradient = 0;
    std::string foreground = "0,0,0";
    std::string background = "0,0,0";
};

// "A,B,C" (as many numbers as `values` holds), each within lo..hi.
bool parseList(const std::string& text, char separator, std::vector<long>& values, long lo, long hi) {
    size_t start = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        size_t end = i + 1 < values.size() ? text.find(separator, start) : text.size();
        if (end == std::string::npos || end == start) return false;
        std::string item = text.substr(start, end - start);
        size_t used = 0;
        try {
            values[i] = std::stol(item, &used);
        } catch (...) {
            return false;
        }
        if (used != item.size() || values[i] < lo || values[i] > hi) return false;
        start = end + 1;
    }
    return true;
}

bool fail(CommandContext& context, const std::string& message, int status = 1) {
    std::fprintf(stderr, "lumenforge: %s\n", message.c_str());
    context.status = status;
    return false;
}

// The linked-in MAPS and GRAD data, each used only when it has the size a render reads.
void addModuleTables(formula::RenderSetUp& setUp) {
    imaging::useEmbeddedResources(resources::embeddedResources());
    for (int m = 0; m < formula::kTextureMapCount; ++m) {
        auto map = imaging::findModuleResource("MAPS", kTextureResourceIds[m]);
        if (map.size() == static_cast<size_t>(formula::kMapSide) * formula::kMapSide) setUp.textureMaps[m] = map.data();
    }
    auto gradients = imaging::findModuleResource("GRAD", kGradientResourceId);
    if (gradients.size() == static_cast<size_t>(formula::kGradientCount) * formula::kGradientBytes)
        setUp.gradientTable = gradients.data();
}

bool loadImage(const EvalOptions& options, imaging::RgbaImage& image, CommandContext& context) {
    if (!options.imagePath.empty()) {
        std::string error;
        if (!imaging::readPng(options.imagePath, image, error)) return fail(context, error);
        return true;
    }
    std::vector<long> size(2, 1);
    if (!options.size.empty() && !parseList(options.size, 'x', size, 1, kMaxSizeSide))
        return fail(context, "--size wants WxH with sides 1.." + std::to_string(kMaxSizeSide));
    image.width = static_cast<int>(size[0]);
    image.height = static_cast<int>(size[1]);
    image.hasAlpha = false;
    image.pixels.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
    for (size_t p = 3; p < image.pixels.size(); p += 4) image.pixels[p] = 255;
    return true;
}

bool readSetUp(const EvalOptions& options, formula::RenderSetUp& setUp, CommandContext& context) {
    for (const std::string& control : options.controls) {
        std::vector<long> kv(2);
        if (!parseList(control, '=', kv, 0, 255) || kv[0] > 7)
            return fail(context, "--control wants K=V with K 0..7 and V 0..255: " + control);
        setUp.controls[kv[0]] = static_cast<int32_t>(kv[1]);
    }
    std::vector<long> fore(3), back(3);
    if (!parseList(options.foreground, ',', fore, 0, 255) || !parseList(options.background, ',', back, 0, 255))
        return fail(context, "--foreground and --background want R,G,B with components 0..255");
    for (int i = 0; i < 3; ++i) {
        setUp.foreground[i] = static_cast<uint8_t>(fore[i]);
        setUp.background[i] = static_cast<uint8_t>(back[i]);
    }
    setUp.gradientIndex = options.gradient;
    addModuleTables(setUp);
    return true;
}

formula::FormulaTree compileOrFail(const std::string& text, const char* what, CommandContext& context) {
    formula::CompileResult compiled = formula::compileFormula(text.c_str(), true);
    if (compiled.status != formula::kCompileOk) {
        fail(context, std::string(what) + " does not parse (result " + std::to_string(compiled.status) + ")",
             compiled.status);
        return nullptr;
    }
    if (formula::treeDepth(compiled.root.get()) > formula::kMaxTreeDepth) {
        fail(context, std::string(what) + " is nested too deeply");
        return nullptr;
    }
    return std::move(compiled.root);
}

void runEval(const EvalOptions& options, CommandContext& context) {
    imaging::RgbaImage image;
    formula::RenderSetUp setUp;
    if (!loadImage(options, image, context) || !readSetUp(options, setUp, context)) return;
    std::vector<long> at(3);
    if (!parseList(options.at, ',', at, 0, INT32_MAX) || at[0] >= image.width || at[1] >= image.height || at[2] > 3) {
        fail(context, "--at wants X,Y,Z inside the image, Z 0..3");
        return;
    }
    formula::FormulaTree code0 = compileOrFail(options.code0, "--code0", context);
    if (!code0) return;
    formula::FormulaTree text = compileOrFail(options.text, "TEXT", context);
    if (!text) return;

    const formula::ImageDescription source{image.pixels.data(), image.width, image.height, image.hasAlpha};
    std::vector<uint8_t> destination = image.pixels;
    auto pixelContext = std::make_unique<formula::PixelContext>();
    auto state = std::make_unique<formula::RenderState>();
    if (!formula::setUpContext(*pixelContext, *state, source, destination.data(), setUp)) {
        fail(context, "the image cannot be rendered");
        return;
    }
    state->registerCaseLabels(code0.get());
    state->registerCaseLabels(text.get());
    formula::ContextScope scope(pixelContext.get(), state.get());
    formula::evaluate(code0.get());
    pixelContext->x = static_cast<int32_t>(at[0]);
    pixelContext->y = static_cast<int32_t>(at[1]);
    pixelContext->channel = static_cast<int32_t>(at[2]);
    std::printf("%d\n", formula::evaluate(text.get()));
}

void addFormulaEvalCommand(CLI::App& app, CommandContext& context) {
    CLI::App& formula = commandGroup(app, "formula", "Check, print and evaluate formulas");
    auto options = std::make_shared<EvalOptions>();
    CLI::App* eval = formula.add_subcommand("eval", "Evaluate a formula at one pixel of an image and print the value");
    eval->add_option("TEXT", options->text, "Formula source")->required();
    auto* image = eval->add_option("--image", options->imagePath, "PNG image to evaluate over");
    eval->add_option("--size", options->size, "Zeroed opaque RGB image of WxH pixels (default 1x1)")->excludes(image);
    eval->add_option("--at", options->at, "Pixel and channel X,Y,Z (default 0,0,0)");
    eval->add_option("--code0", options->code0, "Initialisation formula run first (default 0)");
    eval->add_option("--control", options->controls, "Slider K (0..7) set to V (0..255), as K=V");
    eval->add_option("--gradient", options->gradient, "Selected gradient 0..99")->check(CLI::Range(0, 99));
    eval->add_option("--foreground", options->foreground, "Foreground colour R,G,B");
    eval->add_option("--background", options->background, "Background colour R,G,B");
    eval->callback([options, &context] { runEval(*options, context); });
}

const CommandRegistration registration{addFormulaEvalCommand};

}  // namespace
}  // namespace lumen::cli
