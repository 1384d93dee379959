#pragma once
// Readers for the filter collections the formula tests and benchmarks run: the benchmark set
// ("filter NAME", "codeN: TEXT", "controls: v0 ... v7" lines) and Filter Factory text filters.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace lumen::formula::testing_support {

struct NamedFilter {
    std::string name;
    std::array<std::string, 5> code{"0", "r", "g", "b", "a"};
    std::array<int32_t, 8> controls{};
};

inline std::vector<NamedFilter> readBenchmarkFilters(const std::filesystem::path& path) {
    std::vector<NamedFilter> filters;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("filter ", 0) == 0) {
            filters.push_back({line.substr(7)});
        } else if (!filters.empty() && line.size() > 7 && line.rfind("code", 0) == 0 && line[5] == ':') {
            const int index = line[4] - '0';
            if (index >= 0 && index < 5) filters.back().code[index] = line.substr(7);
        } else if (!filters.empty() && line.rfind("controls:", 0) == 0) {
            std::istringstream values(line.substr(9));
            for (int32_t& control : filters.back().controls)
                if (!(values >> control)) break;
        }
    }
    return filters;
}

// Just enough of the Filter Factory text format: CR-ended lines, eight values, four
// expressions each ended by an empty line, with the \r and \n escapes removed. Code0 is "0".
inline std::optional<NamedFilter> readTextFilter(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\r', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    if (lines.size() < 9 || lines[0] != "%RGB-1.0") return std::nullopt;
    NamedFilter filter{path.filename().string()};
    for (int i = 0; i < 8; ++i) filter.controls[i] = std::atoi(lines[1 + i].c_str());
    size_t line = 9;
    for (int c = 1; c < 5; ++c) {
        std::string& expression = filter.code[c];
        expression.clear();
        while (line < lines.size() && !lines[line].empty()) expression += lines[line++];
        if (line++ >= lines.size()) return std::nullopt;
        for (const char* escape : {"\\r", "\\n"})
            for (size_t at; (at = expression.find(escape)) != std::string::npos;) expression.erase(at, 2);
        if (expression.size() > 1022) return std::nullopt;
    }
    return filter;
}

}  // namespace lumen::formula::testing_support
