#include "filters/file_system.h"

#include <algorithm>

namespace lumen::filters {

std::string withTrailingSeparator(std::string directory) {
    if (directory.empty()) return directory;
    char last = directory.back();
    if (last != kPathSeparator && last != '/') directory.push_back(kPathSeparator);
    return directory;
}

std::string joinPath(const std::string& directory, std::string_view name) {
    std::string path = withTrailingSeparator(directory);
    path.append(name);
    return path;
}

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

std::string temporaryPathFor(const std::string& path, uint32_t process, unsigned counter) {
    const std::string suffix = ".~" + std::to_string(process) + "-" + std::to_string(counter);
    const size_t nameStart = path.find_last_of(kPathSeparator == '/' ? "/" : "\\/") + 1;
    const size_t nameLength = path.size() - nameStart;
    const size_t keep = std::min(nameLength, kMaxFileNameLength - suffix.size());
    return path.substr(0, nameStart + keep) + suffix;
}

std::optional<uint32_t> temporaryFileOwner(std::string_view name) {
    const size_t mark = name.rfind(".~");
    if (mark == std::string_view::npos) return std::nullopt;
    std::string_view rest = name.substr(mark + 2);
    const size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size()) return std::nullopt;
    auto digits = [](std::string_view text) {
        return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::string_view process = rest.substr(0, dash);
    if (!digits(process) || !digits(rest.substr(dash + 1)) || process.size() > 10) return std::nullopt;
    const uint64_t value = std::stoull(std::string(process));
    if (value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

bool isPlainName(std::string_view name) {
    // A colon names a drive or a stream on Windows.
    const char* separators = kPathSeparator == '/' ? "/\\" : "/\\:";
    return !name.empty() && name != "." && name != ".." && name.find_first_of(separators) == std::string_view::npos;
}

std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace lumen::filters
