#pragma once
// The whole filter rectangle is asked for in one piece, all planes at full resolution; these
// set the request fields of the host's record for each step of a run.
#include "plugin/host_api.h"

namespace lumen::plugin {

void requestInput(hostapi::FilterRecord& record);
void requestOutput(hostapi::FilterRecord& record);
// All-zero rectangles tell the host that the plug-in wants nothing more.
void clearRequests(hostapi::FilterRecord& record);

// The rectangles tell the continue calls apart: each request sets a non-zero right edge.
bool inputDelivered(const hostapi::FilterRecord& record);
bool outputDelivered(const hostapi::FilterRecord& record);

}  // namespace lumen::plugin
