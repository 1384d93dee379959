// lumenforge render: the apply's synchronous render over a PNG image, outside any host.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "filters/afs_file.h"
#include "filters/ff_plugin.h"
#include "filters/ffx_file.h"
#include "filters/import_command.h"
#include "filters/parm_record.h"
#include "formula/compile_filter.h"
#include "plugin/filter_runner.h"
#include "plugin/parameter_block.h"
#include "plugin/rgba_images.h"

namespace lumen::cli {
namespace {

struct RenderArguments {
    std::string filterFile;
    std::vector<std::string> code = std::vector<std::string>(plugin::kSourceCount);
    std::vector<std::string> controls;
    std::optional<int> gradient;
    int threads = 0;  // every core
    std::string foreground = "0,0,0";
    std::string background = "255,255,255";
    std::string input;
    std::string output;
};

class QuietHost final : public plugin::HostProgress {
public:
    void progress(int32_t, int32_t) override {}
    bool abortRequested() override { return false; }
};

std::optional<std::array<uint8_t, 3>> parseColour(const std::string& text) {
    int r = 0, g = 0, b = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d,%d,%d%c", &r, &g, &b, &end) != 3) return std::nullopt;
    for (int v : {r, g, b})
        if (v < 0 || v > 255) return std::nullopt;
    return std::array<uint8_t, 3>{uint8_t(r), uint8_t(g), uint8_t(b)};
}

// "K=V" with K a slider 0..7.
bool applyControl(const std::string& text, plugin::CurrentFilter& filter) {
    int slider = -1, value = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d=%d%c", &slider, &value, &end) != 2) return false;
    if (slider < 0 || slider >= plugin::kSliderCount) return false;
    filter.controlValue[slider] = value;
    filter.controlEnabled[slider] = 1;
    return true;
}

// A filter file of any kind the import takes, read with its stored settings.
bool loadFilterFile(const std::string& path, filters::FilterDefinition& filter, std::string& error) {
    filters::FileSystem& fs = filters::nativeFileSystem();
    filters::ParmRecord record;
    switch (filters::importKindOf(path)) {
    case filters::ImportKind::Ffx:
        if (filters::loadFfxFile(fs, path, filter)) return true;
        error = filters::kInvalidFfxReason;
        return false;
    case filters::ImportKind::Afs:
        if (filters::readAfsFile(fs, path, record) && filters::isImportable(record)) break;
        error = filters::kInvalidAfsReason;
        return false;
    case filters::ImportKind::Plugin:
        if (filters::readFfPluginFile(fs, path, record) && filters::isImportable(record)) break;
        error = filters::kInvalidPluginReason;
        return false;
    default:
        error = "not a filter file (.ffx, .afs or .8bf)";
        return false;
    }
    filters::convertParmRecord(record, filter);
    return true;
}

int render(const RenderArguments& arguments) {
    plugin::CurrentFilter filter;
    if (!arguments.filterFile.empty()) {
        filters::FilterDefinition definition;
        std::string error;
        if (!loadFilterFile(arguments.filterFile, definition, error)) {
            std::fprintf(stderr, "lumenforge render: %s: %s\n", arguments.filterFile.c_str(), error.c_str());
            return 1;
        }
        filter = filters::toBlockFields(definition, {});
    } else {
        for (int i = 0; i < plugin::kSourceCount; ++i) filter.code[i] = arguments.code[i];
    }
    for (const std::string& control : arguments.controls) {
        if (!applyControl(control, filter)) {
            std::fprintf(stderr, "lumenforge render: bad control \"%s\" (expected K=V, K from 0 to 7)\n", control.c_str());
            return 2;
        }
    }
    if (arguments.gradient) filter.gradientIndex = *arguments.gradient;
    // The render of a filter that does not compile leaves the image as it is; say so instead.
    std::array<const char*, plugin::kSourceCount> sources{};
    for (int i = 0; i < plugin::kSourceCount; ++i) sources[i] = filter.code[i].c_str();
    const formula::FilterCompileResult compiled = formula::compileFilter(sources);
    if (!compiled.ok) {
        const std::string from = arguments.filterFile.empty() ? "--code" + std::to_string(compiled.failingIndex)
                                                              : arguments.filterFile + ": Code" +
                                                                    std::to_string(compiled.failingIndex);
        std::fprintf(stderr, "lumenforge render: %s \"%s\" does not parse (%s); nothing was written\n", from.c_str(),
                     sources[compiled.failingIndex],
                     compiled.failingStatus == formula::kCompileStackOverflow ? "too deeply nested" : "syntax error");
        return 1;
    }
    const auto foreground = parseColour(arguments.foreground);
    const auto background = parseColour(arguments.background);
    if (!foreground || !background) {
        std::fprintf(stderr, "lumenforge render: colours are R,G,B with values from 0 to 255\n");
        return 2;
    }

    imaging::RgbaImage input;
    std::string error;
    if (!imaging::readPng(arguments.input, input, error)) {
        std::fprintf(stderr, "lumenforge render: %s\n", error.c_str());
        return 1;
    }
    plugin::ImageBuffer source, destination;
    if (!plugin::imageBufferFromRgba(input, source) || !destination.cloneFrom(source)) {
        std::fprintf(stderr, "lumenforge render: the image is too large to hold\n");
        return 1;
    }
    plugin::FilterRunner runner;
    runner.setFilter(filter);
    runner.setColours({*foreground, *background});
    runner.setThreads(arguments.threads);
    QuietHost host;
    plugin::ParameterBlock block{};
    runner.runSynchronous(source, destination, host, block);
    if (!imaging::writePng(arguments.output, plugin::rgbaFromImageBuffer(destination), error)) {
        std::fprintf(stderr, "lumenforge render: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

void addRenderCommand(CLI::App& app, CommandContext& context) {
    auto arguments = std::make_shared<RenderArguments>();
    CLI::App* command = app.add_subcommand("render", "Render a filter over a PNG image");
    CLI::Option* file = command->add_option("--filter", arguments->filterFile, "A filter file: .ffx, .afs or .8bf");
    const char* defaults[plugin::kSourceCount] = {"0", "r", "g", "b", "a"};
    for (int i = 0; i < plugin::kSourceCount; ++i) {
        arguments->code[i] = defaults[i];
        command->add_option("--code" + std::to_string(i), arguments->code[i], "Source " + std::to_string(i))
            ->excludes(file);
    }
    command->add_option("--control", arguments->controls, "Slider K set to V (K=V)");
    command->add_option("--gradient", arguments->gradient, "Gradient index")->check(CLI::Range(0, 99));
    command->add_option("--foreground", arguments->foreground, "Foreground colour R,G,B");
    command->add_option("--background", arguments->background, "Background colour R,G,B");
    command->add_option("--threads", arguments->threads, "Threads to render on (default: every core)")
        ->check(CLI::Range(1, 256));
    command->add_option("input", arguments->input, "Input PNG")->required();
    command->add_option("output", arguments->output, "Output PNG")->required();
    command->callback([arguments, &context] { context.status = render(*arguments); });
}

const CommandRegistration registration{addRenderCommand};

}  // namespace
}  // namespace lumen::cli
