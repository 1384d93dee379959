#include "filters/ffx_format.h"

#include <gtest/gtest.h>

#include "imaging/jpeg_codec.h"
#include "test_support.h"

namespace lumen::filters {
namespace {

using imaging::ByteWriter;

// An FFX1.0 file: no gradient field for the filter or its presets.
std::vector<uint8_t> version10Bytes(const FilterDefinition& filter) {
    ByteWriter writer;
    writeFfxString(writer, "FFX1.0");
    for (const std::string* text : {&filter.title, &filter.category, &filter.author, &filter.copyright})
        writeFfxString(writer, *text);
    for (const std::string& source : filter.code) writeFfxString(writer, source);
    for (int i = 0; i < kControlCount; ++i) {
        writeFfxString(writer, filter.controlLabel[i]);
        writer.writeU8(filter.controlEnabled[i]);
        writer.writeI32(filter.controlDefault[i]);
    }
    writer.writeI32(static_cast<int32_t>(filter.presets.size()));
    for (const Preset& preset : filter.presets) {
        writeFfxString(writer, preset.name);
        for (int32_t value : preset.controlValue) writer.writeI32(value);
        std::vector<uint8_t> jpeg = *imaging::encodeJpeg(preset.thumbnail);
        writer.writeI32(preset.thumbnail.width);
        writer.writeI32(preset.thumbnail.height);
        writer.writeI32(static_cast<int32_t>(jpeg.size()));
        writer.writeBytes(jpeg);
    }
    return writer.take();
}

void expectSameFilter(const FilterDefinition& a, const FilterDefinition& b) {
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.category, b.category);
    EXPECT_EQ(a.author, b.author);
    EXPECT_EQ(a.copyright, b.copyright);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.controlLabel, b.controlLabel);
    EXPECT_EQ(a.controlEnabled, b.controlEnabled);
    EXPECT_EQ(a.controlDefault, b.controlDefault);
    EXPECT_EQ(a.gradientDefault, b.gradientDefault);
    ASSERT_EQ(a.presets.size(), b.presets.size());
    for (size_t i = 0; i < a.presets.size(); ++i) {
        EXPECT_EQ(a.presets[i].name, b.presets[i].name);
        EXPECT_EQ(a.presets[i].controlValue, b.presets[i].controlValue);
        EXPECT_EQ(a.presets[i].gradientIndex, b.presets[i].gradientIndex);
        EXPECT_EQ(a.presets[i].thumbnail.width, b.presets[i].thumbnail.width);
        EXPECT_EQ(a.presets[i].thumbnail.height, b.presets[i].thumbnail.height);
    }
}

TEST(FfxFormat, Version11RoundTripKeepsEverythingAndStoredValuesBecomeCurrent) {
    FilterDefinition original = testing::sampleFilter(3);
    original.controlValue.fill(99);  // current values are not what a file stores
    original.gradientIndex = 3;
    std::vector<uint8_t> bytes = *serializeFfx(original, true);
    const uint8_t magic[] = {6, 0, 0, 0, 'F', 'F', 'X', '1', '.', '1'};
    ASSERT_GE(bytes.size(), sizeof magic);
    EXPECT_TRUE(std::equal(std::begin(magic), std::end(magic), bytes.begin()));

    FilterDefinition read;
    read.filePath = "kept";
    ASSERT_TRUE(parseFfx(bytes, read));
    expectSameFilter(original, read);
    EXPECT_EQ(read.controlValue, original.controlDefault);
    EXPECT_EQ(read.gradientIndex, 42);
    EXPECT_EQ(read.filePath, "kept");
    EXPECT_TRUE(read.presets[0].thumbnail.valid());
}

TEST(FfxFormat, Version10ReadsWithGradientZeroAndIsWrittenBackAsVersion11) {
    FilterDefinition original = testing::sampleFilter(2);
    FilterDefinition read;
    ASSERT_TRUE(parseFfx(version10Bytes(original), read));
    EXPECT_EQ(read.gradientDefault, 0);
    EXPECT_EQ(read.gradientIndex, 0);
    for (const Preset& preset : read.presets) EXPECT_EQ(preset.gradientIndex, 0);
    EXPECT_EQ(read.presets[1].controlValue, original.presets[1].controlValue);

    std::vector<uint8_t> again = *serializeFfx(read, true);
    EXPECT_EQ(std::string(again.begin() + 4, again.begin() + 10), "FFX1.1");
    FilterDefinition reread;
    ASSERT_TRUE(parseFfx(again, reread));
    EXPECT_EQ(reread.gradientDefault, 0);
    EXPECT_EQ(reread.presets[1].gradientIndex, 0);
}

TEST(FfxFormat, WithoutPresetsWritesCountZeroAndEmptyTextsAsZeroCounts) {
    FilterDefinition filter = testing::sampleFilter(2);
    std::vector<uint8_t> bytes = *serializeFfx(filter, false);
    EXPECT_EQ(filter.presets.size(), 2u);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_TRUE(std::all_of(bytes.end() - 4, bytes.end(), [](uint8_t b) { return b == 0; }));

    FilterDefinition empty;
    std::vector<uint8_t> emptyBytes = *serializeFfx(empty, true);
    // magic + 4 texts + 5 sources + 8 × (label, enabled, value) + gradient + count
    EXPECT_EQ(emptyBytes.size(), 10u + 9 * 4 + 8 * 9 + 4 + 4);
    FilterDefinition read = testing::sampleFilter(1);
    ASSERT_TRUE(parseFfx(emptyBytes, read));
    EXPECT_TRUE(read.title.empty());
    EXPECT_TRUE(read.presets.empty());
}

TEST(FfxFormat, MagicMustBeExactAndLooksLikeOnlyChecksThePrefix) {
    std::vector<uint8_t> bytes = *serializeFfx(testing::sampleFilter(0), true);
    for (const char* magic : {"FFX1.2", "ffx1.1", "FFX1.1 "}) {
        std::vector<uint8_t> changed;
        ByteWriter writer;
        writeFfxString(writer, magic);
        changed = writer.take();
        changed.insert(changed.end(), bytes.begin() + 10, bytes.end());
        FilterDefinition read = testing::sampleFilter(1);
        EXPECT_FALSE(parseFfx(changed, read)) << magic;
        EXPECT_EQ(read.presets.size(), 1u) << "a failed read leaves the record alone";
        EXPECT_EQ(looksLikeFfx(changed), std::string(magic).starts_with("FFX")) << magic;
    }
    EXPECT_FALSE(looksLikeFfx(std::vector<uint8_t>{2, 0, 0, 0, 'F', 'F'}));
    EXPECT_FALSE(looksLikeFfx(std::vector<uint8_t>{}));
}

TEST(FfxFormat, EveryTruncationIsRefused) {
    for (const std::vector<uint8_t>& whole :
         {*serializeFfx(testing::sampleFilter(2), true), version10Bytes(testing::sampleFilter(1))}) {
        for (size_t length = 0; length < whole.size(); ++length) {
            FilterDefinition read;
            EXPECT_FALSE(parseFfx(std::span(whole).first(length), read)) << length;
        }
    }
}

TEST(FfxFormat, CountsThatLieAreRefused) {
    std::vector<uint8_t> bytes = *serializeFfx(testing::sampleFilter(0), true);
    auto withPresetCount = [&](int32_t count) {
        std::vector<uint8_t> changed = bytes;
        for (int i = 0; i < 4; ++i) changed[changed.size() - 4 + i] = static_cast<uint8_t>(count >> (8 * i));
        return changed;
    };
    FilterDefinition read;
    EXPECT_FALSE(parseFfx(withPresetCount(1), read));
    EXPECT_FALSE(parseFfx(withPresetCount(-1), read));
    EXPECT_FALSE(parseFfx(withPresetCount(0x7FFFFFFF), read));

    // A title count past the reader's limit, and a negative one.
    for (uint32_t count : {4097u, 0xFFFFFFFFu}) {
        std::vector<uint8_t> changed = bytes;
        for (int i = 0; i < 4; ++i) changed[10 + i] = static_cast<uint8_t>(count >> (8 * i));
        EXPECT_FALSE(parseFfx(changed, read)) << count;
    }
}

TEST(FfxFormat, TextsUpToTheLimitRoundTripAndLongerOnesAreNotWritten) {
    FilterDefinition filter = testing::sampleFilter(0);
    filter.copyright = std::string(kMaxFfxStringLength, 'c');
    FilterDefinition read;
    ASSERT_TRUE(parseFfx(*serializeFfx(filter, true), read));
    EXPECT_EQ(read.copyright.size(), kMaxFfxStringLength);
    filter.copyright.push_back('c');
    EXPECT_FALSE(serializeFfx(filter, true));
}

TEST(FfxFormat, BadThumbnailFailsTheWholeRead) {
    FilterDefinition filter = testing::sampleFilter(1);
    std::vector<uint8_t> bytes = *serializeFfx(filter, true);
    std::vector<uint8_t> notJpeg = bytes;
    // The JPEG starts right after the length field; overwrite its SOI marker.
    std::vector<uint8_t> jpeg = *imaging::encodeJpeg(filter.presets[0].thumbnail);
    size_t start = bytes.size() - jpeg.size();
    notJpeg[start] = 0;
    FilterDefinition read;
    EXPECT_FALSE(parseFfx(notJpeg, read));
    EXPECT_TRUE(read.presets.empty());
}

// A 33 KB stream may claim 4096 x 4096 pixels, and every preset is kept decoded: a thumbnail
// larger than a preview could give, or too many pixels in one file, fail the read.
TEST(FfxFormat, ThumbnailsLargerThanAPresetCanHaveFailTheRead) {
    auto withThumbnails = [](int count, int width, int height) {
        FilterDefinition filter = testing::sampleFilter(count);
        for (Preset& preset : filter.presets) preset.thumbnail = testing::gradientBitmap(width, height);
        return *serializeFfx(filter, true);
    };
    FilterDefinition read;
    EXPECT_TRUE(parseFfx(withThumbnails(2, imaging::kMaxThumbnailWidth, imaging::kMaxThumbnailHeight), read));
    EXPECT_FALSE(parseFfx(withThumbnails(1, 100, imaging::kMaxThumbnailHeight + 1), read));
    EXPECT_FALSE(parseFfx(withThumbnails(1, imaging::kMaxThumbnailWidth + 1, 10), read));

    const int64_t largest = int64_t{imaging::kMaxThumbnailWidth} * imaging::kMaxThumbnailHeight;
    const int fitting = static_cast<int>(kMaxThumbnailPixelsPerFile / largest);
    EXPECT_TRUE(parseFfx(withThumbnails(fitting, imaging::kMaxThumbnailWidth, imaging::kMaxThumbnailHeight), read));
    EXPECT_EQ(read.presets.size(), size_t(fitting));
    EXPECT_FALSE(parseFfx(withThumbnails(fitting + 1, imaging::kMaxThumbnailWidth, imaging::kMaxThumbnailHeight), read));
}

TEST(FfxFormat, RewriteKeepsMagicAndEveryByteAfterTheCategory) {
    FilterDefinition filter = testing::sampleFilter(1);
    for (const std::vector<uint8_t>& original : {version10Bytes(filter), *serializeFfx(filter, true)}) {
        std::vector<uint8_t> rewritten = *rewriteFfxTitleAndCategory(original, "New title", "");
        ByteWriter head;
        writeFfxString(head, std::string(original.begin() + 4, original.begin() + 10));
        writeFfxString(head, "New title");
        writeFfxString(head, "");
        std::vector<uint8_t> expected = head.take();
        size_t oldHead = 10 + 4 + filter.title.size() + 4 + filter.category.size();
        expected.insert(expected.end(), original.begin() + oldHead, original.end());
        EXPECT_EQ(rewritten, expected);
        FilterDefinition read;
        ASSERT_TRUE(parseFfx(rewritten, read));
        EXPECT_EQ(read.title, "New title");
        EXPECT_TRUE(read.category.empty());
    }
    std::vector<uint8_t> unknown = *serializeFfx(filter, true);
    unknown[9] = '2';
    EXPECT_FALSE(rewriteFfxTitleAndCategory(unknown, "t", "c"));
    EXPECT_FALSE(rewriteFfxTitleAndCategory(std::span(unknown).first(12), "t", "c"));
}

}  // namespace
}  // namespace lumen::filters
