#pragma once
// A page of the main dialog with no behaviour of its own (the about page): made from its
// template, it passes Enter and Escape on to the main dialog.
#include "ui/win32/dialog.h"

namespace lumen::ui {

class Page final : public DialogOf<Page> {};

}  // namespace lumen::ui
