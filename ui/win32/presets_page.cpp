#include "ui/win32/presets_page.h"

#include "imaging/screen_capture.h"
#include "resources/resource_ids.h"
#include "ui/model/presets_model.h"
#include "ui/model/preview_model.h"
#include "ui/win32/control_panel_page.h"
#include "ui/win32/messages.h"
#include "ui/win32/module.h"
#include "ui/win32/presets_description.h"

namespace lumen::ui {
namespace {

constexpr int kArrowWidth = 15;

// What the screen shows in `window`'s client area, clipped to the screen, as a 24-bit bitmap.
std::optional<imaging::Bitmap> grabClientArea(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const Rect area = clippedToScreen({origin.x, origin.y, client.right, client.bottom},
                                      {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    if (area.width == 0) return std::nullopt;
    auto image = imaging::captureScreenArea(area.left, area.top, area.width, area.height);
    if (!image) return std::nullopt;
    return imaging::bitmapFromRows(image->pixels, image->width, image->height, size_t(image->width) * 4,
                                   imaging::kRgbaOffsets);
}

void dispatchPendingMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

bool PresetsPage::create(HWND parent) {
    parent_ = parent;
    return createChild(parent, kPresetsPage);
}

std::span<const PresetsPage::Command> PresetsPage::commandTable() {
    static const Command table[] = {
        {kPresetList, &PresetsPage::onList},       {kPresetAdd, &PresetsPage::onAdd},
        {kPresetEdit, &PresetsPage::onEdit},       {kPresetDelete, &PresetsPage::onDelete},
        {kPresetUp, &PresetsPage::onUp},           {kPresetDown, &PresetsPage::onDown},
        {kPresetApply, &PresetsPage::onApply},     {kPresetSetDefault, &PresetsPage::onSetDefault},
    };
    return table;
}

std::span<const PresetsPage::Message> PresetsPage::messageTable() {
    static const Message table[] = {
        {WM_INITDIALOG, &PresetsPage::onInit},
        {WM_MEASUREITEM, &PresetsPage::onMeasureItem},
        {WM_DRAWITEM, &PresetsPage::onDrawItem},
        {kPresetsFilterChanged, &PresetsPage::onFilterChanged},
    };
    return table;
}

std::span<const PresetsPage::Update> PresetsPage::updateTable() {
    static const Update table[] = {
        {kPresetAdd, &PresetsPage::updateButton},    {kPresetEdit, &PresetsPage::updateButton},
        {kPresetDelete, &PresetsPage::updateButton}, {kPresetUp, &PresetsPage::updateButton},
        {kPresetDown, &PresetsPage::updateButton},   {kPresetApply, &PresetsPage::updateButton},
        {kPresetSetDefault, &PresetsPage::updateButton},
    };
    return table;
}

INT_PTR PresetsPage::onInit(WPARAM, LPARAM) {
    attachTextButtons(buttons_, window(), {kPresetAdd, kPresetEdit, kPresetDelete, kPresetApply, kPresetSetDefault});
    arrows_.reset(loadImageList(kArrowsBitmap, kArrowWidth));
    int image = 0;
    for (int id : {kPresetUp, kPresetDown}) {
        ImageListButton& button = buttons_.emplace_back();
        if (button.attach(item(id).handle()))
            button.setImage(arrows_.get(), image);
        else
            buttons_.pop_back();
        ++image;
    }
    fillList();
    return TRUE;
}

INT_PTR PresetsPage::onMeasureItem(WPARAM, LPARAM lParam) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType != ODT_LISTBOX) return FALSE;
    measure->itemHeight = kPresetItemHeight;
    return TRUE;
}

INT_PTR PresetsPage::onDrawItem(WPARAM, LPARAM lParam) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlType == ODT_LISTBOX && draw->CtlID == kPresetList) {
        drawItem(*draw);
        return TRUE;
    }
    // The image-list buttons draw themselves.
    return draw->CtlType == ODT_BUTTON && SendMessageA(draw->hwndItem, kReflectedDrawItem, 0, lParam);
}

void PresetsPage::drawItem(const DRAWITEMSTRUCT& draw) const {
    const RECT& rect = draw.rcItem;
    if (draw.itemID == static_cast<UINT>(-1) || draw.itemID >= links_.working.presets.size()) {
        fillRect(draw.hDC, rect, RGB(255, 255, 255));
        return;
    }
    const filters::Preset& preset = links_.working.presets[draw.itemID];
    fillRect(draw.hDC, rect, RGB(255, 255, 255));
    const PresetItemLayout layout = presetItemLayout(rect.left, rect.top, rect.right, rect.bottom);
    {
        // The thumbnail stays inside its item.
        const int saved = SaveDC(draw.hDC);
        IntersectClipRect(draw.hDC, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
        drawBitmap(draw.hDC, preset.thumbnail, layout.thumbnailLeft, layout.thumbnailTop);
        RestoreDC(draw.hDC, saved);
    }
    RECT text{layout.textLeft, layout.textTop, layout.textRight, layout.textBottom};
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, RGB(0, 0, 0));
    DrawTextA(draw.hDC, preset.name.c_str(), static_cast<int>(preset.name.size()), &text,
              DT_WORDBREAK | DT_NOPREFIX | DT_LEFT | DT_TOP);
    if (draw.itemState & ODS_SELECTED)
        DrawFocusRect(draw.hDC, &rect);
    else {
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        frameRect(draw.hDC, rect, window, window);
    }
}

INT_PTR PresetsPage::onFilterChanged(WPARAM, LPARAM) {
    filterChanged();
    return TRUE;
}

void PresetsPage::filterChanged() { fillList(); }

void PresetsPage::fillList() {
    Window list = item(kPresetList);
    list.send(WM_SETREDRAW, FALSE);
    list.send(LB_RESETCONTENT);
    for (const filters::Preset& preset : links_.working.presets)
        list.send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(preset.name.c_str()));
    list.send(WM_SETREDRAW, TRUE);
    InvalidateRect(list.handle(), nullptr, TRUE);
}

std::optional<size_t> PresetsPage::selection() const {
    const LRESULT selected = item(kPresetList).send(LB_GETCURSEL);
    if (selected < 0 || static_cast<size_t>(selected) >= links_.working.presets.size()) return std::nullopt;
    return static_cast<size_t>(selected);
}

void PresetsPage::select(std::optional<size_t> index) {
    Window list = item(kPresetList);
    if (!index) {
        list.send(LB_SETCURSEL, static_cast<WPARAM>(-1));
        return;
    }
    list.send(LB_SETCARETINDEX, *index, FALSE);
    list.send(LB_SETCURSEL, *index);
}

void PresetsPage::updateButton(Window control) {
    const PresetButtons rule = presetButtons(selection(), links_.working.presets.size(),
                                             links_.selectedFilters ? links_.selectedFilters() : 0);
    bool enabled = false;
    switch (control.id()) {
    case kPresetAdd: enabled = rule.add; break;
    case kPresetEdit: enabled = rule.edit; break;
    case kPresetDelete: enabled = rule.remove; break;
    case kPresetUp: enabled = rule.up; break;
    case kPresetDown: enabled = rule.down; break;
    case kPresetApply: enabled = rule.apply; break;
    case kPresetSetDefault: enabled = rule.setDefault; break;
    }
    if (control.enabled() != enabled) control.enable(enabled);
}

void PresetsPage::onList(int notifyCode, LPARAM) {
    if (notifyCode == LBN_DBLCLK) onApply(0, 0);
}

void PresetsPage::onAdd(int, LPARAM) {
    // The preview as the screen shows it now.
    dispatchPendingMessages();
    const auto grabbed = grabClientArea(links_.panel.item(kPanelPreviewArea).handle());
    if (!grabbed) return;
    auto thumbnail = filters::presetThumbnail(*grabbed);
    if (!thumbnail) return;
    PresetDescriptionDialog dialog{*thumbnail, ""};
    const auto description = dialog.ask(GetAncestor(window().handle(), GA_ROOT));
    if (!description) return;
    const bool first = links_.working.presets.empty();
    const size_t added = addPresetAndSave(links_.database, links_.working, *description, std::move(*thumbnail));
    if (first && links_.presetsFlagChanged) links_.presetsFlagChanged();
    item(kPresetList).send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(links_.working.presets[added].name.c_str()));
    select(added);
}

void PresetsPage::onEdit(int, LPARAM) {
    const auto selected = selection();
    if (!selected) return;
    const filters::Preset& preset = links_.working.presets[*selected];
    PresetDescriptionDialog dialog{preset.thumbnail, preset.name};
    const auto description = dialog.ask(GetAncestor(window().handle(), GA_ROOT));
    if (!description) return;
    describePresetAndSave(links_.database, links_.working, *selected, *description);
    InvalidateRect(item(kPresetList).handle(), nullptr, TRUE);
}

void PresetsPage::onDelete(int, LPARAM) {
    const auto selected = selection();
    if (!selected) return;
    const auto next = deletePresetAndSave(links_.database, links_.working, *selected);
    if (links_.working.presets.empty() && links_.presetsFlagChanged) links_.presetsFlagChanged();
    item(kPresetList).send(LB_DELETESTRING, *selected);
    select(next);
}

void PresetsPage::move(bool up) {
    const auto selected = selection();
    if (!selected) return;
    const auto moved = movePresetAndSave(links_.database, links_.working, *selected, up);
    if (!moved) return;
    fillList();
    select(moved);
}

void PresetsPage::onUp(int, LPARAM) { move(true); }

void PresetsPage::onDown(int, LPARAM) { move(false); }

void PresetsPage::onApply(int, LPARAM) {
    const auto selected = selection();
    if (!selected || !filters::applyPreset(links_.working, *selected)) return;
    PostMessageA(parent_, WM_COMMAND, kCmdShowGradient, links_.working.gradientIndex);
    links_.panel.refreshFromFilter();
}

void PresetsPage::onSetDefault(int, LPARAM) {
    links_.working.takeCurrentAsDefault();
    links_.database.savePresetChange(links_.working);
}

}  // namespace lumen::ui
