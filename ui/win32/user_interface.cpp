#include "ui/win32/user_interface.h"

#include "plugin/about_box.h"
#include "plugin/main_dialog.h"
#include "ui/win32/about_box.h"
#include "ui/win32/main_dialog_window.h"
#include "ui/win32/module.h"

namespace lumen::ui {

void installUserInterface() {
    plugin::setMainDialogFactory(makeMainDialogWindow);
    plugin::setAboutBox(showAboutBox);
}

void removeUserInterface() {
    plugin::setMainDialogFactory(nullptr);
    plugin::setAboutBox(nullptr);
    releaseWindows();
}

}  // namespace lumen::ui
