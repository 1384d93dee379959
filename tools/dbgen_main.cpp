// lumenforge-dbgen: builds the default database and the demo picture at build time.
//   lumenforge-dbgen build SOURCES_DIR GRADIENTS_TXT OUT_DIR
//   lumenforge-dbgen sample OUT.png [WIDTH HEIGHT]
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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

int buildCommand(const std::string& sourceDir, const std::string& gradientsPath, const std::string& outDir) {
    std::ifstream in(gradientsPath, std::ios::binary);
    if (!in) return fail("cannot read " + gradientsPath);
    std::ostringstream gradients;
    gradients << in.rdbuf();
    std::string error;
    const auto tables = lumen::tools::makeRenderTables(gradients.str(), error);
    if (!tables) return fail(gradientsPath + ": " + error);
    const auto sources = lumen::tools::loadFilterSources(sourceDir, error);
    if (!sources) return fail(error);
    if (sources->empty()) return fail("no filter sources in " + sourceDir);
    const auto preview = lumen::tools::makeSampleImage(kPreviewWidth, kPreviewHeight);
    if (!lumen::tools::buildDatabase(*sources, outDir, preview, *tables, error)) return fail(error);
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
    if (command == "sample" && argc == 3) return sampleCommand(argv[2], lumen::tools::kSampleWidth, lumen::tools::kSampleHeight);
    if (command == "sample" && argc == 5) return sampleCommand(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    return fail("usage: lumenforge-dbgen build SOURCES_DIR GRADIENTS_TXT OUT_DIR | sample OUT.png [WIDTH HEIGHT]");
}
