#include "host_detection.h"

#include <algorithm>
#include <cctype>

#include "plugin/parameter_block.h"

namespace lumen::plugin {
namespace {

size_t lastSeparator(const std::string& path) {
#ifdef _WIN32
    return path.find_last_of("\\/:");
#else
    return path.find_last_of('/');
#endif
}

// Drive and directory of a path, with the separator that ends them.
std::string directoryOf(const std::string& path) {
    size_t separator = lastSeparator(path);
    return separator == std::string::npos ? std::string{} : path.substr(0, separator + 1);
}

std::string baseNameWithoutExtension(const std::string& path) {
    size_t separator = lastSeparator(path);
    std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

int premiereVersionFromText(std::string_view fileVersion) {
    if (fileVersion.find("4.2") != std::string_view::npos) return 42;
    if (fileVersion.find("5.") != std::string_view::npos) return 50;
    return 0;
}

int premiereVersion(const HostProcess& host) {
    if (!host.readFileVersion || host.executablePath.empty()) return 0;
    std::optional<std::string> version = host.readFileVersion(directoryOf(host.executablePath) + "preminfo.dll");
    return version ? premiereVersionFromText(*version) : 0;
}

bool directDrawingNeeded(const hostapi::FilterRecord& record, const HostProcess& host) {
    if (!record.displayPixels || !record.bufferProcs) return true;
    const std::string name = baseNameWithoutExtension(host.executablePath);
    for (std::string_view known : {"IEDIT", "CORELXRA", "PREMIERE"})
        if (equalsIgnoringCase(name, known)) return true;
    return false;
}

void detectHost(const hostapi::FilterRecord& record, const HostProcess& host, ParameterBlock& block) {
    switch (premiereVersion(host)) {
    case 42:
        block.swapRedBlue = 1;
        block.drawPreviewDirect = 0;
        break;
    case 50:
        block.swapRedBlue = 0;
        block.drawPreviewDirect = 1;
        break;
    default:
        block.drawPreviewDirect = directDrawingNeeded(record, host) ? 1 : 0;
        break;
    }
    if (record.hostSig == kSabiHostSignature) {
        block.swapRedBlue = 0;
        block.drawPreviewDirect = 1;
    }
}

}  // namespace lumen::plugin
