#include "jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace lumen::imaging {

namespace {

// libjpeg reports errors by calling error_exit, which must not return; we jump back to the
// setjmp of the C-style function that made the library call. Those functions own nothing with a
// destructor, so the jump skips no C++ cleanup.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings (premature end of data, corrupt entropy data ...) fail a decode: corrupt thumbnails
// must not pass as pictures. Trace messages are ignored, and nothing is printed.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void silent(j_common_ptr) {}

// A progressive stream can demand a full pass over the image per scan; bound the scans so a
// tiny file cannot keep the decoder busy for minutes.
constexpr int kMaxScans = 256;

struct DecodeProgress {
    jpeg_progress_mgr base;
    ErrorManager* errors;
};

void onProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans)
        std::longjmp(reinterpret_cast<DecodeProgress*>(info->progress)->errors->jump, 1);
}

void setUpErrors(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.base.output_message = silent;
}

struct EncodeState {
    jpeg_compress_struct info;
    ErrorManager errors;
    unsigned char* output = nullptr;  // malloc'd by libjpeg's memory destination
    unsigned long outputSize = 0;
};

bool compress(EncodeState* state, const Bitmap* bitmap, uint8_t* rgbRow) {
    if (setjmp(state->errors.jump)) return false;
    jpeg_create_compress(&state->info);
    jpeg_mem_dest(&state->info, &state->output, &state->outputSize);
    state->info.image_width = JDIMENSION(bitmap->width);
    state->info.image_height = JDIMENSION(bitmap->height);
    state->info.input_components = 3;
    state->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&state->info);
    jpeg_start_compress(&state->info, TRUE);
    for (int y = 0; y < bitmap->height; ++y) {
        const uint8_t* in = bitmap->row(y);
        for (int x = 0; x < bitmap->width; ++x) {
            rgbRow[x * 3] = in[x * 3 + 2];
            rgbRow[x * 3 + 1] = in[x * 3 + 1];
            rgbRow[x * 3 + 2] = in[x * 3];
        }
        JSAMPROW row = rgbRow;
        jpeg_write_scanlines(&state->info, &row, 1);
    }
    jpeg_finish_compress(&state->info);
    return true;
}

struct DecodeState {
    jpeg_decompress_struct info;
    ErrorManager errors;
    DecodeProgress progress;
};

bool readHeader(DecodeState* state, const uint8_t* bytes, size_t size, const JpegLimits* limits) {
    if (setjmp(state->errors.jump)) return false;
    jpeg_create_decompress(&state->info);
    state->progress.base.progress_monitor = onProgress;
    state->progress.errors = &state->errors;
    state->info.progress = &state->progress.base;
    jpeg_mem_src(&state->info, bytes, static_cast<unsigned long>(size));
    if (jpeg_read_header(&state->info, TRUE) != JPEG_HEADER_OK) return false;
    const uint64_t width = state->info.image_width, height = state->info.image_height;
    if (width == 0 || height == 0 || width > uint64_t(std::clamp(limits->maxWidth, 0, kMaxJpegSide)) ||
        height > uint64_t(std::clamp(limits->maxHeight, 0, kMaxJpegSide)) ||
        limits->maxPixels < 0 || width * height > uint64_t(limits->maxPixels))
        return false;
    state->info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&state->info);
    return state->info.output_components == 3 && state->info.output_width == state->info.image_width &&
           state->info.output_height == state->info.image_height;
}

// Rows arrive as RGB and are turned around in place into BGR.
bool readPixels(DecodeState* state, uint8_t* bits, size_t stride) {
    if (setjmp(state->errors.jump)) return false;
    const JDIMENSION width = state->info.output_width;
    while (state->info.output_scanline < state->info.output_height) {
        JSAMPROW row = bits + size_t(state->info.output_scanline) * stride;
        if (jpeg_read_scanlines(&state->info, &row, 1) != 1) return false;
        for (JDIMENSION x = 0; x < width; ++x) {
            const uint8_t red = row[x * 3];
            row[x * 3] = row[x * 3 + 2];
            row[x * 3 + 2] = red;
        }
    }
    jpeg_finish_decompress(&state->info);
    return true;
}

}  // namespace

std::optional<std::vector<uint8_t>> encodeJpeg(const Bitmap& bitmap) {
    if (!bitmap.valid() || bitmap.width > JPEG_MAX_DIMENSION || bitmap.height > JPEG_MAX_DIMENSION)
        return std::nullopt;
    std::vector<uint8_t> rgbRow(size_t(bitmap.width) * 3);
    EncodeState state{};
    state.info.err = &state.errors.base;
    setUpErrors(state.errors);
    const bool done = compress(&state, &bitmap, rgbRow.data());
    jpeg_destroy_compress(&state.info);  // safe after a failed create: it checks for memory
    std::optional<std::vector<uint8_t>> result;
    if (done && state.output) result.emplace(state.output, state.output + state.outputSize);
    std::free(state.output);
    return result;
}

std::optional<Bitmap> decodeJpeg(std::span<const uint8_t> bytes, const JpegLimits& limits) {
    if (bytes.empty()) return std::nullopt;
    DecodeState state{};
    state.info.err = &state.errors.base;
    setUpErrors(state.errors);
    std::optional<Bitmap> bitmap;
    if (readHeader(&state, bytes.data(), bytes.size(), &limits)) {
        bitmap = Bitmap::create(int(state.info.output_width), int(state.info.output_height));
        if (bitmap && !readPixels(&state, bitmap->bits.data(), bitmap->stride())) bitmap.reset();
    }
    jpeg_destroy_decompress(&state.info);
    return bitmap;
}

}  // namespace lumen::imaging
