#include "imaging/byte_reader.h"

#include <gtest/gtest.h>

using lumen::imaging::ByteReader;
using lumen::imaging::ByteWriter;

TEST(ByteReader, ReadsLittleEndianAndRefusesToPassTheEnd) {
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0xFF, 0xFF, 0xFF};
    ByteReader reader{bytes};
    uint32_t word = 0;
    ASSERT_TRUE(reader.readU32(word));
    EXPECT_EQ(word, 0x04030201u);
    int32_t tooLong = 7;
    EXPECT_FALSE(reader.readI32(tooLong));
    EXPECT_EQ(tooLong, 7);
    EXPECT_EQ(reader.position(), 4u);
    uint16_t half = 0;
    ASSERT_TRUE(reader.readU16(half));
    EXPECT_EQ(half, 0xFFFF);
    std::span<const uint8_t> view;
    EXPECT_FALSE(reader.readBytes(2, view));
    EXPECT_TRUE(reader.readBytes(1, view));
    EXPECT_EQ(reader.remaining(), 0u);
    EXPECT_FALSE(reader.skip(1));
    EXPECT_FALSE(reader.seek(8));
    EXPECT_TRUE(reader.seek(7));
}

TEST(ByteReader, HugeCountsFailWithoutOverflow) {
    const uint8_t bytes[] = {1, 2, 3};
    ByteReader reader{bytes};
    ASSERT_TRUE(reader.skip(1));
    std::string text;
    EXPECT_FALSE(reader.readText(SIZE_MAX, text));
    EXPECT_FALSE(reader.skip(SIZE_MAX));
    EXPECT_EQ(reader.position(), 1u);
}

TEST(ByteWriter, WritesWhatTheReaderReads) {
    ByteWriter writer;
    writer.writeI32(-2);
    writer.writeU16(0xBEEF);
    writer.writeText("FFX");
    ByteReader reader{writer.bytes()};
    int32_t value;
    uint16_t half;
    std::string text;
    ASSERT_TRUE(reader.readI32(value) && reader.readU16(half) && reader.readText(3, text));
    EXPECT_EQ(value, -2);
    EXPECT_EQ(half, 0xBEEF);
    EXPECT_EQ(text, "FFX");
}
