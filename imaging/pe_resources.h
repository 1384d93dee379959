#pragma once
// Resources of Windows executables and DLLs (PE32 and PE32+), read from the file's bytes and
// never loaded as code. Every offset, size and count in the file is checked before use.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumen::imaging {

// A resource type or name: an integer identifier or a name. Names are compared ignoring case, as
// the Windows resource functions do (windres stores them upper-cased).
struct ResourceKey {
    bool isName = false;
    uint16_t id = 0;
    std::string name;  // UTF-16 in the file, kept as 8-bit text ('?' for what 8 bits cannot hold)

    static ResourceKey fromId(uint16_t id) { return {false, id, {}}; }
    static ResourceKey fromName(std::string name) { return {true, 0, std::move(name)}; }
    bool matches(const ResourceKey& other) const;
};

struct ResourceItem {
    ResourceKey type;
    ResourceKey name;
    uint16_t language = 0;
    std::span<const uint8_t> data;
};

class PeResources {
public:
    // Nothing when the bytes are not a PE image; an image without resources lists none.
    // The result views `image`, which must outlive it.
    static std::optional<PeResources> parse(std::span<const uint8_t> image);

    // The data of the first language of the given type and name.
    std::optional<std::span<const uint8_t>> find(const ResourceKey& type, const ResourceKey& name) const;
    // Every type and name with its first language, in file order (bounded, for dumps).
    std::vector<ResourceItem> list() const;
    bool is64Bit() const { return is64Bit_; }

private:
    struct Section {
        uint32_t virtualAddress, virtualSize, rawSize, rawOffset;
    };
    struct Entry {
        ResourceKey key;
        uint32_t offset = 0;  // of the subdirectory or data entry, from the directory's start
        bool isDirectory = false;
    };

    std::optional<std::span<const uint8_t>> mapRva(uint32_t rva, uint32_t size) const;
    size_t entryCount(uint32_t directoryOffset) const;
    bool entryAt(uint32_t directoryOffset, size_t index, Entry& entry) const;
    std::optional<std::pair<uint16_t, std::span<const uint8_t>>> firstLanguage(uint32_t nameDirectory) const;

    std::span<const uint8_t> image_;
    std::vector<Section> sections_;
    std::span<const uint8_t> directory_;  // the resource section from the resource root on
    bool is64Bit_ = false;
};

// UTF-16LE code units as 8-bit text: Latin-1 and the Windows-1252 characters map to their byte,
// anything else becomes '?'. A zero unit ends the text.
std::string narrowUtf16(std::span<const uint8_t> utf16);

// The bytes of one resource of a file: a copy, so nothing refers to the file afterwards.
std::optional<std::vector<uint8_t>> readFileResource(const std::string& path, const ResourceKey& type,
                                                     const ResourceKey& name);

}  // namespace lumen::imaging
