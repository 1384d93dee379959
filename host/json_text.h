#pragma once
// Texts of the plug-in protocol as the host prints them in JSON.
#include <cstdint>
#include <string>
#include <string_view>

namespace lumen::host {

std::string fourCharText(uint32_t code);
// Plug-in texts are 8-bit; JSON wants UTF-8, so bytes above 127 travel as Latin-1 letters.
std::string latin1ToUtf8(std::string_view text);

}  // namespace lumen::host
