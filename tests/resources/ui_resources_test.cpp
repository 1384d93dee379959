// The user interface's resources read back from built DLLs, as Windows would find them: every
// template's size, style, font, caption and controls; menu 134; the string table; the bitmaps'
// sizes, depths and special colours; the cursors. Runs over a resource-only DLL made from
// lumenforge.rc in this build and over the Windows products when they have been built.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "imaging/pe_resources.h"
#include "expected_templates.h"
#include "resources/resource_ids.h"
#include "win32_resource_formats.h"

namespace {

using lumen::imaging::PeResources;
using lumen::imaging::ResourceKey;
using namespace lumen::testing;

constexpr uint16_t kRtCursor = 1, kRtBitmap = 2, kRtMenu = 4, kRtDialog = 5, kRtString = 6, kRtGroupCursor = 12;

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
    for (const Template& expected : expectedTemplates()) {
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
            if (control.width != kFree) {
                EXPECT_EQ(actual.width, control.width);
            }
            if (control.height != kFree) {
                EXPECT_EQ(actual.height, control.height);
            }
        }
    }
}

TEST_P(UiResources, ControlsLieInsideTheirTemplateAndIdsAreUnique) {
    std::vector<int> ids = {kAboutPage, kAboutBoxDialog, kConversionDialog};
    for (const Template& expected : expectedTemplates()) ids.push_back(expected.id);
    for (int id : ids) {
        SCOPED_TRACE("template " + std::to_string(id));
        const auto found = dialog(id);
        ASSERT_TRUE(found);
        std::map<int32_t, int> seen;
        for (const DialogControl& control : found->controls) {
            SCOPED_TRACE("control " + std::to_string(control.id) + " \"" + titleOf(control) + "\"");
            EXPECT_GE(control.x, 0);
            EXPECT_GE(control.y, 0);
            EXPECT_LE(control.x + control.width, found->width);
            EXPECT_LE(control.y + control.height, found->height);
            if (control.id != -1) {
                EXPECT_EQ(++seen[control.id], 1) << "id used twice";
            }
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
