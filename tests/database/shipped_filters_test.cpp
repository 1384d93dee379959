// The filters we ship: complete, compiling, rendering every kind of picture, and together
// using the whole formula language.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "formula/compile_filter.h"
#include "formula/token_codes.h"
#include "shipped_filters.h"

namespace lumen::tools {
namespace {

imaging::RgbaImage rgbPicture() { return makeSampleImage(40, 30); }

imaging::RgbaImage greyPicture() {
    imaging::RgbaImage image = rgbPicture();
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        const uint8_t* p = &image.pixels[i];
        const uint8_t grey = uint8_t((76 * p[0] + 150 * p[1] + 29 * p[2]) / 256);
        image.pixels[i] = image.pixels[i + 1] = image.pixels[i + 2] = grey;
    }
    return image;
}

imaging::RgbaImage alphaPicture() {
    imaging::RgbaImage image = rgbPicture();
    image.hasAlpha = true;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) image.pixels[(size_t(y) * image.width + x) * 4 + 3] = uint8_t(x * 255 / 39);
    return image;
}

// Differences in the colour channels only: the alpha byte of an opaque picture is not shown.
bool coloursDiffer(const imaging::RgbaImage& a, const imaging::RgbaImage& b) {
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if (i % 4 != 3 && a.pixels[i] != b.pixels[i]) return true;
    return false;
}

imaging::RgbaImage render(const FilterSource& source, const std::array<int32_t, 8>& controls, int32_t gradient,
                          const imaging::RgbaImage& picture) {
    std::string error;
    auto result = renderFilterSource(source, controls, gradient, picture, renderTables(), error);
    EXPECT_TRUE(result) << source.title << ": " << error;
    return result ? std::move(*result) : picture;
}

TEST(ShippedFiltersTest, AreCompleteAndDescribed) {
    const auto& sources = shippedSources();
    ASSERT_GE(sources.size(), 40u);
    std::set<std::string> categories, titles;
    size_t withPresets = 0;
    for (const NamedSource& named : sources) {
        const FilterSource& s = named.source;
        categories.insert(s.category);
        EXPECT_TRUE(titles.insert(s.category + "/" + s.title).second) << named.path;
        EXPECT_EQ(s.author, "Lumenforge") << named.path;
        EXPECT_NE(s.copyright.find("Lumenforge"), std::string::npos) << named.path;
        withPresets += s.presets.empty() ? 0 : 1;
        std::string error;
        EXPECT_TRUE(checkFilterCompiles(s, error)) << named.path << ": " << error;
    }
    EXPECT_GE(categories.size(), 8u);
    EXPECT_GE(withPresets * 3, sources.size());
}

// A control is enabled exactly when the code reads it (ctl(z) reads controls 0 to 2, map(k, ..)
// reads controls 2k and 2k+1).
TEST(ShippedFiltersTest, EnableExactlyTheControlsTheyRead) {
    for (const NamedSource& named : shippedSources()) {
        std::string code;
        for (const std::string& text : named.source.code) code += text + "\n";
        std::set<int> read;
        const std::regex use(R"(\b(ctl|val)\(\s*([0-7])\b|\bmap\(\s*([0-3])\s*,|\bctl\(z\))");
        for (auto it = std::sregex_iterator(code.begin(), code.end(), use); it != std::sregex_iterator(); ++it) {
            if ((*it)[0].str().starts_with("ctl(z")) read.insert({0, 1, 2});
            else if ((*it)[2].matched) read.insert(std::stoi((*it)[2]));
            else read.insert({2 * std::stoi((*it)[3]), 2 * std::stoi((*it)[3]) + 1});
        }
        for (int i = 0; i < 8; ++i) {
            const SourceControl& control = named.source.controls[i];
            EXPECT_EQ(control.enabled, read.count(i) == 1) << named.path << " control " << i;
            EXPECT_EQ(control.enabled, !control.label.empty()) << named.path << " control " << i;
        }
    }
}

TEST(ShippedFiltersTest, ChangeRgbGreyAndTransparentPicturesAtTheirDefaults) {
    const imaging::RgbaImage pictures[] = {rgbPicture(), greyPicture(), alphaPicture()};
    for (const NamedSource& named : shippedSources()) {
        for (const imaging::RgbaImage& picture : pictures) {
            const imaging::RgbaImage result = render(named.source, defaultsOf(named.source), named.source.gradient, picture);
            EXPECT_TRUE(coloursDiffer(result, picture)) << named.path << (picture.hasAlpha ? " (alpha)" : "");
        }
    }
}

TEST(ShippedFiltersTest, RenderSinglePixelsAndLinesWithoutFault) {
    for (const auto [width, height] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}}) {
        const imaging::RgbaImage picture = makeSampleImage(width, height);
        for (const NamedSource& named : shippedSources()) {
            std::string error;
            EXPECT_TRUE(renderFilterSource(named.source, defaultsOf(named.source), named.source.gradient, picture,
                                           renderTables(), error))
                << named.path << " " << width << "x" << height << ": " << error;
        }
    }
}

// Moving any enabled control from its default to the far end, or for a control that turns
// full circle to the middle, changes the picture.
TEST(ShippedFiltersTest, EveryControlHasAnEffect) {
    const imaging::RgbaImage picture = alphaPicture();
    for (const NamedSource& named : shippedSources()) {
        const auto defaults = defaultsOf(named.source);
        const imaging::RgbaImage base = render(named.source, defaults, named.source.gradient, picture);
        for (int i = 0; i < 8; ++i) {
            if (!named.source.controls[i].enabled) continue;
            auto moved = defaults;
            moved[i] = defaults[i] < 128 ? 255 : 0;
            bool changed = render(named.source, moved, named.source.gradient, picture).pixels != base.pixels;
            moved[i] = (defaults[i] + 128) % 256;
            changed = changed || render(named.source, moved, named.source.gradient, picture).pixels != base.pixels;
            EXPECT_TRUE(changed) << named.path << " control " << i;
        }
    }
}

TEST(ShippedFiltersTest, GradientChoiceIsHonouredWhereTheUserChooses) {
    const imaging::RgbaImage picture = rgbPicture();
    int userChoice = 0;
    for (const NamedSource& named : shippedSources()) {
        if (named.source.code[0].find("gradient(-1)") == std::string::npos) continue;
        ++userChoice;
        const auto defaults = defaultsOf(named.source);
        EXPECT_NE(render(named.source, defaults, 1, picture).pixels, render(named.source, defaults, 8, picture).pixels)
            << named.path;
    }
    EXPECT_GE(userChoice, 5);
}

// Each edge mode of src gives its own picture when the rotation leaves the image uncovered.
TEST(ShippedFiltersTest, RotateAndZoomReachesEverySourceMode) {
    const NamedSource* rotate = nullptr;
    for (const NamedSource& named : shippedSources())
        if (named.source.title == "Rotate and Zoom") rotate = &named;
    ASSERT_NE(rotate, nullptr);
    std::set<std::vector<uint8_t>> results;
    for (int32_t edges : {0, 64, 128, 192}) {
        auto controls = defaultsOf(rotate->source);
        controls[2] = edges;
        results.insert(render(rotate->source, controls, 0, rgbPicture()).pixels);
    }
    EXPECT_EQ(results.size(), 4u);
}

void collect(const formula::FormulaNode* node, std::set<std::pair<int32_t, int32_t>>& used) {
    if (!node) return;
    const bool call = node->kind == formula::kCall1 || node->kind == formula::kCall2 || node->kind == formula::kCall3;
    used.insert({node->kind, call ? node->value : 0});
    if (node->kind == formula::kGradient && node->childCount == 1 && node->children[0]->kind == formula::kNegate)
        used.insert({formula::kGradient, -1});
    for (int i = 0; i < node->childCount; ++i) collect(node->children[i], used);
}

TEST(ShippedFiltersTest, TogetherUseTheWholeLanguage) {
    std::set<std::pair<int32_t, int32_t>> used;
    for (const NamedSource& named : shippedSources()) {
        std::array<const char*, formula::kSourceCount> texts;
        for (int i = 0; i < formula::kSourceCount; ++i) texts[i] = named.source.code[i].c_str();
        const auto compiled = formula::compileFilter(texts);
        ASSERT_TRUE(compiled.ok) << named.path;
        for (const auto& root : compiled.program.roots) collect(root.get(), used);
    }
    using namespace formula;
    const std::pair<int32_t, int32_t> expected[] = {
        {kCall3, kCall3Src}, {kCall3, kCall3Asrc}, {kCall3, kCall3Dst}, {kCall3, kCall3Rad}, {kCall3, kCall3Arad},
        {kCall3, kCall3Val}, {kCall2, kCall2C2d}, {kCall2, kCall2C2m}, {kCall2, kCall2R2x}, {kCall2, kCall2R2y},
        {kCall2, kCall2Intensity}, {kCall2, kCall2Put}, {kCall2, kCall2Rnd}, {kCall2, kCall2Map},
        {kCall2, kCall2Gam}, {kCall2, kCall2Sbd}, {kCall2, kCall2Grad}, {kCall2, kCall2Tex}, {kCall2, kCall2Hue},
        {kCall2, kCall2Remainder}, {kCall1, kCall1Sin}, {kCall1, kCall1Cos}, {kCall1, kCall1Tan},
        {kCall1, kCall1Tri}, {kCall1, kCall1Bell}, {kCall1, kCall1Get}, {kCall1, kCall1Rst}, {kCall1, kCall1Frg},
        {kCall1, kCall1Bkg}, {kCall1, kCall1Hmin}, {kCall1, kCall1Hmax}, {kCall1, kCall1Sgn}, {kCall1, kCall1Sqr},
        {kCnv, 0}, {kIcnv, 0}, {kXycnv, 0}, {kCase, 0}, {kTexture, 0}, {kBmap, 0}, {kBmapsize, 0},
        {kGradient, 0}, {kGradient, -1}, {kGamma, 0}, {kSrcmode, 0}, {kStorage, 0}, {kNbd, 0}, {kMix, 0},
        {kScl, 0}, {kAdd, 0}, {kDif, 0}, {kPower, 0}, {kShiftLeft, 0}, {kShiftRight, 0}, {kBitXor, 0},
        {kBitAnd, 0}, {kBitNot, 0}, {kLogicalNot, 0}, {kLogicalAnd, 0}, {kLogicalOr, 0}, {kTotal, 0},
        {'u', 0}, {'v', 0}, {'i', 0}, {'d', 0}, {'m', 0}, {'D', 0}, {'M', 0}, {'Z', 0}};
    for (const auto& kind : expected)
        EXPECT_TRUE(used.count(kind)) << "node kind " << kind.first << " index " << kind.second << " unused";
}

// Filters that read the result image (dst) read only what this run wrote: the outcome does
// not depend on what the destination held before.
TEST(ShippedFiltersTest, DoNotDependOnTheDestinationsEarlierContent) {
    const imaging::RgbaImage picture = alphaPicture();
    formula::ImageDescription description;
    description.pixels = picture.pixels.data();
    description.width = picture.width;
    description.height = picture.height;
    description.hasAlpha = true;
    for (const NamedSource& named : shippedSources()) {
        std::array<const char*, formula::kSourceCount> texts;
        for (int i = 0; i < formula::kSourceCount; ++i) texts[i] = named.source.code[i].c_str();
        const auto compiled = formula::compileFilter(texts);
        ASSERT_TRUE(compiled.ok) << named.path;
        const auto setUp = renderTables().setUp(defaultsOf(named.source), named.source.gradient);
        std::vector<uint8_t> fromCopy = picture.pixels, fromZero(picture.pixels.size(), 0);
        ASSERT_EQ(formula::renderFilter(compiled.program, description, fromCopy.data(), setUp),
                  formula::RenderOutcome::kComplete);
        ASSERT_EQ(formula::renderFilter(compiled.program, description, fromZero.data(), setUp),
                  formula::RenderOutcome::kComplete);
        EXPECT_EQ(fromCopy, fromZero) << named.path;
    }
}

// Thumbnails are rendered with tables made at build time; the plug-in reads its linked-in
// resources. Filters reading textures and gradients must come out the same through both.
TEST(ShippedFiltersTest, RenderLikeTheCommandLineToolWithItsResources) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "lumen-shipped-render";
    fs::create_directories(dir);
    const imaging::RgbaImage picture = rgbPicture();
    std::string error;
    ASSERT_TRUE(imaging::writePng((dir / "in.png").string(), picture, error)) << error;
    int compared = 0;
    for (const NamedSource& named : shippedSources()) {
        const FilterSource& s = named.source;
        if (s.title != "Marble" && s.title != "Canvas" && s.title != "Clouds" && s.title != "Glowing Edges") continue;
        std::string command = LUMEN_BINARY_DIR "/cli/lumenforge render";
        for (int i = 0; i < 5; ++i) command += " --code" + std::to_string(i) + " '" + s.code[i] + "'";
        for (int i = 0; i < 8; ++i) command += " --control " + std::to_string(i) + "=" + std::to_string(s.controls[i].value);
        command += " --gradient " + std::to_string(s.gradient) + " --foreground 0,0,0 --background 255,255,255 '" +
                   (dir / "in.png").string() + "' '" + (dir / "out.png").string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        imaging::RgbaImage viaTool;
        ASSERT_TRUE(imaging::readPng((dir / "out.png").string(), viaTool, error)) << error;
        const imaging::RgbaImage here = render(s, defaultsOf(s), s.gradient, picture);
        for (size_t i = 0; i < here.pixels.size(); ++i)
            if (i % 4 != 3) ASSERT_EQ(viaTool.pixels[i], here.pixels[i]) << s.title << " byte " << i;
        ++compared;
    }
    EXPECT_EQ(compared, 4);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace lumen::tools
