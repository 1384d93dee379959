#pragma once
// The host's protocol: one call per step of a filtering run, routed by selector.
#include <cstdint>

namespace lumen::plugin {

class PluginInstance;

// Runs one entry call; `record` is the AboutRecord for selector 0 and the FilterRecord for all
// others. Returns the result code for the host. Never throws.
int16_t dispatchSelector(int16_t selector, void* record);

// The instance of the run in progress; null between runs.
PluginInstance* currentInstance();

}  // namespace lumen::plugin
