// The PiPL and AETE resources byte for byte, against bytes worked out by hand from the layout
// hosts read: little-endian numbers, four-character codes as little-endian 32-bit numbers.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tools/gradients.h"
#include "tools/resource_description.h"

namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<uint8_t> bytesOf(std::initializer_list<int> values) {
    return std::vector<uint8_t>(values.begin(), values.end());
}

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& more) { out.insert(out.end(), more.begin(), more.end()); }
void append(std::vector<uint8_t>& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// A property header: vendor 8BIM (bytes M I B 8), the key reversed, id 0, the padded length.
std::vector<uint8_t> propertyHeader(const char* key, int length) {
    std::vector<uint8_t> out = bytesOf({'M', 'I', 'B', '8', key[3], key[2], key[1], key[0], 0, 0, 0, 0});
    append(out, bytesOf({length & 0xFF, length >> 8, 0, 0}));
    return out;
}

std::vector<uint8_t> expectedPipl(const char* entryKey) {
    std::vector<uint8_t> out = bytesOf({1, 0, 0, 0, 0, 0, 8, 0, 0, 0});
    append(out, propertyHeader("kind", 4));
    append(out, bytesOf({'M', 'F', 'B', '8'}));
    append(out, propertyHeader("name", 16));
    append(out, bytesOf({13}));
    append(out, std::string("Lumenforge..."));
    append(out, bytesOf({0, 0}));
    append(out, propertyHeader("catg", 24));
    append(out, bytesOf({20}));
    append(out, std::string("< Korvath Software >"));
    append(out, bytesOf({0, 0, 0}));
    append(out, propertyHeader("vers", 4));
    append(out, bytesOf({0x00, 0x00, 0x04, 0x00}));
    append(out, propertyHeader(entryKey, 12));
    append(out, std::string("ENTRYPOINT"));
    append(out, bytesOf({0, 0}));
    const std::string scope = "Korvath Software GmbH Lumenforge";  // 32 characters + NUL
    append(out, propertyHeader("mtsh", 48));
    append(out, bytesOf({0, 0, 0, 0, 'F', 'L', 'x', 'f', 'F', 'L', 'x', 'f', 16000 & 0xFF, 16000 >> 8}));
    append(out, scope);
    append(out, bytesOf({0, 0}));
    append(out, propertyHeader("mode", 4));
    append(out, bytesOf({0x59, 0, 0, 0}));
    append(out, propertyHeader("fici", 28));
    for (int filterCase = 0; filterCase < 7; ++filterCase) append(out, bytesOf({4, 1, 7, 0}));
    return out;
}

std::vector<uint8_t> pascal(const std::string& text) {
    std::vector<uint8_t> out{static_cast<uint8_t>(text.size())};
    append(out, text);
    return out;
}

std::vector<uint8_t> code(const char* c) { return bytesOf({c[3], c[2], c[1], c[0]}); }

std::vector<uint8_t> expectedAete() {
    std::vector<uint8_t> out = bytesOf({1, 0, 1, 0, 0, 0, 0, 0, 1, 0});
    append(out, pascal("Korvath Software GmbH"));
    append(out, pascal("Lumenforge Photoshop Plug-In"));
    append(out, code("fxLF"));
    append(out, bytesOf({1, 0, 1, 0, 1, 0}));
    append(out, pascal("Lumenforge"));
    append(out, pascal("Lumenforge Photoshop Plug-In"));
    append(out, code("fxLF"));
    append(out, code("fxLF"));
    append(out, code("null"));
    append(out, bytesOf({0, 0, 0}));
    append(out, code("#ImR"));
    append(out, bytesOf({0, 0x0D, 0, 17, 0}));
    struct Parameter {
        const char* name;
        const char* key;
        const char* type;
    };
    const Parameter parameters[] = {
        {"Filter Name", "fxNM", "TEXT"}, {"Filter Catgegory", "fxCT", "TEXT"}, {"Filter Database", "fxDB", "TEXT"},
        {"Slider0", "fxS0", "TEXT"},     {"Slider1", "fxS1", "TEXT"},          {"Slider2", "fxS2", "TEXT"},
        {"Slider3", "fxS3", "TEXT"},     {"Slider4", "fxS4", "TEXT"},          {"Slider5", "fxS5", "TEXT"},
        {"Slider6", "fxS6", "TEXT"},     {"Slider7", "fxS7", "TEXT"},          {"Code0", "fxC0", "TEXT"},
        {"Code1", "fxC1", "TEXT"},       {"Code2", "fxC2", "TEXT"},            {"Code3", "fxC3", "TEXT"},
        {"Code4", "fxC4", "TEXT"},       {"Gradient", "fxGD", "long"}};
    for (const Parameter& parameter : parameters) {
        append(out, pascal(parameter.name));
        append(out, code(parameter.key));
        append(out, code(parameter.type));
        append(out, bytesOf({0, 0, 0}));
    }
    append(out, bytesOf({0, 0, 0, 0, 0, 0}));
    return out;
}

const std::string kResources = std::string(LUMEN_SOURCE_DIR) + "/resources/";

}  // namespace

TEST(PluginResources, PiplOf32BitWindowsMatchesTheLayoutByteForByte) {
    std::string error;
    auto pipl = lumen::tools::encodePipl(readText(kResources + "pipl.txt"), "wx86", error);
    ASSERT_TRUE(pipl) << error;
    EXPECT_EQ(*pipl, expectedPipl("wx86"));
}

TEST(PluginResources, BuiltPiplNamesTheEntryForThisArchitecture) {
    const std::string built = readText(std::string(LUMEN_BINARY_DIR) + "/resources/pipl.bin");
    const std::vector<uint8_t> expected = expectedPipl(sizeof(void*) == 4 ? "wx86" : "8664");
    EXPECT_EQ(std::vector<uint8_t>(built.begin(), built.end()), expected);
}

TEST(PluginResources, AeteMatchesTheLayoutByteForByte) {
    const std::string built = readText(std::string(LUMEN_BINARY_DIR) + "/resources/aete.bin");
    EXPECT_EQ(std::vector<uint8_t>(built.begin(), built.end()), expectedAete());
}

TEST(ResourceDescription, RefusesMalformedItems) {
    std::string error;
    EXPECT_FALSE(lumen::tools::encodeItems("int8 300", error));
    EXPECT_NE(error.find("line 1"), std::string::npos);
    EXPECT_FALSE(lumen::tools::encodeItems("code ABC", error));
    EXPECT_FALSE(lumen::tools::encodeItems("pstring unquoted", error));
    EXPECT_FALSE(lumen::tools::encodeItems("cstring \"open", error));
    EXPECT_FALSE(lumen::tools::encodeItems("42", error));
    EXPECT_FALSE(lumen::tools::encodePipl("int16 1", "wx86", error));
    EXPECT_FALSE(lumen::tools::encodePipl("property toolong code 8BFM", "wx86", error));
    auto bytes = lumen::tools::encodeItems("# comment\nint16 -1 0x102\ncstring \"a\\\"b\"", error);
    ASSERT_TRUE(bytes) << error;
    EXPECT_EQ(*bytes, bytesOf({0xFF, 0xFF, 0x02, 0x01, 'a', '"', 'b', 0}));
}

namespace {
std::vector<uint8_t> builtFile(const std::string& name) {
    const std::string bytes = readText(std::string(LUMEN_BINARY_DIR) + "/resources/" + name);
    return {bytes.begin(), bytes.end()};
}
}  // namespace

TEST(PluginResources, GradientTableKeepsItsOrientationValues) {
    const std::vector<uint8_t> table = builtFile("grad.bin");
    ASSERT_EQ(table.size(), 102400u);
    auto entry = [&](int gradient, int index) { return std::vector<uint8_t>(&table[(gradient * 256 + index) * 4], &table[(gradient * 256 + index) * 4 + 3]); };
    EXPECT_EQ(entry(0, 0), bytesOf({13, 26, 73}));
    EXPECT_EQ(entry(0, 128), bytesOf({195, 252, 244}));
    EXPECT_EQ(entry(0, 255), bytesOf({14, 26, 72}));
    for (size_t i = 3; i < table.size(); i += 4) ASSERT_EQ(table[i], 255) << "entry " << i / 4;
    EXPECT_EQ(entry(1, 0), bytesOf({0, 0, 0}));
    EXPECT_EQ(entry(1, 255), bytesOf({255, 255, 255}));
}

TEST(PluginResources, TexturesKeepTheirOrientationValues) {
    auto stats = [](const std::vector<uint8_t>& map, int& low, int& high) {
        low = 255;
        high = 0;
        double sum = 0;
        for (uint8_t v : map) {
            low = std::min<int>(low, v);
            high = std::max<int>(high, v);
            sum += v;
        }
        return sum / map.size();
    };
    int low = 0, high = 0;
    const std::vector<uint8_t> clouds = builtFile("map-164.bin");
    ASSERT_EQ(clouds.size(), 65536u);
    EXPECT_NEAR(stats(clouds, low, high), 136, 6);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 255);
    EXPECT_NEAR(stats(builtFile("map-176.bin"), low, high), 12, 3);
    for (int id : {163, 169, 170, 171, 172, 177}) {
        const std::vector<uint8_t> map = builtFile("map-" + std::to_string(id) + ".bin");
        ASSERT_EQ(map.size(), 65536u) << id;
        stats(map, low, high);
        EXPECT_GT(high - low, 100) << "texture " << id << " has too little contrast to be of use";
    }
}

TEST(GradientDescription, RefusesBrokenStopLists) {
    std::string error;
    EXPECT_FALSE(lumen::tools::makeGradientTable("0 \"a\" 0:000000 255:FFFFFF\n", error)) << "one gradient is not a table";
    EXPECT_NE(error.find("100"), std::string::npos);
    EXPECT_FALSE(lumen::tools::makeGradientTable("1 \"a\" 0:000000 255:FFFFFF\n", error));
    EXPECT_FALSE(lumen::tools::makeGradientTable("0 \"a\" 0:000000 100:FFFFFF\n", error));
    EXPECT_FALSE(lumen::tools::makeGradientTable("0 \"a\" 0:000000 200:000000 100:FFFFFF 255:FFFFFF\n", error));
    EXPECT_FALSE(lumen::tools::makeGradientTable("0 \"a\" 0:00000G 255:FFFFFF\n", error));
}
