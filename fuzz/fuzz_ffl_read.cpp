#include <cstddef>
#include <cstdint>

#include "filters/ffl_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const lumen::filters::FilterLibrary library = lumen::filters::parseFilterLibrary({data, size});
    if (library.entries.size() > lumen::filters::kMaxLibraryEntries) __builtin_trap();
    // Every entry begins on a line of the file: a count cannot conjure entries from nothing.
    if (library.entries.size() > library.linesAfterCount) __builtin_trap();
    lumen::filters::FilterDefinition working;
    for (const auto& entry : library.entries) lumen::filters::convertLibraryEntry(entry, working);
    return 0;
}
