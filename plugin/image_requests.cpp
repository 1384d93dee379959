#include "image_requests.h"

namespace lumen::plugin {

void requestInput(hostapi::FilterRecord& record) {
    record.inRect = record.filterRect;
    record.inLoPlane = 0;
    record.inHiPlane = static_cast<int16_t>(record.planes - 1);
    record.outLoPlane = record.outHiPlane = 0;
    record.outRect = {};
    record.maskRect = {};
    record.inputRate = 0x10000;
    record.maskRate = 0;
    record.inputPadding = 0;
}

void requestOutput(hostapi::FilterRecord& record) {
    record.outRect = record.filterRect;
    record.outLoPlane = 0;
    record.outHiPlane = static_cast<int16_t>(record.planes - 1);
    record.inLoPlane = record.inHiPlane = 0;
    record.inRect = {};
    record.maskRect = {};
    record.inputRate = record.maskRate = 0;
    record.outputPadding = 0;
}

void clearRequests(hostapi::FilterRecord& record) {
    record.inRect = {};
    record.outRect = {};
    record.maskRect = {};
}

bool inputDelivered(const hostapi::FilterRecord& record) { return record.inRect.right != 0; }
bool outputDelivered(const hostapi::FilterRecord& record) { return record.outRect.right != 0; }

}  // namespace lumen::plugin
