#include "about_box.h"

namespace lumen::plugin {

void showAboutBox(const hostapi::AboutRecord*) {}

}  // namespace lumen::plugin
