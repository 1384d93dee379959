#pragma once
// A page of the main dialog made from its template: it passes Enter and Escape on to the main
// dialog, and draws the buttons its Part names as image-list buttons. Pages whose own behaviour
// has not arrived yet are just this.
#include <list>

#include "ui/win32/dialog.h"
#include "ui/win32/image_list_button.h"

namespace lumen::ui {

class Page final : public DialogOf<Page> {
public:
    // Captions centred.
    void attachTextButtons(std::initializer_list<int> ids);
    void setButtonIcon(int id, HICON icon, int width, int height);

private:
    ImageListButton* button(int id);

    std::list<ImageListButton> buttons_;  // attached buttons keep their address
};

}  // namespace lumen::ui
