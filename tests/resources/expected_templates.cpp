#include "expected_templates.h"

#include "resources/resource_ids.h"

namespace lumen::testing {
namespace {

Kind kind(const char* className, uint32_t required = 0, uint32_t forbidden = 0) { return {className, required, forbidden}; }
Kind visible(Kind k) { return {k.className, k.required | kVisible, k.forbidden}; }
Kind hidden(Kind k) { return {k.className, k.required, k.forbidden | kVisible}; }

const Kind kButton = visible(kind("Button", 0, kButtonType));
const Kind kDefault = visible(kind("Button", kDefPushButton, kButtonType & ~kDefPushButton));
const Kind kCommandOnly = hidden(kind("Button", 0, kButtonType));
const Kind kCheck = visible(kind("Button", kAutoCheckBox, kButtonType & ~kAutoCheckBox));
const Kind kText = visible(kind("Static", 0, kStaticType));
const Kind kCentred = visible(kind("Static", kCentre, kStaticType & ~kCentre));
const Kind kHiddenPicture = hidden(kind("Static", kBitmap, kStaticType & ~kBitmap));
const Kind kLogo = visible(kind("Static", kBitmap | kRightJust, kStaticType & ~kBitmap));
const Kind kFrame = visible(kind("Static", kBlackFrame, kStaticType & ~kBlackFrame));
const Kind kPlaceholder = hidden(kind("Static"));
const Kind kLineEdit = visible(kind("Edit", kAutoHScroll, kMultiLine | kReadOnly));
const Kind kSourceEdit = visible(kind("Edit", kMultiLine | kAutoVScroll | kWantReturn | kVScroll, kReadOnly));
const Kind kReadOnlyLine = visible(kind("Edit", kReadOnly, kMultiLine));
const Kind kSlider = visible(kind(kSliderClass));
const Kind kGradientBar = hidden(kind(kGradientBarClass));
const Kind kProgress = visible(kind("msctls_progress32"));

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

}  // namespace

const std::vector<Template>& expectedTemplates() {
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

}  // namespace lumen::testing
