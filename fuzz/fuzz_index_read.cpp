// Database index bytes from anywhere: parsed, sorted, grouped and written back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "filters/database_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen::filters;
    std::vector<DatabaseEntry> entries;
    bool whole = parseIndex(std::span(data, size), entries);
    sortEntries(entries);
    categoriesOf(entries);
    for (size_t i = 1; i < entries.size(); ++i)
        if (compareEntryKeys(entries[i - 1], entries[i]) > 0) std::abort();
    if (whole) {
        std::vector<DatabaseEntry> again;
        if (!parseIndex(serializeIndex(entries), again) || again != entries) std::abort();
    }
    return 0;
}
