#pragma once
// The modal about box shown for the about selector: the title, the text lines and the logo of
// the about page. The user interface installs it; without one nothing is shown.
#include "plugin/host_api.h"

namespace lumen::plugin {

using AboutBox = void (*)(const hostapi::AboutRecord* about);

// Null: show nothing.
void setAboutBox(AboutBox box);
void showAboutBox(const hostapi::AboutRecord* about);

}  // namespace lumen::plugin
