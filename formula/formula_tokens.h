#pragma once
// The token stream of one formula text, as the parser receives it: for tests, tools and the
// formula editor's diagnostics.
#include <cstdint>
#include <vector>

#include "formula/token_codes.h"

namespace lumen::formula {

struct ScannedToken {
    int32_t code = 0;   // a TokenCode or a character code (0..255)
    int32_t value = 0;  // for kNumber: the literal's value
};

// Every token up to (not including) the end of the text. Throws std::bad_alloc when out of
// memory.
std::vector<ScannedToken> scanFormulaTokens(const char* text);

}  // namespace lumen::formula
