#include "gradients.h"

#include <cmath>
#include <sstream>

namespace lumen::tools {
namespace {

struct Stop {
    int position;
    uint8_t rgb[3];
};

bool parseStop(const std::string& word, Stop& stop) {
    const size_t colon = word.find(':');
    if (colon == std::string::npos || word.size() - colon - 1 != 6) return false;
    try {
        size_t used = 0;
        stop.position = std::stoi(word.substr(0, colon), &used);
        if (used != colon) return false;
        const unsigned long colour = std::stoul(word.substr(colon + 1), &used, 16);
        if (used != 6) return false;
        stop.rgb[0] = uint8_t(colour >> 16);
        stop.rgb[1] = uint8_t(colour >> 8);
        stop.rgb[2] = uint8_t(colour);
    } catch (...) {
        return false;
    }
    return stop.position >= 0 && stop.position < kGradientEntries;
}

}  // namespace

std::optional<std::vector<uint8_t>> makeGradientTable(std::string_view description, std::string& error) {
    std::vector<uint8_t> table;
    std::istringstream lines{std::string(description)};
    std::string line;
    int lineNumber = 0;
    auto fail = [&](const std::string& message) -> std::optional<std::vector<uint8_t>> {
        error = "line " + std::to_string(lineNumber) + ": " + message;
        return std::nullopt;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream words{line};
        int index = -1;
        words >> index;
        if (index != int(table.size() / (kGradientEntries * 4))) return fail("gradients must be numbered in order");
        const size_t open = line.find('"'), close = line.find('"', open + 1);
        if (open == std::string::npos || close == std::string::npos) return fail("a gradient needs a quoted name");
        std::istringstream stopWords{line.substr(close + 1)};
        std::vector<Stop> stops;
        for (std::string word; stopWords >> word;) {
            Stop stop{};
            if (!parseStop(word, stop)) return fail("bad stop " + word);
            if (!stops.empty() && stop.position < stops.back().position) return fail("stops must not fall back");
            stops.push_back(stop);
        }
        if (stops.size() < 2 || stops.front().position != 0 || stops.back().position != kGradientEntries - 1)
            return fail("stops must run from 0 to 255");
        size_t next = 1;
        for (int entry = 0; entry < kGradientEntries; ++entry) {
            while (stops[next].position < entry) ++next;
            const Stop& from = stops[next - 1];
            const Stop& to = stops[next];
            const int span = to.position - from.position;
            const double t = span == 0 ? 1.0 : double(entry - from.position) / span;
            for (int c = 0; c < 3; ++c)
                table.push_back(uint8_t(std::lround(from.rgb[c] + (to.rgb[c] - from.rgb[c]) * t)));
            table.push_back(255);
        }
    }
    if (table.size() != size_t(kGradientCount) * kGradientEntries * 4)
        return fail("the table needs exactly " + std::to_string(kGradientCount) + " gradients");
    return table;
}

}  // namespace lumen::tools
