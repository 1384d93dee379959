#pragma once
// SCRATCH (uncommitted): replaced by the imaging branch.
#include <optional>
#include <string>
namespace lumen::imaging {
inline std::optional<std::string> readFileVersionText(const std::string&) { return std::nullopt; }
}
