#include "pe_resources.h"

#include <algorithm>

#include "imaging/byte_reader.h"
#include "imaging/file_bytes.h"

namespace lumen::imaging {

namespace {

constexpr uint32_t kHighBit = 0x80000000u;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
// Listing bounds: a directory's entries may all point at one shared subdirectory, which would
// otherwise multiply the work.
constexpr size_t kMaxListedEntries = size_t{1} << 16;
// Longer names are not resource names anyone looks for; refusing them bounds the text work.
constexpr uint16_t kMaxNameLength = 256;
// Resource files worth reading are small; this keeps a stray huge file out of memory.
constexpr size_t kMaxResourceFileSize = size_t{256} << 20;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

// Windows-1252 characters 0x80 ... 0x9F by their Unicode values (0 where 1252 has none).
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char narrowUnit(uint16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit < 0x100)) return char(unit);
    for (int i = 0; i < 32; ++i)
        if (kWindows1252High[i] == unit) return char(0x80 + i);
    return '?';
}

}  // namespace

std::string narrowUtf16(std::span<const uint8_t> utf16) {
    std::string text;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
        const uint16_t unit = uint16_t(utf16[i] | utf16[i + 1] << 8);
        if (unit == 0) break;
        text.push_back(narrowUnit(unit));
    }
    return text;
}

bool ResourceKey::matches(const ResourceKey& other) const {
    if (isName != other.isName) return false;
    if (!isName) return id == other.id;
    return name.size() == other.name.size() &&
           std::equal(name.begin(), name.end(), other.name.begin(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

std::optional<PeResources> PeResources::parse(std::span<const uint8_t> image) {
    ByteReader reader(image);
    uint16_t mz = 0;
    uint32_t peOffset = 0;
    if (!reader.readU16(mz) || mz != 0x5A4D || !reader.seek(0x3C) || !reader.readU32(peOffset)) return std::nullopt;

    uint32_t signature = 0;
    uint16_t machine = 0, sectionCount = 0, optionalSize = 0;
    if (!reader.seek(peOffset) || !reader.readU32(signature) || signature != 0x00004550 ||
        !reader.readU16(machine) || !reader.readU16(sectionCount) || !reader.skip(12) ||
        !reader.readU16(optionalSize) || !reader.skip(2))
        return std::nullopt;

    std::span<const uint8_t> optional;
    if (!reader.readBytes(optionalSize, optional)) return std::nullopt;
    ByteReader header(optional);
    uint16_t magic = 0;
    if (!header.readU16(magic) || (magic != kPe32Magic && magic != kPe32PlusMagic)) return std::nullopt;
    PeResources result;
    result.image_ = image;
    result.is64Bit_ = magic == kPe32PlusMagic;
    const size_t countAt = result.is64Bit_ ? 108 : 92;
    uint32_t directoryCount = 0, resourceRva = 0;
    if (!header.seek(countAt) || !header.readU32(directoryCount)) return std::nullopt;
    const bool hasResourceEntry = directoryCount > kResourceDirectoryIndex &&
                                  header.seek(countAt + 4 + kResourceDirectoryIndex * 8) &&
                                  header.readU32(resourceRva);

    for (uint16_t i = 0; i < sectionCount; ++i) {
        Section section{};
        if (!reader.skip(8) || !reader.readU32(section.virtualSize) || !reader.readU32(section.virtualAddress) ||
            !reader.readU32(section.rawSize) || !reader.readU32(section.rawOffset) || !reader.skip(16))
            return std::nullopt;
        result.sections_.push_back(section);
    }

    if (hasResourceEntry && resourceRva != 0) {
        // The tree may run to the end of its section whatever the declared size says; the
        // loader does not look at that size either.
        const std::optional<std::span<const uint8_t>> start = result.mapRva(resourceRva, 0);
        if (!start) return std::nullopt;
        result.directory_ = *start;
    }
    return result;
}

// The bytes at an RVA: with size 0, everything from there to the end of its section's data.
std::optional<std::span<const uint8_t>> PeResources::mapRva(uint32_t rva, uint32_t size) const {
    for (const Section& section : sections_) {
        if (rva < section.virtualAddress) continue;
        const uint64_t within = uint64_t(rva) - section.virtualAddress;
        // Past the raw data the loader supplies zeros; past the virtual size nothing is mapped.
        const uint64_t limit = section.virtualSize ? std::min(section.virtualSize, section.rawSize) : section.rawSize;
        if (within >= limit) continue;
        const uint64_t available = limit - within;
        if (size > available) return std::nullopt;
        const uint64_t offset = uint64_t(section.rawOffset) + within;
        const uint64_t length = size ? size : available;
        if (offset > image_.size() || length > image_.size() - offset) return std::nullopt;
        return image_.subspan(size_t(offset), size_t(length));
    }
    return std::nullopt;
}

// Entries that do not fit in the section are not there.
size_t PeResources::entryCount(uint32_t directoryOffset) const {
    ByteReader reader(directory_);
    uint16_t named = 0, identified = 0;
    if (!reader.seek(directoryOffset) || !reader.skip(12) || !reader.readU16(named) || !reader.readU16(identified))
        return 0;
    return std::min<size_t>(size_t(named) + identified, reader.remaining() / 8);
}

bool PeResources::entryAt(uint32_t directoryOffset, size_t index, Entry& entry) const {
    ByteReader reader(directory_);
    uint32_t nameField = 0, dataField = 0;
    if (!reader.seek(size_t(directoryOffset) + 16 + index * 8) || !reader.readU32(nameField) ||
        !reader.readU32(dataField))
        return false;
    entry.offset = dataField & ~kHighBit;
    entry.isDirectory = (dataField & kHighBit) != 0;
    if (!(nameField & kHighBit)) {
        entry.key = ResourceKey::fromId(uint16_t(nameField));
        return true;
    }
    uint16_t length = 0;
    std::span<const uint8_t> units;
    if (!reader.seek(nameField & ~kHighBit) || !reader.readU16(length) || length > kMaxNameLength ||
        !reader.readBytes(size_t(length) * 2, units))
        return false;
    entry.key = ResourceKey::fromName(narrowUtf16(units));
    return true;
}

// Only the first entry of a language directory counts; it must be a data entry.
std::optional<std::pair<uint16_t, std::span<const uint8_t>>> PeResources::firstLanguage(uint32_t nameDirectory) const {
    Entry language;
    if (entryCount(nameDirectory) == 0 || !entryAt(nameDirectory, 0, language) || language.isDirectory ||
        language.key.isName)
        return std::nullopt;
    ByteReader reader(directory_);
    uint32_t rva = 0, size = 0;
    if (!reader.seek(language.offset) || !reader.readU32(rva) || !reader.readU32(size)) return std::nullopt;
    if (size == 0) return std::pair{language.key.id, std::span<const uint8_t>{}};
    const std::optional<std::span<const uint8_t>> data = mapRva(rva, size);
    if (!data) return std::nullopt;
    return std::pair{language.key.id, *data};
}

std::optional<std::span<const uint8_t>> PeResources::find(const ResourceKey& type, const ResourceKey& name) const {
    Entry typeEntry, nameEntry;
    for (size_t t = 0, types = entryCount(0); t < types; ++t) {
        if (!entryAt(0, t, typeEntry) || !typeEntry.isDirectory || !typeEntry.key.matches(type)) continue;
        for (size_t n = 0, names = entryCount(typeEntry.offset); n < names; ++n) {
            if (!entryAt(typeEntry.offset, n, nameEntry) || !nameEntry.isDirectory || !nameEntry.key.matches(name))
                continue;
            const auto language = firstLanguage(nameEntry.offset);
            if (!language) return std::nullopt;
            return language->second;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<ResourceItem> PeResources::list() const {
    std::vector<ResourceItem> items;
    size_t examined = 0;
    Entry typeEntry, nameEntry;
    for (size_t t = 0, types = entryCount(0); t < types && examined < kMaxListedEntries; ++t, ++examined) {
        if (!entryAt(0, t, typeEntry) || !typeEntry.isDirectory) continue;
        for (size_t n = 0, names = entryCount(typeEntry.offset); n < names && examined < kMaxListedEntries;
             ++n, ++examined) {
            if (!entryAt(typeEntry.offset, n, nameEntry) || !nameEntry.isDirectory) continue;
            const auto language = firstLanguage(nameEntry.offset);
            if (language) items.push_back({typeEntry.key, nameEntry.key, language->first, language->second});
        }
    }
    return items;
}

std::optional<std::vector<uint8_t>> readFileResource(const std::string& path, const ResourceKey& type,
                                                     const ResourceKey& name) {
    const std::optional<std::vector<uint8_t>> bytes = readFileBytes(path, kMaxResourceFileSize);
    if (!bytes) return std::nullopt;
    const std::optional<PeResources> resources = PeResources::parse(*bytes);
    if (!resources) return std::nullopt;
    const std::optional<std::span<const uint8_t>> data = resources->find(type, name);
    if (!data) return std::nullopt;
    return std::vector<uint8_t>(data->begin(), data->end());
}

}  // namespace lumen::imaging
