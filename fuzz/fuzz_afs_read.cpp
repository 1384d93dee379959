#include <cstddef>
#include <cstdint>

#include "filters/afs_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lumen::filters::ParmRecord record;
    if (lumen::filters::readAfs({data, size}, record))
        for (const std::string& formula : record.formula)
            if (formula.size() > lumen::filters::kMaxAfsExpressionLength) __builtin_trap();
    return 0;
}
