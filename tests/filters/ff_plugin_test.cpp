#include "filters/ff_plugin.h"

#include <gtest/gtest.h>

#include "filters/ffx_file.h"
#include "import_fixtures.h"
#include "test_support.h"

using namespace lumen::filters;
using namespace lumen::filters::testing;
using lumen::imaging::ResourceKey;

namespace {

std::optional<ParmRecord> read(const std::vector<uint8_t>& image) {
    ParmRecord record;
    if (!readFfPlugin(image, record)) return std::nullopt;
    return record;
}

}  // namespace

TEST(FfPlugin, ReadsTheParameterResourceOfBothPeFlavours) {
    const ParmRecord sample = sampleParmRecord();
    for (bool pe32Plus : {false, true}) {
        const auto record = read(buildFfPlugin(encodeParmRecord(sample), pe32Plus));
        ASSERT_TRUE(record) << pe32Plus;
        EXPECT_EQ(record->category, "Cat");
        EXPECT_EQ(record->title, "Title");
        EXPECT_EQ(record->values, sample.values);
        EXPECT_EQ(record->controlInUse, sample.controlInUse);
        EXPECT_EQ(record->controlLabel, sample.controlLabel);
        EXPECT_EQ(record->formula, sample.formula);
    }
}

TEST(FfPlugin, RefusesProtectedWrongSizeWrongIdAndNonPlugins) {
    ParmRecord protectedRecord = sampleParmRecord();
    protectedRecord.protectedFlag = 1;
    EXPECT_FALSE(read(buildFfPlugin(encodeParmRecord(protectedRecord))));
    ParmRecord wrongSize = sampleParmRecord();
    wrongSize.recordSize = 8295;
    EXPECT_FALSE(read(buildFfPlugin(encodeParmRecord(wrongSize))));
    const std::vector<uint8_t> parm = encodeParmRecord(sampleParmRecord());
    EXPECT_FALSE(read(buildResourceImage({{ResourceKey::fromName("PARM"), ResourceKey::fromId(17), 0x409, parm}})));
    EXPECT_FALSE(read(buildResourceImage({{ResourceKey::fromName("PARN"), ResourceKey::fromId(16), 0x409, parm}})));
    EXPECT_FALSE(read(parm));
    EXPECT_FALSE(read({}));
    ParmRecord record;
    EXPECT_FALSE(readFfPluginFile(nativeFileSystem(), "/nonexistent/x.8bf", record));
}

TEST(FfPlugin, TextsStopAtTheirZeroAndNeverLeaveTheirField) {
    std::vector<uint8_t> parm = encodeParmRecord(sampleParmRecord());
    // A category filling its whole field, no terminator, followed by the protected field (0).
    std::fill_n(parm.begin() + parm::kCategoryAt, parm::kCategoryWidth, uint8_t('C'));
    // A formula with bytes after its terminator.
    const size_t green = parm::kFormulasAt + parm::kFormulaWidth;
    parm[green + 1] = 0;
    parm[green + 2] = 'X';
    // The last label filled to the end of its field, running into the formulas.
    std::fill_n(parm.begin() + parm::kLabelsAt + 7 * parm::kLabelWidth, parm::kLabelWidth, uint8_t('L'));
    const auto record = read(buildFfPlugin(parm));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->category, std::string(252, 'C'));
    EXPECT_EQ(record->formula[1], "g");
    EXPECT_EQ(record->controlLabel[7], std::string(256, 'L'));
}

TEST(FfPlugin, ShortResourcesReadAsZeroPaddedAndTruncatedFilesAreSafe) {
    const std::vector<uint8_t> parm = encodeParmRecord(sampleParmRecord());
    // Only the header part: size right, everything after zero.
    const auto shortRecord = read(buildFfPlugin({parm.begin(), parm.begin() + 400}));
    ASSERT_TRUE(shortRecord);
    EXPECT_EQ(shortRecord->title, "Title");
    EXPECT_EQ(shortRecord->formula[0], "");
    const std::vector<uint8_t> image = buildFfPlugin(parm);
    for (size_t cut = 0; cut < image.size(); cut += 7) {
        const std::vector<uint8_t> part(image.begin(), image.begin() + ptrdiff_t(cut));
        const auto record = read(part);
        if (record) {
            EXPECT_EQ(record->title, "Title");
        }
    }
}

TEST(FfPlugin, ConvertsIntoTheWorkingFilter) {
    const ParmRecord sample = sampleParmRecord();
    FilterDefinition working;
    working.author = "kept";
    working.gradientIndex = 7;
    convertParmRecord(sample, working);
    EXPECT_EQ(working.category, "Cat");
    EXPECT_EQ(working.code, (std::array<std::string, 5>{"0", "r/2", "g*ctl(1)/255", "b", "a"}));
    EXPECT_EQ(working.controlValue, sample.values);
    EXPECT_EQ(working.controlDefault, sample.values);
    // Control 2 is not in use: its label and value stay, it is not enabled.
    EXPECT_EQ(working.controlEnabled, (std::array<uint8_t, 8>{1, 1, 0, 1, 1, 0, 1, 1}));
    EXPECT_EQ(working.controlLabel[2], "L2");
    EXPECT_EQ(working.controlValue[2], 15);
    EXPECT_EQ(working.gradientIndex, 0);
    EXPECT_EQ(working.author, "kept");
}

TEST(FfPlugin, ImportSavesUnderCategoryAndTitleAndOverwritesOnRepeat) {
    ScratchDirectory scratch;
    const std::string plugin = scratch.file("wave_8bf");
    writeBytes(plugin, buildFfPlugin(encodeParmRecord(sampleParmRecord())));
    FilterDefinition working;
    ASSERT_TRUE(importFfPlugin(nativeFileSystem(), plugin, scratch.path(), working));
    const std::string saved = scratch.file("Cat - Title.ffx");
    FilterDefinition loaded;
    ASSERT_TRUE(loadFfxFile(nativeFileSystem(), saved, loaded));
    EXPECT_EQ(loaded.code[1], "r/2");
    ASSERT_TRUE(importFfPlugin(nativeFileSystem(), plugin, scratch.path(), working));
    EXPECT_TRUE(loadFfxFile(nativeFileSystem(), saved, loaded));
    EXPECT_FALSE(importFfPlugin(nativeFileSystem(), scratch.file("missing.8bf"), scratch.path(), working));
}
