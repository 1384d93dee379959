#pragma once
// The gradient picker (dialog 179): an owner-drawn list of every gradient of the table.
#include <cstdint>

#include "ui/win32/dialog.h"

namespace lumen::ui {

class GradientPicker final : public DialogOf<GradientPicker> {
public:
    GradientPicker(const uint8_t* table, int count) : table_(table), count_(count) {}
    // The chosen index after "Select" (0 when nothing was selected), -1 after Cancel.
    int choose(HWND owner, int current);

    static std::span<const Command> commandTable();
    static std::span<const Message> messageTable();

private:
    INT_PTR onInit(WPARAM, LPARAM);
    INT_PTR onMeasureItem(WPARAM, LPARAM lParam);
    INT_PTR onDrawItem(WPARAM, LPARAM lParam);
    void onSelect(int, LPARAM);
    void onCancel(int, LPARAM);
    void onList(int notifyCode, LPARAM);

    const uint8_t* table_;
    int count_;
    int current_ = 0;
    int chosen_ = -1;
};

}  // namespace lumen::ui
