#pragma once
// Readable descriptions of binary resources, turned into bytes at build time.
//
// A description is a list of typed items; a type word applies to every value after it up to
// the next type word:
//   int8 / int16 / int32 N...   little-endian integers (decimal or 0x hex, may be negative)
//   code ABCD...                four-character codes, stored as little-endian 32-bit numbers
//   pstring "text"...           one length byte, then the characters
//   cstring "text"...           the characters and a terminating zero
// Lines whose first non-blank character is '#' are comments. A PiPL description also has
// "property KEY" lines that start a property; the key "ENTRY" stands for the entry-point key.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumen::tools {

std::optional<std::vector<uint8_t>> encodeItems(std::string_view description, std::string& error);

// A PiPL resource: version 1, 0, the property count, then each property (vendor 8BIM, key,
// id 0, padded length, data padded with zeros to a multiple of 4).
std::optional<std::vector<uint8_t>> encodePipl(std::string_view description,
                                               std::string_view entryKey, std::string& error);

}  // namespace lumen::tools
