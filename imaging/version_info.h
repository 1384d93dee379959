#pragma once
// The version resource of a Windows file, read without the Windows version API.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumen::imaging {

// The FileVersion text of the first translation named in \VarFileInfo\Translation. Nothing when
// the file, its version resource or the translation is missing or damaged; an empty text when
// that translation has no FileVersion.
std::optional<std::string> readFileVersionText(const std::string& path);
// The same from the bytes of a version resource.
std::optional<std::string> fileVersionText(std::span<const uint8_t> versionResource);

}  // namespace lumen::imaging
