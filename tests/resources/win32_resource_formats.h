#pragma once
// Readers of the binary forms the resource compiler gives dialog templates (DIALOGEX), menus,
// string tables, bitmaps and cursors, as Windows loads them. Each checks every size it reads
// and answers nothing for bytes it cannot take apart.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lumen::testing {

// A class or a title: a text, or an ordinal (0xFFFF followed by a number).
struct NameOrOrdinal {
    bool isOrdinal = false;
    uint16_t ordinal = 0;
    std::string text;
};

struct DialogControl {
    uint32_t helpId = 0, exStyle = 0, style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int32_t id = 0;
    std::string className;  // the predefined classes' ordinals 0x80 ... 0x85 as their names
    NameOrOrdinal title;
};

struct DialogTemplate {
    uint32_t exStyle = 0, style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    NameOrOrdinal menu, windowClass;
    std::string caption;
    int fontPoints = 0, fontWeight = 0;
    bool fontItalic = false;
    std::string fontFace;
    std::vector<DialogControl> controls;
};

std::optional<DialogTemplate> parseDialogEx(std::span<const uint8_t> bytes);

struct MenuItem {
    uint16_t flags = 0;  // MF_POPUP 0x10, MF_GRAYED 0x01 ...; MF_END is taken off
    uint16_t id = 0;     // 0 for popups and separators
    std::string text;
    std::vector<MenuItem> items;  // of a popup
};

// A MENU (not MENUEX) resource: its top-level items.
std::optional<std::vector<MenuItem>> parseMenu(std::span<const uint8_t> bytes);

// The sixteen strings of string-table block (id / 16 + 1); an empty one is absent.
std::optional<std::vector<std::string>> parseStringBlock(std::span<const uint8_t> bytes);

struct BitmapInfo {
    int width = 0, height = 0, bitCount = 0, colourCount = 0;
    std::vector<uint32_t> palette;  // 0xRRGGBB
    std::vector<uint8_t> indices;   // 8-bit bitmaps only: one a pixel, rows from the top
};

// A BITMAP resource (a bitmap file without its 14-byte file header).
std::optional<BitmapInfo> parseBitmap(std::span<const uint8_t> bytes);

struct CursorGroupEntry {
    int width = 0, height = 0, planes = 0, bitCount = 0;
    uint32_t bytes = 0;
    uint16_t cursorId = 0;
};

std::optional<std::vector<CursorGroupEntry>> parseCursorGroup(std::span<const uint8_t> bytes);

struct CursorImage {
    int hotX = 0, hotY = 0, width = 0, height = 0, bitCount = 0;
    int opaquePixels = 0;  // pixels the transparency mask does not let through
};

// An RT_CURSOR resource of a monochrome cursor: hot spot, then the two-mask bitmap.
std::optional<CursorImage> parseCursor(std::span<const uint8_t> bytes);

}  // namespace lumen::testing
