#include "ui/win32/presets_description.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "ui/win32/gdi.h"

namespace lumen::ui {

void drawBitmap(HDC dc, const imaging::Bitmap& bitmap, int x, int y) {
    if (!bitmap.valid()) return;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), bitmap.width, -bitmap.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(bitmap.width), static_cast<DWORD>(bitmap.height), 0, 0, 0,
                      static_cast<UINT>(bitmap.height), bitmap.bits.data(), &info, DIB_RGB_COLORS);
}

std::span<const PresetDescriptionDialog::Command> PresetDescriptionDialog::commandTable() {
    static const Command table[] = {
        {IDOK, &PresetDescriptionDialog::onOk},
        {IDCANCEL, &PresetDescriptionDialog::onCancel},
    };
    return table;
}

std::span<const PresetDescriptionDialog::Message> PresetDescriptionDialog::messageTable() {
    static const Message table[] = {{WM_INITDIALOG, &PresetDescriptionDialog::onInit}};
    return table;
}

std::optional<std::string> PresetDescriptionDialog::ask(HWND owner) {
    if (runModal(owner, kPresetDescriptionDialog) != IDOK) return std::nullopt;
    return description_;
}

INT_PTR PresetDescriptionDialog::onInit(WPARAM, LPARAM) {
    item(kDescriptionText).setText(description_);
    SetWindowSubclass(item(kDescriptionPicture).handle(), pictureProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    return TRUE;
}

void PresetDescriptionDialog::onOk(int, LPARAM) {
    description_ = item(kDescriptionText).text();
    endModal(IDOK);
}

void PresetDescriptionDialog::onCancel(int, LPARAM) { endModal(IDCANCEL); }

LRESULT CALLBACK PresetDescriptionDialog::pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                           UINT_PTR id, DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, pictureProcedure, id);
    if (message != WM_PAINT) return DefSubclassProc(window, message, wParam, lParam);
    // The frame first, then the picture centred on white inside it.
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    const auto* self = reinterpret_cast<const PresetDescriptionDialog*>(data);
    RECT client;
    GetClientRect(window, &client);
    InflateRect(&client, -1, -1);
    WindowDc dc{window};
    fillRect(dc.get(), client, RGB(255, 255, 255));
    const imaging::Bitmap& picture = self->thumbnail_;
    drawBitmap(dc.get(), picture, client.left + (client.right - client.left - picture.width) / 2,
               client.top + (client.bottom - client.top - picture.height) / 2);
    return result;
}

}  // namespace lumen::ui
