// The settings file and the DatabaseList value from anywhere.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "filters/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen::filters;
    std::span<const uint8_t> bytes(data, size);
    if (std::optional<std::vector<std::string>> names = decodeDatabaseList(bytes))
        if (decodeDatabaseList(encodeDatabaseList(*names)) != names) std::abort();
    if (std::optional<SettingsValues> values = parseSettings(bytes))
        if (parseSettings(serializeSettings(*values)) != values) std::abort();
    return 0;
}
