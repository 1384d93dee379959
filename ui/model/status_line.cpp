#include "ui/model/status_line.h"

namespace lumen::ui::model {

std::string databaseDisplayName(const std::string& databasePath) {
    std::string name = databasePath;
    while (!name.empty() && (name.back() == '/' || name.back() == '\\')) name.pop_back();
    const size_t separator = name.find_last_of("/\\");
    if (separator != std::string::npos) name.erase(0, separator + 1);
    const size_t suffix = name.find(".db");
    if (suffix != std::string::npos) name.erase(suffix);
    return name;
}

std::string filterCountText(size_t entryCount) { return std::to_string(entryCount); }

}  // namespace lumen::ui::model
