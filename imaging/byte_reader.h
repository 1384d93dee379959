#pragma once
// Bounds-checked little-endian reading and writing of byte buffers. Every reader of outside
// input goes through ByteReader: a read that would pass the end fails and moves nothing.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumen::imaging {

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t size() const { return bytes_.size(); }
    size_t position() const { return position_; }
    size_t remaining() const { return bytes_.size() - position_; }

    bool seek(size_t position);
    bool skip(size_t count);
    bool readU8(uint8_t& value);
    bool readU16(uint16_t& value);
    bool readU32(uint32_t& value);
    bool readI32(int32_t& value);
    bool readU64(uint64_t& value);
    // A view of the next `count` bytes, valid as long as the underlying buffer.
    bool readBytes(size_t count, std::span<const uint8_t>& view);
    bool readText(size_t count, std::string& text);

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

class ByteWriter {
public:
    void writeU8(uint8_t value) { bytes_.push_back(value); }
    void writeU16(uint16_t value);
    void writeU32(uint32_t value);
    void writeI32(int32_t value) { writeU32(static_cast<uint32_t>(value)); }
    void writeBytes(std::span<const uint8_t> bytes);
    void writeText(const std::string& text);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace lumen::imaging
