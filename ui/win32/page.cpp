#include "ui/win32/page.h"

namespace lumen::ui {

void Page::attachTextButtons(std::initializer_list<int> ids) {
    for (int id : ids) {
        ImageListButton& added = buttons_.emplace_back();
        if (added.attach(item(id).handle()))
            added.setTextMode(true, TextAlignment::centred);
        else
            buttons_.pop_back();
    }
}

void Page::setButtonIcon(int id, HICON icon, int width, int height) {
    if (ImageListButton* found = button(id)) found->setIcon(icon, width, height);
}

ImageListButton* Page::button(int id) {
    for (ImageListButton& candidate : buttons_)
        if (candidate.window().id() == id) return &candidate;
    return nullptr;
}

}  // namespace lumen::ui
