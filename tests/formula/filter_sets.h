#pragma once
// The benchmark filter set the formula tests and benchmarks run: blocks of "filter NAME",
// "codeN: TEXT" and "controls: v0 ... v7" lines.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
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

}  // namespace lumen::formula::testing_support
