#include "plugin/current_filter.h"

namespace lumen::plugin {

CurrentFilter currentFilterFromBlock(const ParameterBlock& block) {
    CurrentFilter filter;
    filter.title = fieldText(block.filterName);
    filter.category = fieldText(block.filterCategory);
    filter.databasePath = fieldText(block.databaseName);
    for (int i = 0; i < kSourceCount; ++i) filter.code[i] = fieldText(block.codeText[i]);
    for (int i = 0; i < kSliderCount; ++i) {
        filter.controlValue[i] = block.sliderValue[i];
        filter.controlEnabled[i] = block.sliderInUse[i] != 0 ? 1 : 0;
        filter.controlLabel[i] = fieldText(block.sliderLabel[i]);
    }
    filter.gradientIndex = block.gradientIndex;
    return filter;
}

void storeCurrentFilter(const CurrentFilter& filter, ParameterBlock& block) {
    setFieldText(block.filterName, filter.title);
    setFieldText(block.filterCategory, filter.category);
    setFieldText(block.databaseName, filter.databasePath);
    for (int i = 0; i < kSliderCount; ++i) {
        block.sliderValue[i] = filter.controlValue[i];
        block.sliderInUse[i] = filter.controlEnabled[i] ? 1 : 0;
        setFieldText(block.sliderLabel[i], filter.controlLabel[i]);
    }
    for (int i = 0; i < kSourceCount; ++i) setFieldText(block.codeText[i], filter.code[i]);
    block.gradientIndex = filter.gradientIndex;
}

}  // namespace lumen::plugin
