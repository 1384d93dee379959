#include "ui/win32/gradient_picker.h"

#include <string>

#include "resources/resource_ids.h"
#include "ui/win32/gdi.h"
#include "ui/win32/gradient_bar.h"

namespace lumen::ui {
namespace {

constexpr int kItemHeight = 40;
constexpr int kItemInset = 3;
constexpr int kPickerItems = 100;

}  // namespace

std::span<const GradientPicker::Command> GradientPicker::commandTable() {
    static const Command table[] = {
        {IDOK, &GradientPicker::onSelect},
        {IDCANCEL, &GradientPicker::onCancel},
        {kPickerList, &GradientPicker::onList},
    };
    return table;
}

std::span<const GradientPicker::Message> GradientPicker::messageTable() {
    static const Message table[] = {
        {WM_INITDIALOG, &GradientPicker::onInit},
        {WM_MEASUREITEM, &GradientPicker::onMeasureItem},
        {WM_DRAWITEM, &GradientPicker::onDrawItem},
    };
    return table;
}

int GradientPicker::choose(HWND owner, int current) {
    current_ = current;
    chosen_ = -1;
    return runModal(owner, kGradientPicker) == IDOK ? chosen_ : -1;
}

INT_PTR GradientPicker::onInit(WPARAM, LPARAM) {
    Window list = item(kPickerList);
    for (int i = 0; i < kPickerItems; ++i) list.send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i).c_str()));
    list.send(LB_SETCURSEL, static_cast<WPARAM>(current_));
    list.send(LB_SETCARETINDEX, static_cast<WPARAM>(current_), FALSE);
    return TRUE;
}

INT_PTR GradientPicker::onMeasureItem(WPARAM, LPARAM lParam) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlID != kPickerList) return FALSE;
    measure->itemHeight = kItemHeight;
    return TRUE;
}

INT_PTR GradientPicker::onDrawItem(WPARAM, LPARAM lParam) {
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->CtlID != kPickerList || draw->itemID == static_cast<UINT>(-1)) return FALSE;
    const RECT& bounds = draw->rcItem;
    MemoryCanvas canvas{draw->hDC, bounds.right - bounds.left, bounds.bottom - bounds.top};
    if (!canvas.valid()) return TRUE;
    const RECT whole{0, 0, canvas.width(), canvas.height()};
    fillRect(canvas.dc(), whole, RGB(255, 255, 255));
    RECT gradient = whole;
    InflateRect(&gradient, -kItemInset, -kItemInset);
    paintGradientColumns(canvas.dc(), gradient, table_, count_, static_cast<int>(draw->itemID));
    const std::string number = std::to_string(draw->itemID);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    SetBkColor(canvas.dc(), RGB(255, 255, 255));
    SetBkMode(canvas.dc(), OPAQUE);
    Selection font{canvas.dc(), reinterpret_cast<HGDIOBJ>(SendMessageA(draw->hwndItem, WM_GETFONT, 0, 0))};
    TextOutA(canvas.dc(), gradient.left, gradient.top, number.c_str(), static_cast<int>(number.size()));
    if (draw->itemState & ODS_SELECTED) frameRect(canvas.dc(), whole, RGB(0, 0, 0), RGB(0, 0, 0));
    canvas.copyTo(draw->hDC, bounds.left, bounds.top);
    return TRUE;
}

void GradientPicker::onSelect(int, LPARAM) {
    const LRESULT selected = item(kPickerList).send(LB_GETCURSEL);
    chosen_ = selected == LB_ERR ? 0 : static_cast<int>(selected);
    endModal(IDOK);
}

void GradientPicker::onCancel(int, LPARAM) { endModal(IDCANCEL); }

void GradientPicker::onList(int notifyCode, LPARAM) {
    if (notifyCode == LBN_DBLCLK) onSelect(0, 0);
}

}  // namespace lumen::ui
