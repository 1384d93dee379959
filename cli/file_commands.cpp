// Dumps of filter files: the table of formats and the .ffx dumper.
#include <cstdio>

#include "commands.h"
#include "file_dump.h"
#include "filters/ffx_format.h"
#include "filters/file_system.h"

namespace lumen::cli {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; zero where the code page leaves a byte undefined (kept as
// the C1 control of the same number).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<nlohmann::json> dumpFfx(const std::string& path, std::string& error) {
    std::optional<std::vector<uint8_t>> bytes = filters::nativeFileSystem().readFile(path);
    if (!bytes) {
        error = "cannot read " + path + ": " + filters::lastFileError();
        return std::nullopt;
    }
    filters::FilterDefinition filter;
    filters::FfxReadDetails details;
    if (!filters::parseFfx(*bytes, filter, &details)) {
        error = path + ": Invalid FFX format or version conflict.";
        return std::nullopt;
    }
    nlohmann::json json = filterToJson(filter);
    json["version"] = details.magic;
    for (size_t i = 0; i < filter.presets.size(); ++i)
        json["presets"][i]["thumbnail"]["jpegBytes"] = details.thumbnailBytes[i];
    return json;
}

const FileDumpRegistration ffxDump{"ffx", dumpFfx};

void addFileCommands(CLI::App& app, CommandContext& context) {
    for (const FileDumpFormat& format : fileDumpFormats()) {
        CLI::App* group = app.add_subcommand(format.format, std::string("Read ") + format.format + " files");
        group->require_subcommand(1);
        CLI::App* dump = group->add_subcommand("dump", "Print what the reader makes of FILE as JSON");
        auto path = std::make_shared<std::string>();
        dump->add_option("FILE", *path)->required();
        dump->callback([&context, path, reader = format.dump] {
            std::string error;
            std::optional<nlohmann::json> json = reader(*path, error);
            if (!json) {
                std::fprintf(stderr, "lumenforge: %s\n", error.c_str());
                context.status = 1;
                return;
            }
            std::printf("%s\n", json->dump(2).c_str());
        });
    }
}

const CommandRegistration registration{addFileCommands};

}  // namespace

std::vector<FileDumpFormat>& fileDumpFormats() {
    static std::vector<FileDumpFormat> formats;
    return formats;
}

std::string windows1252ToUtf8(const std::string& text) {
    std::string out;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        char32_t code = byte;
        if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80]) code = kHighControls[byte - 0x80];
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | code >> 6));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | code >> 12));
            out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

nlohmann::json filterToJson(const filters::FilterDefinition& filter) {
    nlohmann::json json;
    json["title"] = windows1252ToUtf8(filter.title);
    json["category"] = windows1252ToUtf8(filter.category);
    json["author"] = windows1252ToUtf8(filter.author);
    json["copyright"] = windows1252ToUtf8(filter.copyright);
    json["code"] = nlohmann::json::array();
    for (const std::string& source : filter.code) json["code"].push_back(windows1252ToUtf8(source));
    json["controls"] = nlohmann::json::array();
    for (int i = 0; i < filters::kControlCount; ++i)
        json["controls"].push_back({{"label", windows1252ToUtf8(filter.controlLabel[i])},
                                    {"enabled", filter.controlEnabled[i]},
                                    {"value", filter.controlDefault[i]}});
    json["gradient"] = filter.gradientDefault;
    json["presets"] = nlohmann::json::array();
    for (const filters::Preset& preset : filter.presets)
        json["presets"].push_back({{"name", windows1252ToUtf8(preset.name)},
                                   {"values", preset.controlValue},
                                   {"gradient", preset.gradientIndex},
                                   {"thumbnail",
                                    {{"width", preset.thumbnail.width}, {"height", preset.thumbnail.height}}}});
    return json;
}

}  // namespace lumen::cli
