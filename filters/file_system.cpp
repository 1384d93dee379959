#include "filters/file_system.h"

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

}  // namespace lumen::filters
