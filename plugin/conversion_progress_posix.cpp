#include "pixel_exchange.h"

namespace lumen::plugin {

std::unique_ptr<ConversionProgress> showConversionProgress(int32_t) { return nullptr; }

}  // namespace lumen::plugin
