// lumenforge-host: a host of the Photoshop plug-in API, for tests and batch use.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "host/about_watch.h"
#include "host/filter_session.h"
#include "imaging/pe_resources.h"

namespace {

using namespace lumen;
using Json = nlohmann::ordered_json;

int fail(const std::string& message) {
    std::fprintf(stderr, "lumenforge-host: %s\n", message.c_str());
    return 1;
}

std::unique_ptr<host::PluginModule> loadPlugin(const std::string& path) {
    std::string error;
    auto module = host::PluginModule::load(path, error);
    if (!module) fail(error);
    return module;
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return true;
}

struct ApplyArguments {
    std::string plugin, input, output, mode = "rgb", play = "display", params, hostSig, screenshot;
    std::vector<std::string> descriptors;
    int abortAfterRows = -1, repeat = 1, extraPlanes = 0, closeAfterMs = -1;
    bool parameters = false, noDescriptor = false, noColorServices = false, noColumnBytes = false;
};

int runApply(const ApplyArguments& args) {
    host::ApplyOptions options;
    static const std::map<std::string, host::HostMode> modes = {
        {"rgb", host::HostMode::rgb}, {"gray", host::HostMode::gray},
        {"cmyk", host::HostMode::cmyk}, {"multichannel", host::HostMode::multichannel}};
    static const std::map<std::string, int16_t> plays = {{"display", hostapi::plugInDialogDisplay},
                                                         {"dont", hostapi::plugInDialogDontDisplay},
                                                         {"silent", hostapi::plugInDialogSilent}};
    if (!modes.count(args.mode)) return fail("unknown mode " + args.mode);
    if (!plays.count(args.play)) return fail("unknown play mode " + args.play);
    options.mode = modes.at(args.mode);
    options.playInfo = plays.at(args.play);
    options.extraPlanes = args.extraPlanes;
    options.runParameters = args.parameters;
    options.descriptorSuite = !args.noDescriptor;
    options.colorServices = !args.noColorServices;
    options.columnBytes = !args.noColumnBytes;
    options.abortAfterRows = args.abortAfterRows;
    if (!args.hostSig.empty()) {
        if (args.hostSig.size() != 4) return fail("--host-sig takes four characters");
        options.hostSignature = hostapi::fourCharCode({args.hostSig[0], args.hostSig[1], args.hostSig[2], args.hostSig[3], 0});
    }
    for (const std::string& argument : args.descriptors) {
        auto item = host::descriptorItemFromArgument(argument);
        if (!item) return fail("bad descriptor item " + argument + " (KEY=VALUE, KEY four characters)");
        options.descriptor.push_back(*item);
    }

    imaging::RgbaImage input;
    std::string error;
    if (!imaging::readPng(args.input, input, error)) return fail(error);
    auto plugin = loadPlugin(args.plugin);
    if (!plugin) return 1;
    host::FilterSession session{*plugin};
    std::string block;
    if (!args.params.empty() && readFile(args.params, block) && !session.restoreParameters(block))
        return fail(args.params + ": not a parameter block of " + std::to_string(host::kParameterBlockSize) + " bytes");

    host::HostImage image;
    host::RunResult run;
    for (int i = 0; i < std::max(args.repeat, 1); ++i) {
        image = host::hostImageFromRgba(input, options.mode, options.extraPlanes);
        host::AboutWatch watch{args.screenshot, args.closeAfterMs};
        run = session.apply(image, options);
        if (run.result != hostapi::noErr) break;
    }
    if (!args.params.empty()) {
        if (auto saved = session.savedParameters()) {
            std::ofstream out(args.params, std::ios::binary | std::ios::trunc);
            out.write(saved->data(), static_cast<std::streamsize>(saved->size()));
            if (!out) return fail("cannot write " + args.params);
        }
    }
    Json report{{"result", run.result}, {"progressCalls", run.progress.size()},
                {"descriptor", run.writtenDescriptor ? host::descriptorJson(*run.writtenDescriptor) : Json(nullptr)}};
    std::cout << report.dump(2) << std::endl;
    if (run.result != hostapi::noErr)
        return fail("the plug-in answered " + std::to_string(run.result) + " to selector " +
                    std::to_string(run.failedSelector));
    if (!imaging::writePng(args.output, host::rgbaFromHostImage(image), error)) return fail(error);
    return 0;
}

// A Windows plug-in's resources are read from its file on any platform, without loading it; a
// native plug-in hands them out once loaded.
std::optional<std::vector<uint8_t>> pluginResource(const std::string& path, const char* type) {
    std::ifstream file(path, std::ios::binary);
    char magic[2] = {};
    if (file.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z') {
        auto bytes = imaging::readFileResource(path, imaging::ResourceKey::fromName(type),
                                               imaging::ResourceKey::fromId(host::kPiplResourceId));
        if (!bytes) fail(path + ": no " + type + " resource 16000 in the Windows image");
        return bytes;
    }
    auto plugin = loadPlugin(path);
    if (!plugin) return std::nullopt;
    std::vector<uint8_t> bytes = plugin->resource(type, host::kPiplResourceId);
    if (bytes.empty()) {
        fail(path + ": no " + type + " resource 16000");
        return std::nullopt;
    }
    return bytes;
}

int runResource(const std::string& path, bool pipl) {
    const auto bytes = pluginResource(path, pipl ? "PiPL" : "AETE");
    if (!bytes) return 1;
    std::string error;
    if (pipl) {
        auto properties = host::parsePipl(*bytes, error);
        if (!properties) return fail(path + ": " + error);
        std::cout << host::piplJson(*properties).dump(2) << std::endl;
        return 0;
    }
    auto aete = host::parseAete(*bytes, error);
    if (!aete) return fail(path + ": " + error);
    std::cout << aete->dump(2) << std::endl;
    return 0;
}

int runAbout(const std::string& path, const std::string& screenshot, int closeAfterMs) {
    auto plugin = loadPlugin(path);
    if (!plugin) return 1;
    host::FilterSession session{*plugin};
    host::AboutWatch watch{screenshot, closeAfterMs};
    const int16_t result = session.about();
    std::cout << Json{{"result", result}, {"windowSeen", watch.finish()}}.dump(2) << std::endl;
    return result == hostapi::noErr ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"lumenforge-host: runs a filter plug-in of the Photoshop plug-in API"};
    app.require_subcommand(1);
    // Paths like /tmp/x.png are arguments, not Windows-style options, also in the .exe.
    app.allow_windows_style_options(false);
    int status = 0;

    ApplyArguments apply;
    CLI::App* applyCommand = app.add_subcommand("apply", "Filter a PNG image with the plug-in");
    applyCommand->add_option("PLUGIN", apply.plugin)->required();
    applyCommand->add_option("IN", apply.input, "input PNG")->required();
    applyCommand->add_option("OUT", apply.output, "output PNG")->required();
    applyCommand->add_option("--mode", apply.mode, "rgb, gray, cmyk or multichannel");
    // Hosts following the plug-in API keep at most 56 channels an image.
    applyCommand->add_option("--extra-planes", apply.extraPlanes, "multichannel: planes beyond colour and alpha")
        ->check(CLI::Range(0, 56));
    applyCommand->add_option("--params", apply.params, "parameter block kept between invocations");
    applyCommand->add_option("--play", apply.play, "display, dont or silent");
    applyCommand->add_option("--descriptor", apply.descriptors, "KEY=VALUE item of the recorded step");
    applyCommand->add_option("--abort-after-rows", apply.abortAfterRows, "answer the abort test once progress reached N");
    applyCommand->add_option("--repeat", apply.repeat, "run the whole sequence N times in this process");
    applyCommand->add_option("--host-sig", apply.hostSig, "four-character host signature");
    applyCommand->add_option("--screenshot", apply.screenshot, "with --close-after: save the dialog as PNG (Windows)");
    applyCommand->add_option("--close-after", apply.closeAfterMs, "press the dialog's Apply after this many milliseconds");
    applyCommand->add_flag("--parameters", apply.parameters, "call the parameters selector first");
    applyCommand->add_flag("--no-descriptor", apply.noDescriptor, "offer no scripting descriptor suite");
    applyCommand->add_flag("--no-color-services", apply.noColorServices, "offer no colour services");
    applyCommand->add_flag("--no-column-bytes", apply.noColumnBytes, "leave inColumnBytes and outColumnBytes 0");
    applyCommand->callback([&] { status = runApply(apply); });

    std::string resourcePlugin;
    CLI::App* piplCommand = app.add_subcommand("pipl", "Print the plug-in's PiPL as a host parses it");
    piplCommand->add_option("PLUGIN", resourcePlugin)->required();
    piplCommand->callback([&] { status = runResource(resourcePlugin, true); });
    CLI::App* aeteCommand = app.add_subcommand("aete", "Print the plug-in's scripting terminology");
    aeteCommand->add_option("PLUGIN", resourcePlugin)->required();
    aeteCommand->callback([&] { status = runResource(resourcePlugin, false); });

    std::string screenshot;
    int closeAfterMs = -1;
    CLI::App* aboutCommand = app.add_subcommand("about", "Show the plug-in's about box");
    aboutCommand->add_option("PLUGIN", resourcePlugin)->required();
    aboutCommand->add_option("--screenshot", screenshot, "save the about box as PNG (Windows)");
    aboutCommand->add_option("--close-after", closeAfterMs, "close the about box after this many milliseconds");
    aboutCommand->callback([&] { status = runAbout(resourcePlugin, screenshot, closeAfterMs); });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    } catch (const std::exception& error) {
        return fail(error.what());
    }
    return status;
}
