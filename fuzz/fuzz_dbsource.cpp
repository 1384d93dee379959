// The readable filter source format: any bytes give a filter or a located fault, never a crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/filter_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string error;
    const auto source = lumen::tools::parseFilterSource(
        std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt", error);
    if (source) {
        for (const std::string& code : source->code)
            if (code.empty() || code.size() > lumen::tools::kMaxCodeLength) __builtin_trap();
    } else if (error.rfind("fuzz.txt", 0) != 0) {
        __builtin_trap();
    }
    return 0;
}
