#pragma once
// The .ffx filter file in memory: "FFX1.0" and "FFX1.1" are read, "FFX1.1" is written.
// Texts are length-prefixed ("FFX strings"); no reader trusts a count it has not checked.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "filters/filter_definition.h"
#include "imaging/byte_reader.h"

namespace lumen::filters {

// The longest text a reader accepts; the writer refuses longer ones rather than write a file
// that could not be read back.
constexpr size_t kMaxFfxStringLength = 4096;

inline constexpr std::string_view kFfxMagic10 = "FFX1.0";
inline constexpr std::string_view kFfxMagic11 = "FFX1.1";

bool readFfxString(imaging::ByteReader& reader, std::string& text);
void writeFfxString(imaging::ByteWriter& writer, std::string_view text);

// The whole file; nothing when a text is too long or a thumbnail cannot be encoded.
std::optional<std::vector<uint8_t>> serializeFfx(const FilterDefinition& filter, bool withPresets);

// What a reader learns beyond the filter itself, for dumps.
struct FfxReadDetails {
    std::string magic;
    std::vector<size_t> thumbnailBytes;  // length of each preset's JPEG datastream
};

// Decoded thumbnails of one file together: every preset is kept decoded, so a file of many
// presets must not add up to more than this.
constexpr int64_t kMaxThumbnailPixelsPerFile = int64_t{1} << 24;

// Fills `filter` (all but filePath and the restored mark) only when the whole file is sound:
// a known magic, every count inside the data, every thumbnail a decodable JPEG no larger than a
// preset thumbnail can be (imaging's kMaxThumbnailWidth x kMaxThumbnailHeight), all of them
// within kMaxThumbnailPixelsPerFile.
bool parseFfx(std::span<const uint8_t> bytes, FilterDefinition& filter,
              FfxReadDetails* details = nullptr);

// The same file with a new title and category: the magic and every byte after the category are
// kept as they were. Nothing for a file of unknown magic or one that ends early.
std::optional<std::vector<uint8_t>> rewriteFfxTitleAndCategory(std::span<const uint8_t> bytes,
                                                               std::string_view title,
                                                               std::string_view category);

// The first text starts with "FFX" (any version): what the import takes for a filter file.
bool looksLikeFfx(std::span<const uint8_t> bytes);

}  // namespace lumen::filters
