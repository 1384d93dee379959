#pragma once
// The product's logos, drawn in code: the about logo (bitmap 138, 93 x 28) and the wide logo at
// the top right of the main dialog and the editor (bitmap 131), whose ground is the button face.
#include "indexed_bitmap.h"

namespace lumen::tools {
Picture makeAboutLogo();
Picture makeMainLogo();
}  // namespace lumen::tools
