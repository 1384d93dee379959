#pragma once
// The filter the runner renders and an apply records: what the navigator holds as current, or
// what a replay restores from the parameter block.
#include <array>
#include <cstdint>
#include <string>

#include "plugin/parameter_block.h"

namespace lumen::plugin {

struct CurrentFilter {
    std::string name;
    std::string category;
    std::string databasePath;  // ends in the path separator
    std::array<std::string, kSourceCount> code;
    std::array<int32_t, kSliderCount> sliderValue{};
    std::array<bool, kSliderCount> sliderInUse{};
    std::array<std::string, kSliderCount> sliderLabel;
    int32_t gradientIndex = 0;
};

CurrentFilter currentFilterFromBlock(const ParameterBlock& block);
// Texts longer than their fields are cut; the block's other fields are left as they are.
void storeCurrentFilter(const CurrentFilter& filter, ParameterBlock& block);

}  // namespace lumen::plugin
