#include <cstdlib>

#include "filters/settings_file.h"

namespace lumen::filters {
namespace {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string configDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home && home[0] ? home : ".") + "/.config";
}

}  // namespace

std::unique_ptr<SettingsStore> openUserSettings() {
    return std::make_unique<FileSettingsStore>(nativeFileSystem(),
                                               configDirectory() + "/lumenforge/settings");
}

}  // namespace lumen::filters
