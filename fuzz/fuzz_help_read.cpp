#include <cstddef>
#include <algorithm>
#include <cstdint>

#include "help/help_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const lumen::help::HelpReadResult read = lumen::help::readHelpFile({data, size});
    if (read.document.has_value() != (read.error == lumen::help::HelpReadError::none)) __builtin_trap();
    if (!read.document) return 0;
    // The container has one form for each book: what was accepted writes back byte for byte.
    const std::vector<uint8_t> written = lumen::help::writeHelpFile(*read.document);
    if (written.size() != size || !std::equal(written.begin(), written.end(), data)) __builtin_trap();
    if (lumen::help::checkReferences(*read.document) != lumen::help::HelpReadError::none) __builtin_trap();
    return 0;
}
