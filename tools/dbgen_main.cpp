// lumenforge-dbgen: builds the default database and the demo picture at build time.
//   lumenforge-dbgen build SOURCES_DIR GRADIENTS_TXT OUT_DIR
//   lumenforge-dbgen sample OUT.png [WIDTH HEIGHT]
//   lumenforge-dbgen overview SOURCES_DIR GRADIENTS_TXT OUT.png [--presets]
//       (every filter at its defaults, and with --presets at each preset's settings too)
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "contact_sheet.h"
#include "database_builder.h"
#include "sample_image.h"

namespace {

// Preset thumbnails are made from the picture at the size of the plug-in's preview.
constexpr int kPreviewWidth = 256;
constexpr int kPreviewHeight = 192;

int fail(const std::string& message) {
    std::fprintf(stderr, "lumenforge-dbgen: %s\n", message.c_str());
    return 1;
}

std::optional<lumen::tools::RenderTables> loadTables(const std::string& gradientsPath, std::string& error) {
    std::ifstream in(gradientsPath, std::ios::binary);
    if (!in) {
        error = "cannot read " + gradientsPath;
        return std::nullopt;
    }
    std::ostringstream gradients;
    gradients << in.rdbuf();
    auto tables = lumen::tools::makeRenderTables(gradients.str(), error);
    if (!tables) error = gradientsPath + ": " + error;
    return tables;
}

std::optional<std::vector<lumen::tools::NamedSource>> loadSources(const std::string& sourceDir, std::string& error) {
    auto sources = lumen::tools::loadFilterSources(sourceDir, error);
    if (sources && sources->empty()) {
        error = "no filter sources in " + sourceDir;
        return std::nullopt;
    }
    return sources;
}

int buildCommand(const std::string& sourceDir, const std::string& gradientsPath, const std::string& outDir) {
    std::string error;
    const auto tables = loadTables(gradientsPath, error);
    if (!tables) return fail(error);
    const auto sources = loadSources(sourceDir, error);
    if (!sources) return fail(error);
    const auto preview = lumen::tools::makeSampleImage(kPreviewWidth, kPreviewHeight);
    if (!lumen::tools::buildDatabase(*sources, outDir, preview, *tables, error)) return fail(error);
    return 0;
}

int overviewCommand(const std::string& sourceDir, const std::string& gradientsPath, const std::string& out,
                    bool withPresets) {
    std::string error;
    const auto tables = loadTables(gradientsPath, error);
    if (!tables) return fail(error);
    const auto sources = loadSources(sourceDir, error);
    if (!sources) return fail(error);
    const auto picture = lumen::tools::makeSampleImage(kPreviewWidth, kPreviewHeight);
    std::vector<lumen::tools::LabelledImage> images;
    for (const auto& named : *sources) {
        std::array<int32_t, 8> controls;
        for (int i = 0; i < 8; ++i) controls[i] = named.source.controls[i].value;
        auto rendered = lumen::tools::renderFilterSource(named.source, controls, named.source.gradient, picture, *tables, error);
        if (!rendered) return fail(named.path + ": " + error);
        images.push_back({named.source.title, std::move(*rendered)});
        if (!withPresets) continue;
        for (const auto& preset : named.source.presets) {
            rendered = lumen::tools::renderFilterSource(named.source, preset.values, preset.gradient, picture, *tables, error);
            if (!rendered) return fail(named.path + ": " + error);
            images.push_back({preset.name, std::move(*rendered)});
        }
    }
    const auto sheet = lumen::tools::composeContactSheet(images, {}, error);
    if (!sheet || !lumen::imaging::writePng(out, *sheet, error)) return fail(error);
    return 0;
}

int sampleCommand(const std::string& out, int width, int height) {
    const auto image = lumen::tools::makeSampleImage(width, height);
    if (image.pixels.empty()) return fail("the picture's sides must be 1 to 8192");
    std::string error;
    if (!lumen::imaging::writePng(out, image, error)) return fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc == 5) return buildCommand(argv[2], argv[3], argv[4]);
    if (command == "overview" && argc == 5) return overviewCommand(argv[2], argv[3], argv[4], false);
    if (command == "overview" && argc == 6 && std::string(argv[5]) == "--presets")
        return overviewCommand(argv[2], argv[3], argv[4], true);
    if (command == "sample" && argc == 3) return sampleCommand(argv[2], lumen::tools::kSampleWidth, lumen::tools::kSampleHeight);
    if (command == "sample" && argc == 5) return sampleCommand(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    return fail("usage: lumenforge-dbgen build SOURCES_DIR GRADIENTS_TXT OUT_DIR | sample OUT.png [WIDTH HEIGHT]"
                " | overview SOURCES_DIR GRADIENTS_TXT OUT.png [--presets]");
}
