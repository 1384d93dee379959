#pragma once
// The dialog templates as the user interface lays them out: sizes, styles, captions and every
// control with its kind and, where the layout fixes it, its place. Read by the resource checks.
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace lumen::testing {

// Style bits, as the Windows headers define them.
constexpr uint32_t kChild = 0x40000000, kPopup = 0x80000000, kVisible = 0x10000000, kCaption = 0x00C00000;
constexpr uint32_t kBorder = 0x00800000, kVScroll = 0x00200000, kClipSiblings = 0x04000000;
constexpr uint32_t kSetFont = 0x40, kModalFrame = 0x80, kControlParent = 0x400;
constexpr uint32_t kButtonType = 0xF, kDefPushButton = 1, kAutoCheckBox = 3;
constexpr uint32_t kStaticType = 0x1F, kCentre = 1, kBlackRect = 4, kBlackFrame = 7, kWhiteFrame = 9, kBitmap = 0xE;
constexpr uint32_t kRightJust = 0x400, kSunken = 0x1000;
constexpr uint32_t kMultiLine = 0x4, kAutoVScroll = 0x40, kAutoHScroll = 0x80, kReadOnly = 0x800, kWantReturn = 0x1000;
constexpr uint32_t kLbNotify = 0x1, kLbOwnerDrawFixed = 0x10, kLbOwnerDrawVariable = 0x20, kLbHasStrings = 0x40;
constexpr uint32_t kLvReport = 0x1, kLvSingleSel = 0x4, kLvShowSelAlways = 0x8, kLvNoLabelWrap = 0x80;
constexpr uint32_t kLvShareImageLists = 0x40, kLvEditLabels = 0x200, kLvOwnerDraw = 0x400, kLvNoColumnHeader = 0x4000;

constexpr int kFree = INT_MIN;  // a position the layout leaves open

// What a control must be: its class, the style bits it must have and those it must not have.
struct Kind {
    const char* className;
    uint32_t required, forbidden;
};

struct Control {
    int id;
    Kind kind;
    std::string text;  // for a picture: "#" and the bitmap id
    int x = kFree, y = kFree, width = kFree, height = kFree;
};

struct Template {
    int id;
    int width, height;
    uint32_t required, forbidden;
    std::string caption;
    std::vector<Control> controls;
};

const std::vector<Template>& expectedTemplates();

}  // namespace lumen::testing
