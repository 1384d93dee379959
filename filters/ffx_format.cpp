#include "filters/ffx_format.h"

#include "imaging/jpeg_codec.h"

namespace lumen::filters {
namespace {

using imaging::ByteReader;
using imaging::ByteWriter;

bool fitsFfxString(std::string_view text) {
    return text.size() <= kMaxFfxStringLength;
}

bool readMagic(ByteReader& reader, std::string& magic) {
    return readFfxString(reader, magic) && (magic == kFfxMagic10 || magic == kFfxMagic11);
}

bool readPreset(ByteReader& reader, bool hasGradient, Preset& preset, size_t& jpegLength,
                int64_t& pixelsLeft) {
    if (!readFfxString(reader, preset.name)) return false;
    for (int32_t& value : preset.controlValue)
        if (!reader.readI32(value)) return false;
    preset.gradientIndex = 0;
    if (hasGradient && !reader.readI32(preset.gradientIndex)) return false;
    int32_t ignoredWidth, ignoredHeight, length;
    if (!reader.readI32(ignoredWidth) || !reader.readI32(ignoredHeight) || !reader.readI32(length))
        return false;
    std::span<const uint8_t> jpeg;
    if (length < 0 || !reader.readBytes(static_cast<size_t>(length), jpeg)) return false;
    jpegLength = jpeg.size();
    const imaging::JpegLimits limits{imaging::kMaxThumbnailWidth, imaging::kMaxThumbnailHeight, pixelsLeft};
    std::optional<imaging::Bitmap> thumbnail = imaging::decodeJpeg(jpeg, limits);
    if (!thumbnail) return false;
    pixelsLeft -= int64_t{thumbnail->width} * thumbnail->height;
    preset.thumbnail = std::move(*thumbnail);
    return true;
}

}  // namespace

bool readFfxString(ByteReader& reader, std::string& text) {
    int32_t count;
    if (!reader.readI32(count) || count < 0 || static_cast<size_t>(count) > kMaxFfxStringLength)
        return false;
    return reader.readText(static_cast<size_t>(count), text);
}

void writeFfxString(ByteWriter& writer, std::string_view text) {
    writer.writeI32(static_cast<int32_t>(text.size()));
    writer.writeText(std::string(text));
}

std::optional<std::vector<uint8_t>> serializeFfx(const FilterDefinition& filter, bool withPresets) {
    std::vector<std::string_view> texts = {filter.title, filter.category, filter.author,
                                           filter.copyright};
    texts.insert(texts.end(), filter.code.begin(), filter.code.end());
    texts.insert(texts.end(), filter.controlLabel.begin(), filter.controlLabel.end());
    if (withPresets)
        for (const Preset& preset : filter.presets) texts.push_back(preset.name);
    for (std::string_view text : texts)
        if (!fitsFfxString(text)) return std::nullopt;

    ByteWriter writer;
    writeFfxString(writer, kFfxMagic11);
    for (std::string_view text : {std::string_view(filter.title), std::string_view(filter.category),
                                  std::string_view(filter.author), std::string_view(filter.copyright)})
        writeFfxString(writer, text);
    for (const std::string& source : filter.code) writeFfxString(writer, source);
    for (int i = 0; i < kControlCount; ++i) {
        writeFfxString(writer, filter.controlLabel[i]);
        writer.writeU8(filter.controlEnabled[i] ? 1 : 0);
        writer.writeI32(filter.controlDefault[i]);
    }
    writer.writeI32(filter.gradientDefault);
    if (!withPresets) {
        writer.writeI32(0);
        return writer.take();
    }
    writer.writeI32(static_cast<int32_t>(filter.presets.size()));
    for (const Preset& preset : filter.presets) {
        writeFfxString(writer, preset.name);
        for (int32_t value : preset.controlValue) writer.writeI32(value);
        writer.writeI32(preset.gradientIndex);
        std::optional<std::vector<uint8_t>> jpeg = imaging::encodeJpeg(preset.thumbnail);
        if (!jpeg) return std::nullopt;
        writer.writeI32(preset.thumbnail.width);
        writer.writeI32(preset.thumbnail.height);
        writer.writeI32(static_cast<int32_t>(jpeg->size()));
        writer.writeBytes(*jpeg);
    }
    return writer.take();
}

bool parseFfx(std::span<const uint8_t> bytes, FilterDefinition& filter, FfxReadDetails* details) {
    ByteReader reader(bytes);
    std::string magic;
    if (!readMagic(reader, magic)) return false;
    const bool version11 = magic == kFfxMagic11;

    FilterDefinition read;
    for (std::string* text : {&read.title, &read.category, &read.author, &read.copyright})
        if (!readFfxString(reader, *text)) return false;
    for (std::string& source : read.code)
        if (!readFfxString(reader, source)) return false;
    for (int i = 0; i < kControlCount; ++i) {
        if (!readFfxString(reader, read.controlLabel[i]) || !reader.readU8(read.controlEnabled[i]) ||
            !reader.readI32(read.controlDefault[i]))
            return false;
        read.controlValue[i] = read.controlDefault[i];
    }
    if (version11 && !reader.readI32(read.gradientDefault)) return false;
    read.gradientIndex = read.gradientDefault;

    FfxReadDetails found{magic, {}};
    int32_t presetCount;
    if (!reader.readI32(presetCount) || presetCount < 0) return false;
    int64_t pixelsLeft = kMaxThumbnailPixelsPerFile;
    for (int32_t i = 0; i < presetCount; ++i) {
        // Every preset takes more than this many bytes, so a lying count ends here, not in memory.
        if (reader.remaining() < 4 + kControlCount * 4 + 12) return false;
        Preset preset;
        size_t jpegLength = 0;
        if (!readPreset(reader, version11, preset, jpegLength, pixelsLeft)) return false;
        found.thumbnailBytes.push_back(jpegLength);
        read.presets.push_back(std::move(preset));
    }

    read.filePath = std::move(filter.filePath);
    read.restored = filter.restored;
    filter = std::move(read);
    if (details) *details = std::move(found);
    return true;
}

std::optional<std::vector<uint8_t>> rewriteFfxTitleAndCategory(std::span<const uint8_t> bytes,
                                                               std::string_view title,
                                                               std::string_view category) {
    ByteReader reader(bytes);
    std::string magic, oldTitle, oldCategory;
    if (!readMagic(reader, magic) || !readFfxString(reader, oldTitle) ||
        !readFfxString(reader, oldCategory))
        return std::nullopt;
    if (!fitsFfxString(title) || !fitsFfxString(category)) return std::nullopt;
    std::span<const uint8_t> remainder;
    reader.readBytes(reader.remaining(), remainder);

    ByteWriter writer;
    writeFfxString(writer, magic);
    writeFfxString(writer, title);
    writeFfxString(writer, category);
    writer.writeBytes(remainder);
    return writer.take();
}

bool looksLikeFfx(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    std::string first;
    return readFfxString(reader, first) && first.size() >= 3 && first.compare(0, 3, "FFX") == 0;
}

}  // namespace lumen::filters
