#include <unistd.h>

#include <climits>

#include "host_detection.h"
#include "imaging/version_info.h"

namespace lumen::plugin {

HostProcess currentHostProcess() {
    HostProcess host;
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length > 0) host.executablePath.assign(path, static_cast<size_t>(length));
    host.readFileVersion = [](const std::string& file) { return imaging::readFileVersionText(file); };
    return host;
}

}  // namespace lumen::plugin
