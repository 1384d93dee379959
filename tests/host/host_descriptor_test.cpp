#include "host/host_descriptor.h"

#include <gtest/gtest.h>

#include "host/host_handles.h"

using namespace lumen::host;
using namespace lumen::hostapi;

TEST(HostDescriptor, EncodesAndDecodesItemsInOrder) {
    Descriptor items = {{fourCharCode("fxNM"), typeChar, 0, "Wave"},
                        {fourCharCode("fxGD"), typeInteger, -7, {}},
                        {fourCharCode("fxC1"), typeChar, 0, ""}};
    auto decoded = decodeDescriptor(encodeDescriptor(items));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 3u);
    EXPECT_EQ((*decoded)[0].text, "Wave");
    EXPECT_EQ((*decoded)[1].integer, -7);
    EXPECT_EQ((*decoded)[2].key, fourCharCode("fxC1"));
}

TEST(HostDescriptor, RefusesEncodingsThatLieAboutLengths) {
    const std::string bytes = encodeDescriptor({{fourCharCode("fxNM"), typeChar, 0, "Wave"}});
    for (size_t cut = 1; cut < bytes.size(); ++cut) EXPECT_FALSE(decodeDescriptor(bytes.substr(0, cut))) << cut;
    std::string longInteger = encodeDescriptor({{fourCharCode("fxGD"), typeInteger, 1, {}}});
    longInteger[8] = 5;
    EXPECT_FALSE(decodeDescriptor(longInteger + "x"));
}

TEST(HostDescriptor, ArgumentsBecomeTextExceptTheGradient) {
    auto text = descriptorItemFromArgument("fxS0=1:128:Amount: big");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, typeChar);
    EXPECT_EQ(text->text, "1:128:Amount: big");
    auto gradient = descriptorItemFromArgument("fxGD=42");
    ASSERT_TRUE(gradient);
    EXPECT_EQ(gradient->type, typeInteger);
    EXPECT_EQ(gradient->integer, 42);
    EXPECT_FALSE(descriptorItemFromArgument("fxGD=4x"));
    EXPECT_FALSE(descriptorItemFromArgument("fx=1"));
}

TEST(HostDescriptor, ProceduresReadWhatWasGivenAndWriteANewHandle) {
    ReadDescriptorProcs* read = hostReadDescriptorProcs();
    WriteDescriptorProcs* write = hostWriteDescriptorProcs();
    const int handlesBefore = liveHostHandles();
    Handle given = hostHandleFromBytes(encodeDescriptor({{fourCharCode("fxNM"), typeChar, 0, "Twirl"}}));
    const DescriptorKeyID keys[] = {fourCharCode("fxNM"), 0};
    PIReadDescriptor reader = read->openReadDescriptorProc(given, keys);
    DescriptorKeyID key = 0;
    DescType type = 0;
    int32_t flags = 0;
    ASSERT_TRUE(read->getKeyProc(reader, &key, &type, &flags));
    EXPECT_EQ(key, fourCharCode("fxNM"));
    Handle text = nullptr;
    ASSERT_EQ(read->getTextProc(reader, &text), noErr);
    EXPECT_EQ(hostHandleBytes(text), "Twirl");
    int32_t wrongType = 0;
    EXPECT_NE(read->getIntegerProc(reader, &wrongType), noErr);
    EXPECT_FALSE(read->getKeyProc(reader, &key, &type, &flags));
    read->closeReadDescriptorProc(reader);
    disposeHostHandle(text);
    disposeHostHandle(given);

    PIWriteDescriptor writer = write->openWriteDescriptorProc();
    write->putIntegerProc(writer, fourCharCode("fxGD"), 3);
    Handle written = nullptr;
    ASSERT_EQ(write->closeWriteDescriptorProc(writer, &written), noErr);
    auto items = decodeDescriptor(hostHandleBytes(written));
    ASSERT_TRUE(items);
    EXPECT_EQ(items->at(0).integer, 3);
    disposeHostHandle(written);
    EXPECT_EQ(liveHostHandles(), handlesBefore);
}

// The plug-in disposes the descriptor it was given and writes a new one, which the allocator
// may well put at the same address: what was written is told by where it was made.
TEST(HostDescriptor, AWrittenDescriptorIsKnownWhateverItsAddress) {
    WriteDescriptorProcs* write = hostWriteDescriptorProcs();
    Handle given = hostHandleFromBytes(encodeDescriptor({{fourCharCode("fxNM"), typeChar, 0, "Twirl"}}));
    EXPECT_FALSE(isWrittenDescriptor(given));
    const uint64_t givenSerial = hostHandleSerial(given);
    disposeHostHandle(given);

    PIWriteDescriptor writer = write->openWriteDescriptorProc();
    write->putIntegerProc(writer, fourCharCode("fxGD"), 3);
    Handle written = nullptr;
    ASSERT_EQ(write->closeWriteDescriptorProc(writer, &written), noErr);
    EXPECT_TRUE(isWrittenDescriptor(written));
    EXPECT_NE(hostHandleSerial(written), givenSerial);
    disposeHostHandle(written);

    // A handle made elsewhere after it, at whatever address, is not a written one.
    Handle other = hostHandleFromBytes(encodeDescriptor({{fourCharCode("fxGD"), typeInteger, 3, {}}}));
    EXPECT_FALSE(isWrittenDescriptor(other));
    EXPECT_FALSE(isWrittenDescriptor(nullptr));
    disposeHostHandle(other);
}
