#include "byte_reader.h"

namespace lumen::imaging {

bool ByteReader::seek(size_t position) {
    if (position > bytes_.size()) return false;
    position_ = position;
    return true;
}

bool ByteReader::skip(size_t count) {
    if (count > remaining()) return false;
    position_ += count;
    return true;
}

bool ByteReader::readU8(uint8_t& value) {
    if (remaining() < 1) return false;
    value = bytes_[position_++];
    return true;
}

bool ByteReader::readU16(uint16_t& value) {
    if (remaining() < 2) return false;
    value = static_cast<uint16_t>(bytes_[position_] | bytes_[position_ + 1] << 8);
    position_ += 2;
    return true;
}

bool ByteReader::readU32(uint32_t& value) {
    if (remaining() < 4) return false;
    value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes_[position_ + i];
    position_ += 4;
    return true;
}

bool ByteReader::readI32(int32_t& value) {
    uint32_t raw;
    if (!readU32(raw)) return false;
    value = static_cast<int32_t>(raw);
    return true;
}

bool ByteReader::readU64(uint64_t& value) {
    uint32_t low = 0, high = 0;
    if (remaining() < 8) return false;
    readU32(low);
    readU32(high);
    value = static_cast<uint64_t>(high) << 32 | low;
    return true;
}

bool ByteReader::readBytes(size_t count, std::span<const uint8_t>& view) {
    if (count > remaining()) return false;
    view = bytes_.subspan(position_, count);
    position_ += count;
    return true;
}

bool ByteReader::readText(size_t count, std::string& text) {
    std::span<const uint8_t> view;
    if (!readBytes(count, view)) return false;
    text.assign(view.begin(), view.end());
    return true;
}

void ByteWriter::writeU16(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
}

void ByteWriter::writeU32(uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void ByteWriter::writeBytes(std::span<const uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void ByteWriter::writeText(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
}

}  // namespace lumen::imaging
