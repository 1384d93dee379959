#include "ui_pictures.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>

#include "imaging/byte_reader.h"

namespace lumen::tools {
namespace {

constexpr uint32_t kBlack = rgb(0, 0, 0), kWhite = rgb(255, 255, 255);

// Fills every pixel whose centre lies in the disc.
void fillDisc(Picture& picture, double cx, double cy, double radius, uint32_t colour) {
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) picture.set(x, y, colour);
}

// A triangle of `rows` rows, pointing up or down, with its apex column at cx.
void fillTriangle(Picture& picture, int cx, int top, int rows, bool up, uint32_t colour) {
    for (int row = 0; row < rows; ++row) {
        const int half = up ? row : rows - 1 - row;
        for (int x = cx - half; x <= cx + half; ++x) picture.set(x, top + row, colour);
    }
}

}  // namespace

Picture makeErrorMark() {
    Picture mark(12, 12, kButtonFace);
    fillDisc(mark, 6, 6, 6, rgb(128, 0, 0));
    fillDisc(mark, 6, 6, 5, rgb(220, 30, 30));
    mark.fillRect(5, 2, 2, 5, kWhite);
    mark.fillRect(5, 8, 2, 2, kWhite);
    return mark;
}

// A stack of three discs: the usual sign for a database.
Picture makeDatabaseIcon() {
    Picture icon(16, 16, kMagenta);
    constexpr uint32_t kSide = rgb(40, 80, 160), kTop = rgb(120, 170, 230), kEdge = rgb(16, 32, 80);
    icon.fillRect(2, 3, 12, 11, kSide);
    for (int x = 2; x < 14; ++x) {
        icon.set(x, 14, kEdge);
        for (int band : {6, 10}) icon.set(x, band, kEdge);
    }
    for (int y = 3; y < 14; ++y) {
        icon.set(1, y, kEdge);
        icon.set(14, y, kEdge);
    }
    icon.fillRect(2, 1, 12, 3, kTop);
    for (int x = 2; x < 14; ++x) icon.set(x, 0, kEdge);
    return icon;
}

Picture makeListMarkers() {
    Picture markers(12, 12, kMagenta);
    // Without presets: a small hollow square; with presets: a filled orange diamond.
    for (int i = 1; i < 5; ++i) {
        markers.set(i, 4, kButtonShadow);
        markers.set(i, 8, kButtonShadow);
        markers.set(1, 4 + i, kButtonShadow);
        markers.set(4, 4 + i, kButtonShadow);
    }
    for (int row = 0; row < 5; ++row) {
        const int half = row < 3 ? row : 4 - row;
        for (int x = 8 - half; x <= 8 + half; ++x) markers.set(x, 4 + row, rgb(230, 120, 20));
    }
    return markers;
}

Picture makeArrows() {
    Picture arrows(30, 12, kMagenta);
    fillTriangle(arrows, 7, 4, 5, true, kBlack);
    fillTriangle(arrows, 15 + 7, 4, 5, false, kBlack);
    return arrows;
}

namespace {

// Cursor art: 'X' black, '.' white, anything else transparent; rows from the top, at most 32.
using CursorArt = std::vector<std::string>;

std::vector<uint8_t> encodeCursorFile(const CursorArt& art, int hotX, int hotY) {
    constexpr int kSize = 32, kRowBytes = 4, kMaskBytes = kRowBytes * kSize;
    constexpr int kImageBytes = 40 + 8 + 2 * kMaskBytes;
    imaging::ByteWriter out;
    out.writeU16(0);
    out.writeU16(2);  // cursor
    out.writeU16(1);
    out.writeU8(kSize);
    out.writeU8(kSize);
    out.writeU8(0);
    out.writeU8(0);
    out.writeU16(uint16_t(hotX));
    out.writeU16(uint16_t(hotY));
    out.writeU32(kImageBytes);
    out.writeU32(22);
    out.writeU32(40);
    out.writeI32(kSize);
    out.writeI32(2 * kSize);  // the colour mask and the transparency mask
    out.writeU16(1);
    out.writeU16(1);
    out.writeU32(0);
    out.writeU32(2 * kMaskBytes);
    out.writeU32(0);
    out.writeU32(0);
    out.writeU32(2);
    out.writeU32(0);
    out.writeU32(0x000000);
    out.writeU32(0xFFFFFF);
    auto cell = [&](int x, int y) { return y < int(art.size()) && x < int(art[y].size()) ? art[y][x] : ' '; };
    for (bool transparencyMask : {false, true}) {
        for (int y = kSize - 1; y >= 0; --y) {
            for (int byte = 0; byte < kRowBytes; ++byte) {
                uint8_t bits = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const char c = cell(byte * 8 + bit, y);
                    const bool set = transparencyMask ? (c != 'X' && c != '.') : c == '.';
                    if (set) bits |= uint8_t(0x80 >> bit);
                }
                out.writeU8(bits);
            }
        }
    }
    return out.take();
}

// The arrow pointer both drag cursors start from; its tip is the hot spot (0, 0).
constexpr std::array<std::string_view, 17> kArrow = {
    "X",           "XX",          "X.X",        "X..X",       "X...X",     "X....X",
    "X.....X",     "X......X",    "X.......X",  "X........X", "X.....XXXX", "X..X..X",
    "X.X X..X",    "XX  X..X",    "X    X..X",  "      X..X", "       XX",
};

// The arrow with a 13-row badge below and to the right of its tip.
CursorArt arrowWith(const std::array<std::string_view, 13>& badge) {
    CursorArt rows(kArrow.begin(), kArrow.end());
    rows.resize(14 + badge.size());
    for (size_t y = 0; y < badge.size(); ++y) {
        std::string& row = rows[14 + y];
        row.resize(12, ' ');
        row += badge[y];
    }
    return rows;
}

}  // namespace

// The arrow carrying a small page: filters may be dropped here.
std::vector<uint8_t> makeDragAllowedCursor() {
    return encodeCursorFile(arrowWith({
                                "XXXXXXXXX",
                                "X.......XX",
                                "X.......X.X",
                                "X.XXXX..XXXX",
                                "X..........X",
                                "X.XXXXXXX..X",
                                "X..........X",
                                "X.XXXXXX...X",
                                "X..........X",
                                "X.XXXXXXX..X",
                                "X..........X",
                                "X..........X",
                                "XXXXXXXXXXXX",
                            }),
                            0, 0);
}

// The arrow with a crossed circle: no drop here.
std::vector<uint8_t> makeDragRefusedCursor() {
    return encodeCursorFile(arrowWith({
                                "   XXXXXXX",
                                "  XX.....XX",
                                " XX.XXXXX.XX",
                                "X..XX   XX..X",
                                "X.X.XX    X.X",
                                "X.X X.XX  X.X",
                                "X.X  X.XX X.X",
                                "X.X   X.XXX.X",
                                "X.X    XX.X.X",
                                "X..XX   XX..X",
                                " XX.XXXXX.XX",
                                "  XX.....XX",
                                "   XXXXXXX",
                            }),
                            0, 0);
}

// A magnifying glass; the hot spot is the centre of its lens.
std::vector<uint8_t> makeMagnifierCursor() {
    const CursorArt art = {
        "     XXXXX",
        "   XX.....XX",
        "  X.........X",
        " X...........X",
        " X...........X",
        "X.............X",
        "X......X......X",
        "X......X......X",
        "X....XXXXX....X",
        "X......X......X",
        "X......X......X",
        " X...........X",
        " X...........X",
        "  X.........XXX",
        "   XX.....XX.XXX",
        "     XXXXX  X..XX",
        "             X...X",
        "              X...X",
        "               X...X",
        "                X...X",
        "                 X..X",
        "                  XX",
    };
    return encodeCursorFile(art, 7, 8);
}

}  // namespace lumen::tools
