#pragma once
// The editor's two small dialogs: "Slider Settings" (labels and active flags of the eight
// controls) and its "Filter Info" (author and copyright, with defaults kept in the settings).
// Each changes its arguments only when the user leaves it with OK.
#include <windows.h>

#include <array>
#include <string>

#include "filters/filter_definition.h"
#include "filters/settings_store.h"

namespace lumen::ui {

bool editSliderSettings(HWND owner, std::array<std::string, filters::kControlCount>& labels,
                        std::array<uint8_t, filters::kControlCount>& active);

bool editAuthorAndCopyright(HWND owner, filters::SettingsStore& settings, std::string& author,
                            std::string& copyright);

}  // namespace lumen::ui
