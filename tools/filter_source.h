#pragma once
// The readable text form of the default database's filters (format described in
// database/README.md). Parsing is strict: every fault is reported as "FILE:LINE: message".
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumen::tools {

struct SourceControl {
    std::string label;
    bool enabled = false;
    int32_t value = 0;
};

struct SourcePreset {
    std::string name;
    std::array<int32_t, 8> values{};
    int32_t gradient = 0;
};

struct FilterSource {
    std::string title;
    std::string category;
    std::string author;
    std::string copyright;  // lines joined with CR LF
    std::array<std::string, 5> code;  // lines joined with CR LF
    std::array<SourceControl, 8> controls;
    int32_t gradient = 0;
    std::vector<SourcePreset> presets;
};

// Limits every text must respect to fit the host's parameter block.
constexpr size_t kMaxTitleLength = 255;
constexpr size_t kMaxLabelLength = 79;
constexpr size_t kMaxCodeLength = 1023;

// `fileName` only names the text in error messages.
std::optional<FilterSource> parseFilterSource(std::string_view text, const std::string& fileName, std::string& error);

}  // namespace lumen::tools
