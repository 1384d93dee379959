#include <cstddef>
#include <cstdint>

#include "filters/ff_plugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumen::filters::ParmRecord record;
    if (lumen::filters::readFfPlugin({data, size}, record)) {
        if (record.title.size() > lumen::filters::parm::kTitleWidth) __builtin_trap();
        lumen::filters::FilterDefinition working;
        lumen::filters::convertParmRecord(record, working);
    }
    // The bytes as a bare record too.
    lumen::filters::decodeParmRecord({data, size});
    return 0;
}
