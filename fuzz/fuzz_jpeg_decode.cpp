#include <cstddef>
#include <cstdint>

#include "imaging/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<lumen::imaging::Bitmap> bitmap = lumen::imaging::decodeJpeg({data, size});
    if (bitmap && !bitmap->valid()) __builtin_trap();
    return 0;
}
