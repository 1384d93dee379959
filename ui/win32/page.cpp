#include "ui/win32/page.h"

namespace lumen::ui {

void Page::attachTextButtons(std::initializer_list<int> ids) { ui::attachTextButtons(buttons_, window(), ids); }

void Page::attachImageButton(int id, HIMAGELIST images, int index) {
    ImageListButton& added = buttons_.emplace_back();
    if (added.attach(item(id).handle()))
        added.setImage(images, index);
    else
        buttons_.pop_back();
}

}  // namespace lumen::ui
