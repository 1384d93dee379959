// File names from a directory listing or a command line: the temporary-file test of the
// database open, and the test that keeps a given name inside its directory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "filters/database_entry.h"
#include "filters/file_system.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumen::filters;
    const std::string name(reinterpret_cast<const char*>(data), size);
    if (std::optional<uint32_t> owner = temporaryFileOwner(name)) {
        // What names a process also comes out of the name made for it.
        const std::string made = fileNameOf(temporaryPathFor(joinPath("d", name), *owner, 7));
        if (made.size() > kMaxFileNameLength || temporaryFileOwner(made) != owner) std::abort();
    }
    if (isPlainName(name) && fileNameOf(joinPath("d", name)) != name) std::abort();
    // Filter file names made from any category and title are plain names.
    const size_t half = size / 2;
    const std::string made = filterFileName(name.substr(0, half), name.substr(half));
    if (!isPlainName(made)) std::abort();
    return 0;
}
