#pragma once
// The small pictures and the cursors of the dialogs, drawn in code.
#include <cstdint>
#include <vector>

#include "indexed_bitmap.h"

namespace lumen::tools {

Picture makeErrorMark();      // bitmap 135: beside a source that does not parse
Picture makeDatabaseIcon();   // bitmap 136: beside the Database button's text
Picture makeListMarkers();    // bitmap 141: two 6-pixel images, filter without / with presets
Picture makeArrows();         // bitmap 147: two 15-pixel images, up and down

// 32 x 32 monochrome cursor files (.cur).
std::vector<uint8_t> makeDragAllowedCursor();  // 105
std::vector<uint8_t> makeDragRefusedCursor();  // 106
std::vector<uint8_t> makeMagnifierCursor();    // 154

}  // namespace lumen::tools
