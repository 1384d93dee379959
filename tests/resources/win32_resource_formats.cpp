#include "win32_resource_formats.h"

#include "imaging/byte_reader.h"
#include "imaging/pe_resources.h"

namespace lumen::testing {
namespace {

using imaging::ByteReader;

// A NUL-terminated UTF-16 text as 8-bit text.
bool readWideText(ByteReader& reader, std::string& text) {
    std::vector<uint8_t> units;
    for (;;) {
        uint16_t unit = 0;
        if (!reader.readU16(unit)) return false;
        if (unit == 0) break;
        units.push_back(uint8_t(unit & 0xFF));
        units.push_back(uint8_t(unit >> 8));
    }
    text = imaging::narrowUtf16(units);
    return true;
}

bool readNameOrOrdinal(ByteReader& reader, NameOrOrdinal& value) {
    size_t start = reader.position();
    uint16_t first = 0;
    if (!reader.readU16(first)) return false;
    if (first == 0xFFFF) {
        value.isOrdinal = true;
        return reader.readU16(value.ordinal);
    }
    value.isOrdinal = false;
    return reader.seek(start) && readWideText(reader, value.text);
}

bool readI16(ByteReader& reader, int& value) {
    uint16_t raw = 0;
    if (!reader.readU16(raw)) return false;
    value = int16_t(raw);
    return true;
}

bool alignTo4(ByteReader& reader) {
    const size_t padding = (4 - reader.position() % 4) % 4;
    return padding == 0 || reader.skip(padding);
}

std::string predefinedClass(uint16_t atom) {
    switch (atom) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return "#" + std::to_string(atom);
    }
}

struct InfoHeader {
    int32_t width = 0, height = 0;
    uint16_t planes = 0, bitCount = 0;
    uint32_t compression = 0, colourCount = 0;
};

bool readInfoHeader(ByteReader& reader, InfoHeader& header) {
    uint32_t size = 0, unused = 0;
    if (!reader.readU32(size) || size < 40 || !reader.readI32(header.width) || !reader.readI32(header.height) ||
        !reader.readU16(header.planes) || !reader.readU16(header.bitCount) || !reader.readU32(header.compression) ||
        !reader.readU32(unused) || !reader.readU32(unused) || !reader.readU32(unused) ||
        !reader.readU32(header.colourCount) || !reader.readU32(unused) || !reader.skip(size - 40))
        return false;
    return header.width > 0 && header.width <= 4096 && header.height != 0 && header.height >= -4096 &&
           header.height <= 8192 && header.planes == 1;
}

}  // namespace

std::optional<DialogTemplate> parseDialogEx(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    DialogTemplate dialog;
    uint16_t version = 0, signature = 0, count = 0;
    uint32_t helpId = 0;
    if (!reader.readU16(version) || !reader.readU16(signature) || version != 1 || signature != 0xFFFF ||
        !reader.readU32(helpId) || !reader.readU32(dialog.exStyle) || !reader.readU32(dialog.style) ||
        !reader.readU16(count) || !readI16(reader, dialog.x) || !readI16(reader, dialog.y) ||
        !readI16(reader, dialog.width) || !readI16(reader, dialog.height) || !readNameOrOrdinal(reader, dialog.menu) ||
        !readNameOrOrdinal(reader, dialog.windowClass) || !readWideText(reader, dialog.caption))
        return std::nullopt;
    constexpr uint32_t kSetFont = 0x40;
    if (dialog.style & kSetFont) {
        uint16_t points = 0, weight = 0;
        uint8_t italic = 0, charset = 0;
        if (!reader.readU16(points) || !reader.readU16(weight) || !reader.readU8(italic) || !reader.readU8(charset) ||
            !readWideText(reader, dialog.fontFace))
            return std::nullopt;
        dialog.fontPoints = points;
        dialog.fontWeight = weight;
        dialog.fontItalic = italic != 0;
    }
    for (uint16_t i = 0; i < count; ++i) {
        DialogControl control;
        NameOrOrdinal windowClass;
        uint32_t id = 0;
        uint16_t extra = 0;
        if (!alignTo4(reader) || !reader.readU32(control.helpId) || !reader.readU32(control.exStyle) ||
            !reader.readU32(control.style) || !readI16(reader, control.x) || !readI16(reader, control.y) ||
            !readI16(reader, control.width) || !readI16(reader, control.height) || !reader.readU32(id) ||
            !readNameOrOrdinal(reader, windowClass) || !readNameOrOrdinal(reader, control.title) ||
            !reader.readU16(extra) || !reader.skip(extra))
            return std::nullopt;
        control.id = int32_t(id);
        control.className = windowClass.isOrdinal ? predefinedClass(windowClass.ordinal) : windowClass.text;
        dialog.controls.push_back(std::move(control));
    }
    return dialog;
}

namespace {

constexpr uint16_t kPopup = 0x10, kEnd = 0x80;

bool readMenuItems(ByteReader& reader, std::vector<MenuItem>& items, int depth) {
    if (depth > 8) return false;
    for (;;) {
        MenuItem item;
        if (!reader.readU16(item.flags)) return false;
        const bool last = item.flags & kEnd;
        item.flags &= uint16_t(~kEnd);
        if (!(item.flags & kPopup) && !reader.readU16(item.id)) return false;
        if (!readWideText(reader, item.text)) return false;
        if ((item.flags & kPopup) && !readMenuItems(reader, item.items, depth + 1)) return false;
        items.push_back(std::move(item));
        if (last) return true;
    }
}

}  // namespace

std::optional<std::vector<MenuItem>> parseMenu(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    uint16_t version = 0, headerSize = 0;
    std::vector<MenuItem> items;
    if (!reader.readU16(version) || !reader.readU16(headerSize) || version != 0 || !reader.skip(headerSize) ||
        !readMenuItems(reader, items, 0))
        return std::nullopt;
    return items;
}

std::optional<std::vector<std::string>> parseStringBlock(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    std::vector<std::string> strings;
    for (int i = 0; i < 16; ++i) {
        uint16_t length = 0;
        std::span<const uint8_t> units;
        if (!reader.readU16(length) || !reader.readBytes(size_t(length) * 2, units)) return std::nullopt;
        // Texts may hold NUL-free UTF-16 only; narrowUtf16 would stop early at a NUL unit.
        strings.push_back(imaging::narrowUtf16(units));
        if (strings.back().size() != length) return std::nullopt;
    }
    return strings;
}

std::optional<BitmapInfo> parseBitmap(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    InfoHeader header;
    if (!readInfoHeader(reader, header) || header.compression != 0) return std::nullopt;
    BitmapInfo info;
    info.width = header.width;
    info.height = header.height < 0 ? -header.height : header.height;
    info.bitCount = header.bitCount;
    info.colourCount = header.bitCount <= 8 && header.colourCount == 0 ? 1 << header.bitCount : int(header.colourCount);
    if (info.colourCount > 256) return std::nullopt;
    for (int i = 0; i < (header.bitCount <= 8 ? info.colourCount : 0); ++i) {
        uint8_t b = 0, g = 0, r = 0, unused = 0;
        if (!reader.readU8(b) || !reader.readU8(g) || !reader.readU8(r) || !reader.readU8(unused)) return std::nullopt;
        info.palette.push_back(uint32_t(r) << 16 | uint32_t(g) << 8 | b);
    }
    const size_t rowBytes = (size_t(info.width) * header.bitCount + 31) / 32 * 4;
    std::span<const uint8_t> pixels;
    if (!reader.readBytes(rowBytes * info.height, pixels)) return std::nullopt;
    if (header.bitCount == 8) {
        info.indices.resize(size_t(info.width) * info.height);
        for (int y = 0; y < info.height; ++y) {
            const int row = header.height > 0 ? info.height - 1 - y : y;
            for (int x = 0; x < info.width; ++x) info.indices[size_t(y) * info.width + x] = pixels[row * rowBytes + x];
        }
    }
    return info;
}

std::optional<std::vector<CursorGroupEntry>> parseCursorGroup(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    uint16_t reserved = 0, type = 0, count = 0;
    if (!reader.readU16(reserved) || !reader.readU16(type) || !reader.readU16(count) || type != 2) return std::nullopt;
    std::vector<CursorGroupEntry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        CursorGroupEntry entry;
        uint16_t width = 0, height = 0, planes = 0, bitCount = 0;
        if (!reader.readU16(width) || !reader.readU16(height) || !reader.readU16(planes) ||
            !reader.readU16(bitCount) || !reader.readU32(entry.bytes) || !reader.readU16(entry.cursorId))
            return std::nullopt;
        entry.width = width;
        entry.height = height;
        entry.planes = planes;
        entry.bitCount = bitCount;
        entries.push_back(entry);
    }
    return entries;
}

std::optional<CursorImage> parseCursor(std::span<const uint8_t> bytes) {
    ByteReader reader(bytes);
    uint16_t hotX = 0, hotY = 0;
    InfoHeader header;
    if (!reader.readU16(hotX) || !reader.readU16(hotY) || !readInfoHeader(reader, header) || header.bitCount != 1 ||
        header.height <= 0 || header.height % 2 != 0)
        return std::nullopt;
    CursorImage cursor;
    cursor.hotX = hotX;
    cursor.hotY = hotY;
    cursor.width = header.width;
    cursor.height = header.height / 2;
    cursor.bitCount = header.bitCount;
    const size_t rowBytes = (size_t(cursor.width) + 31) / 32 * 4, maskBytes = rowBytes * cursor.height;
    std::span<const uint8_t> colourMask, transparencyMask;
    if (!reader.skip(2 * 4) || !reader.readBytes(maskBytes, colourMask) || !reader.readBytes(maskBytes, transparencyMask))
        return std::nullopt;
    for (int y = 0; y < cursor.height; ++y)
        for (int x = 0; x < cursor.width; ++x)
            if (!(transparencyMask[y * rowBytes + x / 8] & (0x80 >> (x % 8)))) ++cursor.opaquePixels;
    return cursor;
}

}  // namespace lumen::testing
