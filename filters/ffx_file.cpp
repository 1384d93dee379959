#include "filters/ffx_file.h"

#include "filters/ffx_format.h"

namespace lumen::filters {

bool readFfxFile(FileSystem& fs, const std::string& path, FilterDefinition& filter) {
    if (filter.restored) return true;
    return loadFfxFile(fs, path, filter);
}

bool loadFfxFile(FileSystem& fs, const std::string& path, FilterDefinition& filter) {
    std::optional<std::vector<uint8_t>> bytes = fs.readFile(path);
    if (!bytes) return false;
    FilterDefinition read;
    if (!parseFfx(*bytes, read)) return false;
    read.filePath = path;
    read.restored = filter.restored;
    filter = std::move(read);
    return true;
}

bool writeFfxFile(FileSystem& fs, const FilterDefinition& filter, bool withPresets) {
    if (filter.filePath.empty()) return false;
    std::optional<std::vector<uint8_t>> bytes = serializeFfx(filter, withPresets);
    return bytes && fs.writeFileAtomic(filter.filePath, *bytes);
}

bool writeNewFfxFile(FileSystem& fs, const FilterDefinition& filter) {
    if (filter.filePath.empty()) return false;
    std::optional<std::vector<uint8_t>> bytes = serializeFfx(filter, true);
    return bytes && fs.writeNewFile(filter.filePath, *bytes);
}

bool saveFfxAs(FileSystem& fs, FilterDefinition& filter, const std::string& path) {
    filter.filePath = path;
    return writeFfxFile(fs, filter, true);
}

bool setAsDefault(FileSystem& fs, FilterDefinition& filter) {
    filter.takeCurrentAsDefault();
    return writeFfxFile(fs, filter);
}

bool saveEdit(FileSystem& fs, FilterDefinition& filter, const FilterEdit& edit) {
    applyEdit(filter, edit);
    return writeFfxFile(fs, filter);
}

bool rewriteFfxTitleAndCategory(FileSystem& fs, const std::string& path, std::string_view title,
                                std::string_view category) {
    std::optional<std::vector<uint8_t>> bytes = fs.readFile(path);
    if (!bytes) return false;
    std::optional<std::vector<uint8_t>> rewritten = rewriteFfxTitleAndCategory(*bytes, title, category);
    return rewritten && fs.writeFileAtomic(path, *rewritten);
}

bool looksLikeFfxFile(FileSystem& fs, const std::string& path) {
    std::optional<std::vector<uint8_t>> bytes = fs.readFile(path);
    return bytes && looksLikeFfx(*bytes);
}

}  // namespace lumen::filters
