#include "filters/ff_plugin.h"

#include "filters/database_entry.h"
#include "filters/ffx_file.h"
#include "imaging/pe_resources.h"

namespace lumen::filters {

namespace {

// Filter Factory's plug-ins are a few hundred kilobytes.
constexpr size_t kMaxPluginFileSize = 64u << 20;

}  // namespace

bool readFfPlugin(std::span<const uint8_t> image, ParmRecord& record) {
    record = ParmRecord{};
    const std::optional<imaging::PeResources> resources = imaging::PeResources::parse(image);
    if (!resources) return false;
    const auto data = resources->find(imaging::ResourceKey::fromName(kParmResourceType),
                                      imaging::ResourceKey::fromId(kParmResourceId));
    if (!data) return false;
    record = decodeParmRecord(*data);
    return isImportable(record);
}

bool readFfPluginFile(FileSystem& fs, const std::string& path, ParmRecord& record) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path, kMaxPluginFileSize);
    if (!bytes) {
        record = ParmRecord{};
        return false;
    }
    return readFfPlugin(*bytes, record);
}

bool importFfPlugin(FileSystem& fs, const std::string& path, const std::string& databasePath,
                    FilterDefinition& working) {
    ParmRecord record;
    if (!readFfPluginFile(fs, path, record)) return false;
    convertParmRecord(record, working);
    saveFfxAs(fs, working, joinPath(databasePath, filterFileName(working.category, working.title)));
    return true;
}

}  // namespace lumen::filters
