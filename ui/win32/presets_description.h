#pragma once
// The "Preset Description" dialog (144): the preset's thumbnail centred on white beside a
// multi-line description; OK takes the text.
#include <optional>
#include <string>

#include "imaging/bitmap.h"
#include "ui/win32/dialog.h"

namespace lumen::ui {

// A 24-bit bitmap at its own size with its top left at (x, y).
void drawBitmap(HDC dc, const imaging::Bitmap& bitmap, int x, int y);

class PresetDescriptionDialog final : public DialogOf<PresetDescriptionDialog> {
public:
    PresetDescriptionDialog(const imaging::Bitmap& thumbnail, std::string description)
        : thumbnail_(thumbnail), description_(std::move(description)) {}
    // The description on OK; nothing on Cancel.
    std::optional<std::string> ask(HWND owner);

    static std::span<const Command> commandTable();
    static std::span<const Message> messageTable();

private:
    INT_PTR onInit(WPARAM, LPARAM);
    void onOk(int, LPARAM);
    void onCancel(int, LPARAM);
    static LRESULT CALLBACK pictureProcedure(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    const imaging::Bitmap& thumbnail_;
    std::string description_;
};

}  // namespace lumen::ui
