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

ImportOutcome importFfPlugin(FileSystem& fs, const std::string& path, const std::string& databasePath,
                             FilterDefinition& working) {
    const std::optional<std::vector<uint8_t>> bytes = fs.readFile(path, kMaxPluginFileSize);
    if (!bytes) return unreadableFile(path);
    ParmRecord record;
    if (!readFfPlugin(*bytes, record))
        return unrecognisedFile(path, "not a plug-in made with Filter Factory (no importable PARM resource)");
    convertParmRecord(record, working);
    const std::string target = joinPath(databasePath, filterFileName(working.category, working.title));
    if (!saveFfxAs(fs, working, target)) return unsavedFile(target);
    return {};
}

}  // namespace lumen::filters
