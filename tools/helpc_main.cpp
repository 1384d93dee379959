// lumenforge-helpc: builds a help book and its HTML pages at build time.
//   lumenforge-helpc SOURCES_DIR GRADIENTS_TXT OUT.hlp HTML_DIR [SCREENSHOT_DIR]
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "help/help_file.h"
#include "help_compiler.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "lumenforge-helpc: %s\n", message.c_str());
    return 1;
}

int build(const std::string& sourceDir, const std::string& gradientsPath, const std::string& out,
          const std::string& htmlDir, const std::string& screenshotDir) {
    using namespace lumen::help;
    std::string error;
    std::ifstream gradients(gradientsPath, std::ios::binary);
    std::ostringstream text;
    text << gradients.rdbuf();
    if (!gradients) return fail("cannot read " + gradientsPath);
    const auto tables = lumen::tools::makeRenderTables(text.str(), error);
    if (!tables) return fail(gradientsPath + ": " + error);
    auto files = source::readSourceFiles(sourceDir, error);
    if (!files) return fail(error);
    auto parsed = source::parseBook(*files, error);
    if (!parsed) return fail(error);
    auto document = source::compileBook(std::move(*parsed), *tables, screenshotDir, error);
    if (!document) return fail(error);
    const std::vector<uint8_t> bytes = writeHelpFile(*document);
    // What the help window will be given must be what it accepts.
    if (readHelpFile(bytes).error != HelpReadError::none) return fail("the written book does not read back");
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) return fail("cannot write " + out);
    if (!source::writeHtml(*document, htmlDir, error)) return fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6)
        return fail("usage: lumenforge-helpc SOURCES_DIR GRADIENTS_TXT OUT.hlp HTML_DIR [SCREENSHOT_DIR]");
    return build(argv[1], argv[2], argv[3], argv[4], argc == 6 ? argv[5] : "");
}
