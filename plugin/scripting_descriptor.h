#pragma once
// The recorded step of a host's action: read at start, so a replay applies the recorded filter
// with its settings; written after the output, so the host can record what was done.
#include <string>
#include <string_view>

#include "plugin/host_api.h"

namespace lumen::plugin {

struct ParameterBlock;

// The host offers the descriptor procedures in a form the plug-in can use.
bool descriptorSuiteAvailable(const hostapi::FilterRecord& record);

// Reads the recorded fields into the block and sets showDialog from the play mode; without the
// suite nothing changes.
void readScriptingDescriptor(hostapi::FilterRecord& record, ParameterBlock& block);
void writeScriptingDescriptor(hostapi::FilterRecord& record, const ParameterBlock& block);

// A slider as a recorded text: "inUse:value:label".
std::string sliderText(const ParameterBlock& block, int slider);
void applySliderText(std::string_view text, ParameterBlock& block, int slider);

}  // namespace lumen::plugin
