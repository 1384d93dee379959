#include "database_builder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "filters/database_entry.h"
#include "filters/ffx_file.h"
#include "filters/file_system.h"
#include "filters/filter_database.h"
#include "formula/compile_filter.h"
#include "imaging/bitmap.h"

namespace lumen::tools {
namespace {

constexpr size_t kMaxSourceFileSize = 64 * 1024;

bool readText(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return static_cast<bool>(in) || in.eof();
}

std::optional<imaging::Bitmap> toBitmap(const imaging::RgbaImage& image) {
    return imaging::bitmapFromRows(image.pixels, image.width, image.height, size_t(image.width) * 4,
                                   imaging::kRgbaOffsets);
}

// Earlier builds' files go, so a renamed or removed source leaves nothing behind.
bool clearOldOutput(filters::FileSystem& fs, const std::string& directory, std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (!fs.directoryExists(directory)) {
        error = "cannot create " + directory;
        return false;
    }
    const auto items = fs.listDirectory(directory);
    if (!items) {
        error = "cannot list " + directory;
        return false;
    }
    for (const filters::DirectoryItem& item : *items) {
        if (item.isDirectory) continue;
        const bool ffx = item.name.size() > 4 && filters::equalsIgnoringCase(item.name.substr(item.name.size() - 4), ".ffx");
        if ((ffx || item.name == filters::kIndexFileName) && !fs.removeFile(filters::joinPath(directory, item.name))) {
            error = "cannot remove " + item.name + " from " + directory;
            return false;
        }
    }
    return true;
}

bool addPresets(filters::FilterDefinition& filter, const NamedSource& named, const imaging::RgbaImage& preview,
                const RenderTables& tables, std::string& error) {
    for (const SourcePreset& preset : named.source.presets) {
        std::optional<imaging::RgbaImage> rendered =
            renderFilterSource(named.source, preset.values, preset.gradient, preview, tables, error);
        if (!rendered) {
            error = named.path + ": preset '" + preset.name + "': " + error;
            return false;
        }
        std::optional<imaging::Bitmap> bitmap = toBitmap(*rendered);
        std::optional<imaging::Bitmap> thumbnail = bitmap ? filters::presetThumbnail(*bitmap) : std::nullopt;
        if (!thumbnail) {
            error = named.path + ": preset '" + preset.name + "': no thumbnail";
            return false;
        }
        filters::Preset made;
        made.name = preset.name;
        made.controlValue = preset.values;
        made.gradientIndex = preset.gradient;
        made.thumbnail = std::move(*thumbnail);
        filter.presets.push_back(std::move(made));
    }
    return true;
}

}  // namespace

std::optional<std::vector<NamedSource>> loadFilterSources(const std::string& directory, std::string& error) {
    std::vector<std::filesystem::path> paths;
    std::error_code code;
    for (auto it = std::filesystem::recursive_directory_iterator(directory, code);
         !code && it != std::filesystem::recursive_directory_iterator(); it.increment(code)) {
        if (it->is_regular_file(code) && it->path().extension() == ".txt") paths.push_back(it->path());
    }
    if (code) {
        error = "cannot list " + directory + ": " + code.message();
        return std::nullopt;
    }
    std::sort(paths.begin(), paths.end());
    std::vector<NamedSource> sources;
    for (const std::filesystem::path& path : paths) {
        std::string text;
        if (std::filesystem::file_size(path, code) > kMaxSourceFileSize || code || !readText(path, text)) {
            error = "cannot read " + path.string();
            return std::nullopt;
        }
        std::optional<FilterSource> source = parseFilterSource(text, path.string(), error);
        if (!source) return std::nullopt;
        sources.push_back({path.string(), std::move(*source)});
    }
    return sources;
}

bool checkFilterCompiles(const FilterSource& source, std::string& error) {
    std::array<const char*, formula::kSourceCount> texts;
    for (int i = 0; i < formula::kSourceCount; ++i) texts[i] = source.code[i].c_str();
    const formula::FilterCompileResult result = formula::compileFilter(texts);
    if (result.ok) return true;
    error = "code" + std::to_string(result.failingIndex) +
            (result.failingStatus == formula::kCompileStackOverflow ? " is nested too deeply" : " has a syntax error");
    return false;
}

filters::FilterDefinition toFilterDefinition(const FilterSource& source) {
    filters::FilterDefinition filter;
    filter.title = source.title;
    filter.category = source.category;
    filter.author = source.author;
    filter.copyright = source.copyright;
    filter.code = source.code;
    for (int i = 0; i < filters::kControlCount; ++i) {
        filter.controlLabel[i] = source.controls[i].label;
        filter.controlEnabled[i] = source.controls[i].enabled ? 1 : 0;
        filter.controlValue[i] = filter.controlDefault[i] = source.controls[i].value;
    }
    filter.gradientIndex = filter.gradientDefault = source.gradient;
    return filter;
}

std::optional<imaging::RgbaImage> renderFilterSource(const FilterSource& source, const std::array<int32_t, 8>& controls,
                                                     int32_t gradient, const imaging::RgbaImage& picture,
                                                     const RenderTables& tables, std::string& error) {
    std::array<const char*, formula::kSourceCount> texts;
    for (int i = 0; i < formula::kSourceCount; ++i) texts[i] = source.code[i].c_str();
    formula::FilterCompileResult compiled = formula::compileFilter(texts);
    if (!compiled.ok) {
        checkFilterCompiles(source, error);
        return std::nullopt;
    }
    formula::ImageDescription description;
    description.pixels = picture.pixels.data();
    description.width = picture.width;
    description.height = picture.height;
    description.hasAlpha = picture.hasAlpha;
    // The destination starts as a copy, as the plug-in's working image does.
    imaging::RgbaImage result = picture;
    const formula::RenderOutcome outcome = formula::renderFilter(compiled.program, description, result.pixels.data(),
                                                                 tables.setUp(controls, gradient));
    if (outcome != formula::RenderOutcome::kComplete) {
        error = "the render did not complete";
        return std::nullopt;
    }
    return result;
}

bool buildDatabase(const std::vector<NamedSource>& sources, const std::string& directory,
                   const imaging::RgbaImage& preview, const RenderTables& tables, std::string& error) {
    std::map<std::string, std::string> ownerOfFile;
    for (const NamedSource& named : sources) {
        std::string fileName = filters::filterFileName(named.source.category, named.source.title);
        std::string folded = fileName;
        std::transform(folded.begin(), folded.end(), folded.begin(), filters::foldCase);
        auto [it, added] = ownerOfFile.emplace(folded, named.path);
        if (!added) {
            error = named.path + ": its file name '" + fileName + "' is taken by " + it->second;
            return false;
        }
        if (!checkFilterCompiles(named.source, error)) {
            error = named.path + ": " + error;
            return false;
        }
    }
    filters::FileSystem& fs = filters::nativeFileSystem();
    if (!clearOldOutput(fs, directory, error)) return false;
    for (const NamedSource& named : sources) {
        filters::FilterDefinition filter = toFilterDefinition(named.source);
        filter.filePath = filters::joinPath(directory, filters::filterFileName(filter.category, filter.title));
        if (!addPresets(filter, named, preview, tables, error)) return false;
        if (!filters::writeFfxFile(fs, filter)) {
            error = "cannot write " + filter.filePath;
            return false;
        }
    }
    filters::FilterDatabase database(fs);
    const filters::DatabaseOpenResult opened = database.open(directory);
    if (!opened.listed || database.entries().size() != sources.size()) {
        error = "the built database in " + directory + " does not list every filter";
        return false;
    }
    return true;
}

}  // namespace lumen::tools
