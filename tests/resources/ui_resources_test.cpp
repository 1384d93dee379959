// The user interface's resources read back from built DLLs, as Windows would find them: every
// template's size, style, font, caption and controls; menu 134; the string table; the bitmaps'
// sizes, depths and special colours; the cursors. Runs over a resource-only DLL made from
// lumenforge.rc in this build and over the Windows products when they have been built.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "imaging/pe_resources.h"
#include "resources/resource_ids.h"
#include "win32_resource_formats.h"

namespace {

using lumen::imaging::PeResources;
using lumen::imaging::ResourceKey;
using namespace lumen::testing;

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

constexpr uint16_t kRtCursor = 1, kRtBitmap = 2, kRtMenu = 4, kRtDialog = 5, kRtString = 6, kRtGroupCursor = 12;
constexpr int kFree = INT_MIN;  // a position the layout leaves open

// What a control must be: its class, the style bits it must have and those it must not have.
struct Kind {
    const char* className;
    uint32_t required, forbidden;
};
Kind kind(const char* className, uint32_t required = 0, uint32_t forbidden = 0) { return {className, required, forbidden}; }
Kind visible(Kind k) { return {k.className, k.required | kVisible, k.forbidden}; }
Kind hidden(Kind k) { return {k.className, k.required, k.forbidden | kVisible}; }

const Kind kButton = visible(kind("Button", 0, kButtonType));
const Kind kDefault = visible(kind("Button", kDefPushButton, kButtonType & ~kDefPushButton));
const Kind kCommandOnly = hidden(kind("Button", 0, kButtonType));
const Kind kCheck = visible(kind("Button", kAutoCheckBox, kButtonType & ~kAutoCheckBox));
const Kind kText = visible(kind("Static", 0, kStaticType));
const Kind kCentred = visible(kind("Static", kCentre, kStaticType & ~kCentre));
const Kind kPicture = visible(kind("Static", kBitmap, kStaticType & ~kBitmap));
const Kind kHiddenPicture = hidden(kind("Static", kBitmap, kStaticType & ~kBitmap));
const Kind kLogo = visible(kind("Static", kBitmap | kRightJust, kStaticType & ~kBitmap));
const Kind kFrame = visible(kind("Static", kBlackFrame, kStaticType & ~kBlackFrame));
const Kind kRule = visible(kind("Static", kBlackRect, kStaticType & ~kBlackRect));
const Kind kPlaceholder = hidden(kind("Static"));
const Kind kLineEdit = visible(kind("Edit", kAutoHScroll, kMultiLine | kReadOnly));
const Kind kSourceEdit = visible(kind("Edit", kMultiLine | kAutoVScroll | kWantReturn | kVScroll, kReadOnly));
const Kind kReadOnlyLine = visible(kind("Edit", kReadOnly, kMultiLine));
const Kind kSlider = visible(kind(kSliderClass));
const Kind kGradientBar = hidden(kind(kGradientBarClass));
const Kind kProgress = visible(kind("msctls_progress32"));

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

// The navigator's lists; the page owns their image lists.
constexpr uint32_t kNavigatorList =
    kLvReport | kLvNoColumnHeader | kLvShowSelAlways | kLvEditLabels | kLvNoLabelWrap | kLvShareImageLists;

constexpr uint32_t kCaptionless = kPopup | kModalFrame | kSetFont;
constexpr uint32_t kPage = kChild | kControlParent | kSetFont;
constexpr uint32_t kBox = kPopup | kModalFrame | kCaption | kSetFont;

std::vector<Control> slidersAt(int x, int top, std::initializer_list<int> ids) {
    std::vector<Control> sliders;
    int y = top;
    for (int id : ids) {
        sliders.push_back({id, kSlider, "", x, y, 144, 10});
        if (y != kFree) y += 12;
    }
    return sliders;
}

std::vector<Control> concat(std::vector<Control> a, const std::vector<Control>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Template>& templates() {
    static const std::vector<Template> all = {
        {kMainDialog, 408, 278, kCaptionless, kCaption | kChild, "",
         {{kMainTabs, visible(kind("SysTabControl32", kClipSiblings)), "", 4, 6, 400, 249},
          {kMainPagePlaceholder, kPlaceholder, "", 8, 22, 244, 228},
          {kMainPanelPlaceholder, kPlaceholder, "", 256, 22, 144, 228},
          {kMainLogo, kLogo, "#131", 241, 0, 167, 14},
          {1, kDefault, "Apply", 256, 259, 46, 16},
          {2, kButton, "Cancel", 307, 259, 46, 16},
          {3, kButton, "Help", 358, 259, 46, 16},
          {-1, kText, "Database:", 5, 259, 36, 8},
          {kMainDatabaseName, kText, "Database xyz.db", 43, 259, 118, 8},
          {-1, kText, "Filters:", 5, 267, 25, 8},
          {kMainFilterCount, kText, "0000", 43, 267, 17, 8},
          {kMainGradientBar, kGradientBar, "", 164, 259, 86, 16},
          {1008, kCommandOnly, "P", 126, 260, 12, 14},
          {1092, kCommandOnly, "G", 138, 260, 12, 14},
          {1093, kCommandOnly, "S", 150, 260, 12, 14}}},
        {kNavigatorPage, 244, 229, kPage, kPopup | kCaption, "",
         {{1007, visible(kind("SysListView32", kNavigatorList | kLvSingleSel)), "", 0, 0, 119, 212},
          {1010, visible(kind("SysListView32", kNavigatorList, kLvSingleSel)), "", 122, 0, 121, 212},
          {1072, kButton, "&Database", 0, 216, 57, 12},
          {1069, kButton, "I&mport...", 58, 216, 57, 12},
          {1071, kButton, "Filter &Info...", 116, 216, 57, 12},
          {1073, kButton, "&Editor...", 174, 216, 57, 12},
          {1016, kCommandOnly, "catg menu", 91, 211, 28, 6},
          {1020, kCommandOnly, "filter menu", 122, 211, 28, 6}}},
        {kControlPanel, 144, 228, kPage, kPopup | kCaption, "",
         concat({{1011, kFrame, "", 0, 0, 144, 100},
                 {1032, kCentred, "", 0, 100, 144, 10},
                 {1041, kProgress, "", 0, 111, 144, 6},
                 {1035, kButton, "Randomize", 36, 216, 52, 12},
                 {1038, kButton, "Reset", 92, 216, 52, 12},
                 {1001, kCommandOnly, "A", 0, 214, 13, 14},
                 {1004, kCommandOnly, "N", 13, 214, 13, 14}},
                slidersAt(0, 118, {1013, 1015, 1019, 1022, 1024, 1026, 1028, 1030}))},
        {kEditorDialog, 408, 278, kCaptionless, kCaption | kChild, "",
         concat({{1048, kSourceEdit, "", 16, 23, 236, 40},
                 {1006, kSourceEdit, "", 16, 67, 236, 40},
                 {1009, kSourceEdit, "", 16, 111, 236, 40},
                 {1012, kSourceEdit, "", 16, 155, 236, 40},
                 {1014, kSourceEdit, "", 16, 199, 236, 40},
                 {-1, kText, "I", 4, 23},
                 {-1, kText, "R", 4, 67},
                 {-1, kText, "G", 4, 111},
                 {-1, kText, "B", 4, 155},
                 {-1, kText, "A", 4, 199},
                 {1049, kHiddenPicture, "#135", 4},
                 {1036, kHiddenPicture, "#135", 4},
                 {1039, kHiddenPicture, "#135", 4},
                 {1042, kHiddenPicture, "#135", 4},
                 {1045, kHiddenPicture, "#135", 4},
                 {1017, kFrame, "", 256, 22, 144, 100},
                 {1055, kCentred, "", 256, 123, 144, 10},
                 {1053, kProgress, "", 256, 136, 144, 6},
                 {1058, kButton, "Slider Settings...", 256, 242, 76, 12},
                 {1059, kButton, "Randomize", 335, 242, 65, 12},
                 {1069, kButton, "&Import...", 16, 242, 44, 12},
                 {1070, kButton, "Filter &Info...", 108, 242, 50, 12},
                 {1071, kButton, "Language Reference...", 160, 242, 92, 12},
                 {1091, kGradientBar, "", 210, 259, 86, 16},
                 {1051, kLogo, "#131", 241, 0, 167, 14},
                 {1, kDefault, "Save", 302, 259, 48, 16},
                 {2, kButton, "Cancel", 356, 259, 48, 16},
                 {1068, kCommandOnly, "&Update Preview", 16, 267, 55, 9}},
                slidersAt(256, kFree, {1061, 1063, 1064, 1065, 1066, 1067, 1034, 1047}))},
        {kSliderSettingsDialog, 157, 172, kBox, kChild, "Slider Settings",
         {{-1, kText, "No."},   {-1, kText, "Label"}, {-1, kText, "Active"}, {-1, kText, "0"},
          {-1, kText, "1"},     {-1, kText, "2"},     {-1, kText, "3"},      {-1, kText, "4"},
          {-1, kText, "5"},     {-1, kText, "6"},     {-1, kText, "7"},      {1006, kLineEdit, ""},
          {1009, kLineEdit, ""}, {1012, kLineEdit, ""}, {1014, kLineEdit, ""}, {1048, kLineEdit, ""},
          {1018, kLineEdit, ""}, {1021, kLineEdit, ""}, {1037, kLineEdit, ""}, {1023, kCheck, ""},
          {1025, kCheck, ""},   {1027, kCheck, ""},   {1029, kCheck, ""},    {1031, kCheck, ""},
          {1033, kCheck, ""},   {1040, kCheck, ""},   {1046, kCheck, ""},    {1, kDefault, "OK"},
          {2, kButton, "Cancel"}}},
        {kPresetsPage, 244, 229, kPage, kPopup | kCaption, "",
         {{1052, visible(kind("ListBox", kLbOwnerDrawVariable | kLbHasStrings | kLbNotify, kLbOwnerDrawFixed)), "",
           0, 0, 243, 212},
          {1050, kButton, "&Add...", 0, 216, 38, 12},
          {1056, kButton, "&Edit...", 40, 216, 38, 12},
          {1054, kButton, "&Delete", 80, 216, 38, 12},
          {1073, kButton, "up", 120, 216, 15, 12},
          {1075, kButton, "dn", 136, 216, 15, 12},
          {1059, kButton, "Apply", 153, 216, 36, 12},
          {1062, kButton, "Set default", 192, 216, 51, 12}}},
        {kPresetDescriptionDialog, 268, 84, kBox, kChild, "Preset Description",
         {{1060, visible(kind("Static", kWhiteFrame | kSunken, kStaticType & ~kWhiteFrame)), "", 4, 4, 84, 56},
          {1057, kSourceEdit, "", 96, 4, 168, 56},
          {1, kDefault, "OK"},
          {2, kButton, "Cancel"}}},
        {kLibraryImportDialog, 272, 188, kBox, kChild, "Selective FFL Import",
         {{1070, visible(kind("SysListView32", kLvReport | kLvOwnerDraw | kLvShowSelAlways | kBorder)), "", 4, 4, 264,
           160},
          {3, kButton, "Select &All", 4, 168, 48, 16},
          {1003, kCommandOnly, "LoadLib", 75, 169, 50, 14},
          {1, kDefault, "Import", 164, 168, 48, 16},
          {2, kButton, "Cancel", 220, 168, 48, 16}}},
        {kFilterInfoDialog, 272, 194, kBox, kChild, "Filter Info",
         {{-1, kText, "Category:"},
          {1079, kReadOnlyLine, ""},
          {-1, kText, "Title:"},
          {1076, kReadOnlyLine, ""},
          {-1, kText, "Copyright:"},
          {1078, visible(kind("Edit", kReadOnly | kMultiLine)), ""},
          {-1, kText, "Author:"},
          {1077, kReadOnlyLine, ""},
          {-1, kText, "Database:"},
          {1081, kReadOnlyLine, ""},
          {-1, kText, "Filename:"},
          {1080, kReadOnlyLine, ""},
          {1, kDefault, "OK"}}},
        {kNewDatabaseDialog, 187, 61, kBox, kChild, "New Database",
         {{-1, kText, "Please enter a unique database name:"},
          {1081, kLineEdit, "", 8, 20, 171, 12},
          {1, kDefault, "OK"},
          {2, kButton, "Cancel"}}},
        {kEditorInfoDialog, 272, 114, kBox, kChild, "Filter Info",
         {{-1, kText, "Copyright:"},
          {1082, kSourceEdit, ""},
          {-1, kText, "Author:"},
          {1083, kLineEdit, ""},
          {1087, kButton, "Load defaults"},
          {1086, kButton, "Save as defaults"},
          {1, kDefault, "OK"},
          {2, kButton, "Cancel"}}},
        {kGradientPicker, 188, 198, kCaptionless, kCaption | kChild, "",
         {{1096, visible(kind("ListBox", kLbOwnerDrawFixed | kLbHasStrings | kLbNotify, kLbOwnerDrawVariable)), ""},
          {1, kDefault, "Select"},
          {2, kButton, "Cancel"}}},
    };
    return all;
}

std::string titleOf(const DialogControl& control) {
    return control.title.isOrdinal ? "#" + std::to_string(control.title.ordinal) : control.title.text;
}

bool sameClass(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

// The lines of the about page below its separator, with their positions.
struct Line {
    std::string text;
    int x, y;
};
std::vector<Line> aboutLines(const DialogTemplate& page) {
    std::vector<Line> lines;
    for (const DialogControl& control : page.controls)
        if (control.className == "Static" && (control.style & kStaticType) == 0 && control.y >= 20)
            lines.push_back({titleOf(control), control.x, control.y});
    return lines;
}

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return {};
    std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return in ? bytes : std::vector<uint8_t>();
}

class UiResources : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        bytes_ = readFile(GetParam());
        if (bytes_.empty()) GTEST_SKIP() << "not built: " << GetParam();
        resources_ = PeResources::parse(bytes_);
        ASSERT_TRUE(resources_) << GetParam() << " is not a PE image";
    }

    std::span<const uint8_t> resource(uint16_t type, int id) {
        auto found = resources_->find(ResourceKey::fromId(type), ResourceKey::fromId(uint16_t(id)));
        return found ? *found : std::span<const uint8_t>();
    }
    std::optional<DialogTemplate> dialog(int id) { return parseDialogEx(resource(kRtDialog, id)); }

    std::vector<uint8_t> bytes_;
    std::optional<PeResources> resources_;
};

TEST_P(UiResources, EveryTemplateHasItsSizeStyleFontCaptionAndControls) {
    for (const Template& expected : templates()) {
        SCOPED_TRACE("template " + std::to_string(expected.id));
        const auto found = dialog(expected.id);
        if (!found) {
            ADD_FAILURE() << "missing or unreadable";
            continue;
        }
        EXPECT_EQ(found->x, 0);
        EXPECT_EQ(found->y, 0);
        EXPECT_EQ(found->width, expected.width);
        EXPECT_EQ(found->height, expected.height);
        EXPECT_EQ(found->style & expected.required, expected.required) << std::hex << found->style;
        EXPECT_EQ(found->style & expected.forbidden, 0u) << std::hex << found->style;
        EXPECT_EQ(found->caption, expected.caption);
        EXPECT_EQ(found->fontFace, "MS Sans Serif");
        EXPECT_EQ(found->fontPoints, 8);
        EXPECT_FALSE(found->menu.isOrdinal || !found->menu.text.empty()) << "a dialog of ours has no menu bar";

        EXPECT_EQ(found->controls.size(), expected.controls.size());
        std::vector<bool> used(found->controls.size(), false);
        for (const Control& control : expected.controls) {
            SCOPED_TRACE("control " + std::to_string(control.id) + " \"" + control.text + "\"");
            size_t match = found->controls.size();
            for (size_t i = 0; i < found->controls.size() && match == found->controls.size(); ++i) {
                const DialogControl& candidate = found->controls[i];
                const bool position = (control.x == kFree || candidate.x == control.x) &&
                                      (control.y == kFree || candidate.y == control.y);
                if (!used[i] && candidate.id == control.id && (control.id != -1 || titleOf(candidate) == control.text) &&
                    position)
                    match = i;
            }
            if (match == found->controls.size()) {
                ADD_FAILURE() << "not in the template at the expected place";
                continue;
            }
            used[match] = true;
            const DialogControl& actual = found->controls[match];
            EXPECT_TRUE(sameClass(actual.className, control.kind.className)) << actual.className;
            EXPECT_EQ(titleOf(actual), control.text);
            EXPECT_EQ(actual.style & control.kind.required, control.kind.required) << std::hex << actual.style;
            EXPECT_EQ(actual.style & control.kind.forbidden, 0u) << std::hex << actual.style;
            EXPECT_TRUE(actual.style & kChild);
            if (control.width != kFree) EXPECT_EQ(actual.width, control.width);
            if (control.height != kFree) EXPECT_EQ(actual.height, control.height);
        }
    }
}

TEST_P(UiResources, ControlsLieInsideTheirTemplateAndIdsAreUnique) {
    for (const Template& expected : templates()) {
        SCOPED_TRACE("template " + std::to_string(expected.id));
        const auto found = dialog(expected.id);
        ASSERT_TRUE(found);
        std::map<int32_t, int> seen;
        for (const DialogControl& control : found->controls) {
            SCOPED_TRACE("control " + std::to_string(control.id) + " \"" + titleOf(control) + "\"");
            EXPECT_GE(control.x, 0);
            EXPECT_GE(control.y, 0);
            EXPECT_LE(control.x + control.width, found->width);
            EXPECT_LE(control.y + control.height, found->height);
            if (control.id != -1) EXPECT_EQ(++seen[control.id], 1) << "id used twice";
        }
    }
}

TEST_P(UiResources, SlidersOfTheEditorStandWhereThePanelsDoBelowItsProgressBar) {
    const auto editor = dialog(kEditorDialog);
    ASSERT_TRUE(editor);
    std::vector<int> tops;
    for (int id : {1061, 1063, 1064, 1065, 1066, 1067, 1034, 1047})
        for (const DialogControl& control : editor->controls)
            if (control.id == id) tops.push_back(control.y);
    ASSERT_EQ(tops.size(), 8u);
    EXPECT_GE(tops.front(), 136 + 6) << "below the progress bar";
    EXPECT_LE(tops.back() + 10, 242) << "above the buttons";
    for (size_t k = 1; k < tops.size(); ++k) EXPECT_EQ(tops[k] - tops[k - 1], 12) << "spaced as the panel's";
}

TEST_P(UiResources, AboutPageShowsTitleRuleLinesAndLogoAndTheAboutBoxTheSame) {
    const auto page = dialog(kAboutPage);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->width, 244);
    EXPECT_EQ(page->height, 229);
    EXPECT_EQ(page->style & (kChild | kSetFont), kChild | kSetFont);
    auto find = [&](auto predicate) {
        return std::find_if(page->controls.begin(), page->controls.end(), predicate);
    };
    auto title = find([](const DialogControl& c) { return titleOf(c) == "About Lumenforge 1.0"; });
    ASSERT_NE(title, page->controls.end());
    EXPECT_EQ(std::vector<int>({title->x, title->y, title->width, title->height}), std::vector<int>({6, 3, 237, 8}));
    auto rule = find([](const DialogControl& c) { return (c.style & kStaticType) == kBlackRect; });
    ASSERT_NE(rule, page->controls.end());
    EXPECT_EQ(std::vector<int>({rule->x, rule->y, rule->width, rule->height}), std::vector<int>({5, 13, 238, 2}));
    auto logo = find([](const DialogControl& c) { return (c.style & kStaticType) == kBitmap; });
    ASSERT_NE(logo, page->controls.end());
    EXPECT_EQ(titleOf(*logo), "#138");
    EXPECT_EQ(std::vector<int>({logo->x, logo->y, logo->width, logo->height}), std::vector<int>({8, 208, 62, 17}));

    const std::vector<Line> lines = aboutLines(*page);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines.front().y, 20);
    EXPECT_EQ(lines.back().y, 200);
    for (const Line& line : lines) {
        EXPECT_EQ(line.x, 8) << line.text;
        EXPECT_FALSE(line.text.empty());
    }
    EXPECT_EQ(page->controls.size(), lines.size() + 3);

    const auto box = dialog(kAboutBoxDialog);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->caption, "About Lumenforge");
    const std::vector<Line> boxLines = aboutLines(*box);
    ASSERT_EQ(boxLines.size(), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(boxLines[i].text, lines[i].text);
}

TEST_P(UiResources, MenuHoldsTheCategoryAndFilterMenus) {
    const auto menu = parseMenu(resource(kRtMenu, kNavigatorMenu));
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->size(), 2u);
    constexpr uint16_t kPopupFlag = 0x10, kSeparator = 0;
    struct Item {
        uint16_t id;
        std::string text;
    };
    auto items = [](const MenuItem& popup) {
        std::vector<Item> list;
        for (const MenuItem& item : popup.items) list.push_back({item.id, item.text});
        return list;
    };
    auto equal = [](const std::vector<Item>& a, const std::vector<Item>& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const Item& x, const Item& y) {
                   return x.id == y.id && x.text == y.text;
               });
    };
    const MenuItem& category = (*menu)[0];
    EXPECT_TRUE(category.flags & kPopupFlag);
    EXPECT_TRUE(equal(items(category), {{32774, "&New..."}, {kSeparator, ""}, {32773, "&Rename"}, {32772, "&Delete"}}));
    const MenuItem& filter = (*menu)[1];
    EXPECT_TRUE(filter.flags & kPopupFlag);
    EXPECT_TRUE(equal(items(filter), {{32778, "&New..."},
                                      {32779, "&Edit..."},
                                      {kSeparator, ""},
                                      {32776, "&Rename"},
                                      {32775, "&Delete"},
                                      {32780, "D&uplicate"},
                                      {kSeparator, ""},
                                      {0, "&Copy to"}}));
    for (const MenuItem& item : category.items) EXPECT_EQ(item.flags & 0x3, 0) << "nothing greyed in the resource";
    ASSERT_EQ(filter.items.size(), 8u);
    const MenuItem& copyTo = filter.items[7];
    EXPECT_TRUE(copyTo.flags & kPopupFlag);
    ASSERT_EQ(copyTo.items.size(), 1u);
    EXPECT_EQ(copyTo.items[0].text, "dummy");
    EXPECT_TRUE(copyTo.items[0].id < kMenuCopyToFirst || copyTo.items[0].id > kMenuCopyToLast)
        << "the placeholder must not take an id of a database item";
}

TEST_P(UiResources, StringTableHoldsEveryTextExactly) {
    const std::map<int, std::string> expected = {
        {16993, "Confirm delete"},
        {16994, "Are you sure you want to delete all selected filters?"},
        {16995, "Are you sure you want to delete all filters of the selected category?"},
        {16998, "Filter Factory Files (*.afs; *.8bf)|*.afs;*.8bf|Lumenforge Files (*.ffx)|*.ffx|All Files (*.*)|*.*||"},
        {16999, "Invalid character entered"},
        {17000, "Error creating directory. Maybe a database of this name already exists."},
        {17001, "Please select a database"},
        {17002, "Invalid database selected"},
        {17003, "Unable to open selected database"},
        {17004, "Copy of "},
        {17005, "No or invalid Filter Factory plugin."},
        {17006, "Invalid AFS format."},
        {17007, "Invalid FFX format or version conflict."},
        {17008, " Navigator "},
        {17009, " Presets "},
        {17011, " About "},
        {17012, "New..."},
        {17013, "Open..."},
        {17014, "Delete..."},
        {17015, "You can't delete the currently active database"},
        {17016, "Please select a database to delete"},
        {17017, "Are you sure you want to delete the entire database?"},
        {17018, "Filter Factory Library Files (*.ffl)|*.ffl|Filter Factory Files (*.afs; *.8bf)|*.afs;*.8bf|Lumenforge "
                "Files (*.ffx)|*.ffx|All Files (*.*)|*.*||"},
        {17019, "Import of file \"%s\" failed for the following reason:\n%s\n\nDo you want to continue importing files?"},
        {17020, "Dialog canceled"},
        {17021, "Sorry, too many files selected.\nThis is a restriction of Microsoft Windows.\nPlease select a reduced "
                "numer of files."},
    };
    std::map<int, std::string> found;
    for (int block = 16992 / 16 + 1; block <= 17023 / 16 + 1; ++block) {
        const auto strings = parseStringBlock(resource(kRtString, block));
        ASSERT_TRUE(strings) << "block " << block;
        for (int i = 0; i < 16; ++i)
            if (!(*strings)[i].empty()) found[(block - 1) * 16 + i] = (*strings)[i];
    }
    EXPECT_EQ(found, expected);
}

TEST_P(UiResources, BitmapsHaveTheirSizesDepthsAndSpecialColours) {
    constexpr uint32_t kFace = 0xC0C0C0, kMagenta = 0xFF00FF;
    struct Expected {
        int id, width, height;
        uint32_t corner;  // the ground: mapped to the button face, or transparent
    };
    const Expected bitmaps[] = {{kMainLogoBitmap, 250, 22, kFace},       {kErrorMarkBitmap, 12, 12, kFace},
                                {kDatabaseIconBitmap, 16, 16, kMagenta}, {kListMarkersBitmap, 12, 12, kMagenta},
                                {kArrowsBitmap, 30, 12, kMagenta}};
    for (const Expected& expected : bitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        const auto bitmap = parseBitmap(resource(kRtBitmap, expected.id));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width, expected.width);
        EXPECT_EQ(bitmap->height, expected.height);
        ASSERT_EQ(bitmap->bitCount, 8) << "the system colours map only through a colour table";
        ASSERT_FALSE(bitmap->indices.empty());
        for (size_t corner : {size_t(0), bitmap->indices.size() - 1})
            EXPECT_EQ(bitmap->palette.at(bitmap->indices[corner]), expected.corner);
    }

    const auto about = parseBitmap(resource(kRtBitmap, kAboutLogoBitmap));
    ASSERT_TRUE(about);
    EXPECT_EQ(about->width, 93);
    EXPECT_EQ(about->height, 28);
    EXPECT_EQ(about->bitCount, 8);
    EXPECT_EQ(about->colourCount, 256);

    // Each list marker and each arrow is drawn in its own image of the strip.
    auto drawnColumns = [](const BitmapInfo& strip, int from, int to) {
        int drawn = 0;
        for (int y = 0; y < strip.height; ++y)
            for (int x = from; x < to; ++x) drawn += strip.palette[strip.indices[size_t(y) * strip.width + x]] != kMagenta;
        return drawn;
    };
    for (const auto& [id, imageWidth] : {std::pair{kListMarkersBitmap, 6}, std::pair{kArrowsBitmap, 15}}) {
        const auto strip = parseBitmap(resource(kRtBitmap, id));
        ASSERT_TRUE(strip);
        EXPECT_GT(drawnColumns(*strip, 0, imageWidth), 0) << id;
        EXPECT_GT(drawnColumns(*strip, imageWidth, 2 * imageWidth), 0) << id;
    }
}

TEST_P(UiResources, CursorsArePresentAndVisible) {
    for (int id : {kDragAllowedCursor, kDragRefusedCursor, kMagnifierCursor}) {
        SCOPED_TRACE("cursor " + std::to_string(id));
        const auto group = parseCursorGroup(resource(kRtGroupCursor, id));
        ASSERT_TRUE(group);
        ASSERT_EQ(group->size(), 1u);
        EXPECT_EQ((*group)[0].width, 32);
        const auto cursor = parseCursor(resource(kRtCursor, (*group)[0].cursorId));
        ASSERT_TRUE(cursor);
        EXPECT_EQ(cursor->width, 32);
        EXPECT_EQ(cursor->height, 32);
        EXPECT_GT(cursor->opaquePixels, 40);
        EXPECT_LT(cursor->hotX, 32);
        EXPECT_LT(cursor->hotY, 32);
    }
}

std::vector<std::string> builtLibraries() {
    std::vector<std::string> paths;
    for (const char* path : {LUMEN_RESOURCE_DLLS}) paths.push_back(path);
    return paths;
}

INSTANTIATE_TEST_SUITE_P(Built, UiResources, ::testing::ValuesIn(builtLibraries()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(info.param.find_last_of('/') + 1);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

}  // namespace
