#pragma once
// The per-run object: lives from the first entry call of a filtering run to its end.
#include "plugin/host_api.h"
#include "plugin/image_buffer.h"

namespace lumen::plugin {

class PluginInstance {
public:
    virtual ~PluginInstance() = default;

    // Refreshed on every entry call, before the selector is looked at.
    hostapi::FilterRecord* record = nullptr;
    ImageBuffer source;   // the host's input for the whole filter rectangle
    ImageBuffer working;  // the filtered result written back to the host
};

}  // namespace lumen::plugin
