// The recorded step as the plug-in reads and writes it, against our host's descriptor procedures.
#include "plugin/scripting_descriptor.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/host_descriptor.h"
#include "host/host_handles.h"
#include "plugin/parameter_block.h"

using namespace lumen;
using namespace lumen::plugin;
using namespace lumen::hostapi;

namespace {

class ScriptingDescriptor : public testing::Test {
protected:
    void SetUp() override {
        std::memset(&block, 0, sizeof block);
        parameters.descriptorParametersVersion = 0;
        parameters.playInfo = plugInDialogDontDisplay;
        parameters.readDescriptorProcs = host::hostReadDescriptorProcs();
        parameters.writeDescriptorProcs = host::hostWriteDescriptorProcs();
        record.descriptorParameters = &parameters;
        record.handleProcs = const_cast<HandleProcs*>(&host::hostHandleProcs());
    }
    void TearDown() override {
        if (parameters.descriptor) host::disposeHostHandle(parameters.descriptor);
        EXPECT_EQ(host::liveHostHandles(), 0) << "every text handle is given back";
    }

    void give(const host::Descriptor& descriptor) {
        parameters.descriptor = host::hostHandleFromBytes(host::encodeDescriptor(descriptor));
    }
    host::Descriptor taken() const {
        auto decoded = host::decodeDescriptor(host::hostHandleBytes(parameters.descriptor));
        EXPECT_TRUE(decoded);
        return decoded.value_or(host::Descriptor{});
    }
    static host::DescriptorItem text(const char (&key)[5], std::string value) {
        return {fourCharCode(key), typeChar, 0, std::move(value)};
    }

    ParameterBlock block;
    PIDescriptorParameters parameters{};
    FilterRecord record{};
};

}  // namespace

TEST_F(ScriptingDescriptor, OnlyTheRecordedKeysChangeTheBlock) {
    setFieldText(block.filterCategory, "Kept");
    block.gradientIndex = 9;
    block.sliderValue[3] = 44;
    give({text("fxNM", "Only the name")});
    readScriptingDescriptor(record, block);
    EXPECT_EQ(fieldText(block.filterName), "Only the name");
    EXPECT_EQ(fieldText(block.filterCategory), "Kept");
    EXPECT_EQ(block.gradientIndex, 9);
    EXPECT_EQ(block.sliderValue[3], 44);
    EXPECT_EQ(parameters.descriptor, nullptr) << "the read descriptor is the plug-in's to dispose";
}

TEST_F(ScriptingDescriptor, SliderTextsFollowTheSeparatorRules) {
    struct Case {
        const char* text;
        int inUse;
        int value;
        const char* label;
    } cases[] = {
        {"1:128:Angle: degrees", 1, 128, "Angle: degrees"},
        {"5:-3:x", 1, -3, "x"},
        {"0:7:", 0, 7, ""},
        {"::1::200:Label", 1, 200, "Label"},
        {"1", 1, 0, ""},
        {"abc:def:ghi", 0, 0, "ghi"},
        {"1:99999999999:big", 1, 2147483647, "big"},
        {"", 0, 0, ""},
    };
    for (const Case& c : cases) {
        block.sliderLabel[2][0] = 'Z';
        applySliderText(c.text, block, 2);
        EXPECT_EQ(block.sliderInUse[2], c.inUse) << c.text;
        EXPECT_EQ(block.sliderValue[2], c.value) << c.text;
        EXPECT_EQ(fieldText(block.sliderLabel[2]), c.label) << c.text;
    }
}

TEST_F(ScriptingDescriptor, WrittenStepReadsBackIntoTheSameFields) {
    ParameterBlock original{};
    setFieldText(original.filterName, "Swirl");
    setFieldText(original.filterCategory, "Distort");
    setFieldText(original.databaseName, "/db/Korvath Filters.db/");
    for (int i = 0; i < kSliderCount; ++i) {
        original.sliderValue[i] = i * 31 - 20;
        original.sliderInUse[i] = i % 2;
        setFieldText(original.sliderLabel[i], "Label:" + std::to_string(i));
    }
    for (int i = 0; i < kSourceCount; ++i) setFieldText(original.codeText[i], "ctl(" + std::to_string(i) + ")");
    original.gradientIndex = 42;

    parameters.recordInfo = plugInDialogRequired;
    writeScriptingDescriptor(record, original);
    ASSERT_NE(parameters.descriptor, nullptr);
    EXPECT_EQ(parameters.recordInfo, plugInDialogOptional);
    const host::Descriptor written = taken();
    ASSERT_EQ(written.size(), 17u);
    EXPECT_EQ(written[3].text, "0:-20:Label:0");
    EXPECT_EQ(written[16].type, typeInteger);

    readScriptingDescriptor(record, block);
    EXPECT_EQ(std::memcmp(block.sliderValue, original.sliderValue, sizeof block.sliderValue), 0);
    EXPECT_EQ(std::memcmp(block.sliderInUse, original.sliderInUse, sizeof block.sliderInUse), 0);
    EXPECT_EQ(std::memcmp(block.sliderLabel, original.sliderLabel, sizeof block.sliderLabel), 0);
    EXPECT_EQ(std::memcmp(block.codeText, original.codeText, sizeof block.codeText), 0);
    EXPECT_EQ(fieldText(block.filterName), "Swirl");
    EXPECT_EQ(fieldText(block.filterCategory), "Distort");
    EXPECT_EQ(fieldText(block.databaseName), "/db/Korvath Filters.db/");
    EXPECT_EQ(block.gradientIndex, 42);
}

TEST_F(ScriptingDescriptor, PlayModeDecidesTheDialog) {
    const int16_t modes[] = {plugInDialogDontDisplay, plugInDialogDisplay, plugInDialogSilent};
    for (int16_t mode : modes) {
        parameters.playInfo = mode;
        block.showDialog = 7;
        give({});
        readScriptingDescriptor(record, block);
        EXPECT_EQ(block.showDialog, mode == plugInDialogDisplay ? 1 : 0) << mode;
    }
}

TEST_F(ScriptingDescriptor, AHostWithoutTheSuiteChangesAndWritesNothing) {
    block.showDialog = 1;
    setFieldText(block.filterName, "Before");
    give({text("fxNM", "After")});
    parameters.readDescriptorProcs = nullptr;
    EXPECT_FALSE(descriptorSuiteAvailable(record));
    readScriptingDescriptor(record, block);
    EXPECT_EQ(fieldText(block.filterName), "Before");
    EXPECT_EQ(block.showDialog, 1);

    const std::string before = host::hostHandleBytes(parameters.descriptor);
    writeScriptingDescriptor(record, block);
    EXPECT_EQ(host::hostHandleBytes(parameters.descriptor), before);

    record.descriptorParameters = nullptr;
    EXPECT_FALSE(descriptorSuiteAvailable(record));
}

TEST_F(ScriptingDescriptor, LongTextsAreCutToTheirFields) {
    give({text("fxC0", std::string(5000, 'r')), text("fxNM", std::string(300, 'n'))});
    readScriptingDescriptor(record, block);
    EXPECT_EQ(fieldText(block.codeText[0]).size(), 1023u);
    EXPECT_EQ(fieldText(block.filterName).size(), 255u);
}
