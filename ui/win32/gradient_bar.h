#pragma once
// The gradient bar of the main dialog (window class kGradientBarClass): shows one gradient of
// the table; a click on it opens the gradient picker, and a choice there goes to the parent as
// command <bar id> with the new index in lParam. Driven by the messages of messages.h.
#include <windows.h>

#include <cstdint>

namespace lumen::ui {

struct GradientBarLook {
    const uint8_t* table = nullptr;
    int count = 0;
    int index = 0;
    bool pressed = false;
};

void paintGradientBar(HDC dc, SIZE size, const GradientBarLook& look);
// The columns of one gradient inside `area` (white without a table or with an index outside).
void paintGradientColumns(HDC dc, const RECT& area, const uint8_t* table, int count, int index);

bool registerGradientBarClass(HMODULE module);
void unregisterGradientBarClass(HMODULE module);

}  // namespace lumen::ui
