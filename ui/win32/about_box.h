#pragma once
// The about box of the about selector: template 200 carries the about page's lines and logo,
// with an OK button.
#include "plugin/host_api.h"

namespace lumen::ui {

void showAboutBox(const hostapi::AboutRecord* about);

}  // namespace lumen::ui
