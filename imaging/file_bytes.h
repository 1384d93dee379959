#pragma once
// Whole files read into memory, refusing any larger than the caller allows.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumen::imaging {

// Nothing when the file cannot be opened or read, or holds more than maxSize bytes. The path is
// passed to the C library as it is (8-bit text in the ANSI code page on Windows).
std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path, size_t maxSize);

}  // namespace lumen::imaging
