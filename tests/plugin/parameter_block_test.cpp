#include "plugin/parameter_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plugin/current_filter.h"
#include "plugin/global_memory.h"

using namespace lumen::plugin;
using lumen::hostapi::FilterRecord;

namespace {

// Handles the plug-in makes live for the whole process in a real host; tests release theirs.
struct RecordWithParameters : FilterRecord {
    RecordWithParameters() : FilterRecord{} {}
    ~RecordWithParameters() { disposeParameterHandle(parameters); }
};

// The record is packed as hosts pack it, so its pointer fields are read by value, never bound
// to references.
lumen::hostapi::Handle parametersOf(const FilterRecord& record) { return record.parameters; }

}  // namespace

TEST(ParameterBlock, FreshBlockIsZeroWithHostAnswersAndAHandleInOurForm) {
    RecordWithParameters record;
    EnsureResult first = ensureParameterBlock(record);
    ASSERT_NE(first.block, nullptr);
    EXPECT_TRUE(first.created);
    EXPECT_EQ(currentParameterBlock(), first.block);
    const auto* words = reinterpret_cast<const uintptr_t*>(record.parameters);
    EXPECT_EQ(words[0], reinterpret_cast<uintptr_t>(first.block));
    EXPECT_EQ(words[1], 0x464F544Fu);
    ParameterBlock expected{};
    expected.drawPreviewDirect = 1;  // no displayPixels in this record
    EXPECT_EQ(std::memcmp(first.block, &expected, sizeof expected), 0);
}

TEST(ParameterBlock, HandleFromAnEarlierRunIsUsedUnchangedWithoutNewDetection) {
    RecordWithParameters record;
    ParameterBlock* block = ensureParameterBlock(record).block;
    ASSERT_NE(block, nullptr);
    block->swapRedBlue = 1;
    block->drawPreviewDirect = 0;
    block->gradientIndex = 42;
    lumen::hostapi::Handle handle = record.parameters;
    EnsureResult again = ensureParameterBlock(record);
    EXPECT_FALSE(again.created);
    EXPECT_EQ(again.block, block);
    EXPECT_EQ(parametersOf(record), handle);
    EXPECT_EQ(block->swapRedBlue, 1);
    EXPECT_EQ(block->drawPreviewDirect, 0);
    EXPECT_EQ(block->gradientIndex, 42);
}

TEST(ParameterBlock, AHandleOfAnotherFormIsNotTakenForABlock) {
    // A record of two words like ours, but without the mark: its first word is not a block.
    char someoneElsesData[16] = {};
    char* master[2] = {someoneElsesData, nullptr};
    RecordWithParameters record;
    record.parameters = master;
    EnsureResult ensured = ensureParameterBlock(record);
    ASSERT_NE(ensured.block, nullptr);
    EXPECT_TRUE(ensured.created);
    EXPECT_NE(parametersOf(record), master);
    EXPECT_EQ(blockOfHandle(master), nullptr);
}

TEST(ParameterBlock, OutOfMemoryLeavesNoBlockAndNoHandle) {
    for (int successes : {0, 1}) {  // the handle record fails, then the block behind it
        RecordWithParameters record;
        failGlobalAllocationAfter(successes);
        EnsureResult ensured = ensureParameterBlock(record);
        failGlobalAllocationAfter(-1);
        EXPECT_EQ(ensured.block, nullptr);
        EXPECT_EQ(parametersOf(record), nullptr);
        EXPECT_EQ(currentParameterBlock(), nullptr);
    }
}

TEST(ParameterBlock, TextsAreCutToTheirFieldsAndNeverSpill) {
    ParameterBlock block{};
    std::memset(&block, 'x', sizeof block);
    const std::string source1023(1023, 's'), source1024(1024, 't');
    setFieldText(block.codeText[0], source1023);
    EXPECT_EQ(fieldText(block.codeText[0]), source1023);
    EXPECT_EQ(block.codeText[1][0], 'x');
    setFieldText(block.codeText[1], source1024);
    EXPECT_EQ(fieldText(block.codeText[1]).size(), 1023u);
    EXPECT_EQ(block.codeText[2][0], 'x');

    setFieldText(block.filterName, std::string(255, 'n'));
    EXPECT_EQ(fieldText(block.filterName).size(), 255u);
    setFieldText(block.databaseName, std::string(300, 'd'));
    EXPECT_EQ(fieldText(block.databaseName).size(), 255u);
    EXPECT_EQ(block.gradientIndex, 0x78787878);

    setFieldText(block.sliderLabel[7], std::string(79, 'l'));
    EXPECT_EQ(fieldText(block.sliderLabel[7]).size(), 79u);
    setFieldText(block.sliderLabel[6], std::string(80, 'm'));
    EXPECT_EQ(fieldText(block.sliderLabel[6]).size(), 79u);
    EXPECT_EQ(block.sliderLabel[7][0], 'l');

    setFieldText(block.filterCategory, "short");
    EXPECT_EQ(fieldText(block.filterCategory), "short");
    EXPECT_EQ(block.filterCategory[255], 0) << "the rest of a field is cleared";
}

TEST(ParameterBlock, FieldTextStopsAtTheFieldEndWithoutATerminator) {
    char field[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(fieldText(field), "abcd");
}

TEST(ParameterBlock, WorkingFilterComesBackFromTheBlockMarkedRestored) {
    lumen::filters::FilterDefinition working;
    working.fillAsNew("Distort", "Swirl", "/db/Distort_Swirl.ffx");
    working.author = "someone";
    working.code[1] = "rad(d+ctl(0),m,z)";
    working.controlValue[0] = 120;
    working.controlLabel[0] = std::string(200, 'L');
    working.gradientIndex = 33;
    ParameterBlock block{};
    storeCurrentFilter(lumen::filters::toBlockFields(working, "/db/"), block);

    lumen::filters::FilterDefinition restored;
    lumen::filters::fromBlockFields(restored, currentFilterFromBlock(block));
    EXPECT_TRUE(restored.restored);
    EXPECT_EQ(restored.title, "Swirl");
    EXPECT_EQ(restored.category, "Distort");
    EXPECT_EQ(restored.code, working.code);
    EXPECT_EQ(restored.controlValue, working.controlValue);
    EXPECT_EQ(restored.controlEnabled, working.controlEnabled);
    EXPECT_EQ(restored.controlLabel[0], std::string(79, 'L')) << "cut to its field";
    EXPECT_EQ(restored.gradientIndex, 33);
    EXPECT_EQ(fieldText(block.databaseName), "/db/");

    ParameterBlock empty{};
    lumen::filters::fromBlockFields(restored, currentFilterFromBlock(empty));
    EXPECT_FALSE(restored.restored) << "a block without a filter restores nothing";
}
