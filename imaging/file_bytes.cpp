#include "file_bytes.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace lumen::imaging {

std::optional<std::vector<uint8_t>> readFileBytes(const std::string& path, size_t maxSize) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) return std::nullopt;
    // Read in chunks rather than trusting a size asked beforehand: the file may change, or be
    // no regular file at all.
    std::vector<uint8_t> bytes;
    constexpr size_t kChunk = 64 * 1024;
    for (;;) {
        const size_t start = bytes.size();
        const size_t want = maxSize - start < kChunk ? maxSize - start + 1 : kChunk;
        bytes.resize(start + want);
        const size_t got = std::fread(bytes.data() + start, 1, want, file.get());
        bytes.resize(start + got);
        if (bytes.size() > maxSize) return std::nullopt;
        if (got < want) break;
    }
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

}  // namespace lumen::imaging
