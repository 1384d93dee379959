#include "version_info.h"

#include <algorithm>
#include <cstdio>

#include "imaging/byte_reader.h"
#include "imaging/file_bytes.h"
#include "imaging/pe_resources.h"

namespace lumen::imaging {

namespace {

constexpr uint16_t kVersionType = 16;
constexpr uint16_t kVersionName = 1;
constexpr size_t kMaxVersionFileSize = size_t{64} << 20;

// One node of the version tree: a length, a value, a type, a zero-terminated UTF-16 key, then the
// value and the children, each starting on a 32-bit boundary from the resource's start.
struct Block {
    std::string key;
    std::span<const uint8_t> value;
    size_t childrenStart = 0;
    size_t end = 0;
};

size_t align4(size_t at) { return (at + 3) & ~size_t{3}; }

bool readBlock(std::span<const uint8_t> bytes, size_t at, size_t limit, Block& block) {
    ByteReader reader(bytes.first(limit));
    uint16_t length = 0, valueLength = 0, type = 0;
    if (!reader.seek(at) || !reader.readU16(length) || !reader.readU16(valueLength) || !reader.readU16(type))
        return false;
    if (length < 6 || length > limit - at) return false;
    block.end = at + length;
    const std::span<const uint8_t> inside = bytes.subspan(at, length);
    size_t keyEnd = 6;
    while (keyEnd + 1 < inside.size() && (inside[keyEnd] | inside[keyEnd + 1]) != 0) keyEnd += 2;
    block.key = narrowUtf16(inside.subspan(6, keyEnd - 6));
    const size_t valueStart = std::min(align4(at + keyEnd + 2) - at, inside.size());
    // Text values count 16-bit units, binary ones bytes; either is cut at the block's end.
    const size_t valueBytes = std::min(size_t(valueLength) * (type == 1 ? 2 : 1), inside.size() - valueStart);
    block.value = inside.subspan(valueStart, valueBytes);
    block.childrenStart = std::min(align4(at + valueStart + valueBytes), block.end);
    return true;
}

bool keyEquals(const std::string& a, const std::string& b) {
    return ResourceKey::fromName(a).matches(ResourceKey::fromName(b));
}

// The child of `parent` with the given key (ignoring case). Every step moves forward by at least
// six bytes, so the walk ends.
bool findChild(std::span<const uint8_t> bytes, const Block& parent, const std::string& key, Block& child) {
    for (size_t at = parent.childrenStart; at < parent.end; at = align4(child.end)) {
        if (!readBlock(bytes, at, parent.end, child)) return false;
        if (keyEquals(child.key, key)) return true;
    }
    return false;
}

}  // namespace

std::optional<std::string> fileVersionText(std::span<const uint8_t> resource) {
    Block root, varInfo, translation;
    if (!readBlock(resource, 0, resource.size(), root) || !keyEquals(root.key, "VS_VERSION_INFO") ||
        !findChild(resource, root, "VarFileInfo", varInfo) || !findChild(resource, varInfo, "Translation", translation))
        return std::nullopt;
    ByteReader reader(translation.value);
    uint16_t language = 0, codePage = 0;
    if (!reader.readU16(language) || !reader.readU16(codePage)) return std::nullopt;
    char tableKey[16];
    std::snprintf(tableKey, sizeof tableKey, "%04x%04x", unsigned(language), unsigned(codePage));

    Block stringInfo, table, fileVersion;
    if (!findChild(resource, root, "StringFileInfo", stringInfo) || !findChild(resource, stringInfo, tableKey, table) ||
        !findChild(resource, table, "FileVersion", fileVersion))
        return std::string{};
    return narrowUtf16(fileVersion.value);
}

std::optional<std::string> readFileVersionText(const std::string& path) {
    const std::optional<std::vector<uint8_t>> bytes = readFileBytes(path, kMaxVersionFileSize);
    if (!bytes) return std::nullopt;
    const std::optional<PeResources> resources = PeResources::parse(*bytes);
    if (!resources) return std::nullopt;
    std::optional<std::span<const uint8_t>> resource =
        resources->find(ResourceKey::fromId(kVersionType), ResourceKey::fromId(kVersionName));
    if (!resource)
        for (const ResourceItem& item : resources->list())
            if (!item.type.isName && item.type.id == kVersionType) {
                resource = item.data;
                break;
            }
    if (!resource) return std::nullopt;
    return fileVersionText(*resource);
}

}  // namespace lumen::imaging
