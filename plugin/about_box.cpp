#include "plugin/about_box.h"

namespace lumen::plugin {
namespace {

AboutBox installed = nullptr;

}  // namespace

void setAboutBox(AboutBox box) { installed = box; }

void showAboutBox(const hostapi::AboutRecord* about) {
    if (installed) installed(about);
}

}  // namespace lumen::plugin
