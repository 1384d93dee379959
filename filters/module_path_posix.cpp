#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include "filters/startup.h"

namespace lumen::filters {

std::string moduleFilePath() {
    Dl_info info{};
    if (!::dladdr(reinterpret_cast<void*>(&moduleFilePath), &info) || !info.dli_fname) return {};
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved)) return resolved;
    return info.dli_fname;
}

}  // namespace lumen::filters
