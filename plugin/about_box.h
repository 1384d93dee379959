#pragma once
// The modal about box shown for the about selector: the title, the text lines and the logo of
// the about page. Platforms without a user interface show nothing.
#include "plugin/host_api.h"

namespace lumen::plugin {

void showAboutBox(const hostapi::AboutRecord* about);

}  // namespace lumen::plugin
