#include <windows.h>

#include <cstdio>
#include <vector>

#include "host_detection.h"

namespace lumen::plugin {
namespace {

// Reads the FileVersion text of the first translation through the Windows version API.
std::optional<std::string> fileVersionText(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::nullopt;
    struct Translation {
        WORD language, codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        return std::nullopt;
    char query[64];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%08lx\\%s",
                  static_cast<unsigned long>(translation->language) * 65536ul + translation->codePage, "FileVersion");
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&text), &length) || !text) return std::string{};
    return std::string(text, strnlen(text, length));
}

}  // namespace

HostProcess currentHostProcess() {
    HostProcess host;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH) host.executablePath.assign(path, length);
    host.readFileVersion = fileVersionText;
    return host;
}

}  // namespace lumen::plugin
