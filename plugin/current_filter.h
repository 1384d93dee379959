#pragma once
// The filter the runner renders and an apply records: what the navigator holds as current, or
// what a replay restores from the parameter block. The working filter converts to and from the
// same fields (filters/filter_definition.h).
#include "filters/filter_definition.h"
#include "plugin/parameter_block.h"

namespace lumen::plugin {

using CurrentFilter = filters::BlockFilterFields;

CurrentFilter currentFilterFromBlock(const ParameterBlock& block);
// Texts longer than their fields are cut; the block's other fields are left as they are.
void storeCurrentFilter(const CurrentFilter& filter, ParameterBlock& block);

}  // namespace lumen::plugin
