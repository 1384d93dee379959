// The host's readings of PiPL and AETE resources, on the plug-in's own bytes and on damaged ones.
#include "host/plugin_resources.h"

#include <gtest/gtest.h>

#include "host/plugin_module.h"

using namespace lumen::host;

namespace {

std::vector<uint8_t> pluginResource(const char* type) {
    std::string error;
    auto plugin = PluginModule::load(LUMEN_PLUGIN_PATH, error);
    EXPECT_TRUE(plugin) << error;
    return plugin ? plugin->resource(type, 16000) : std::vector<uint8_t>{};
}

}  // namespace

TEST(PluginResources, PiplOfThePluginReadsAsAHostSeesIt) {
    std::string error;
    auto properties = parsePipl(pluginResource("PiPL"), error);
    ASSERT_TRUE(properties) << error;
    const auto json = piplJson(*properties);
    ASSERT_EQ(json["properties"].size(), 8u);
    EXPECT_EQ(json["properties"][0]["value"], "8BFM");
    EXPECT_EQ(json["properties"][1]["value"], "Lumenforge...");
    EXPECT_EQ(json["properties"][2]["value"], "< Korvath Software >");
    EXPECT_EQ(json["properties"][3]["value"], 0x00040000);
    EXPECT_EQ(json["properties"][5]["value"]["scope"], "Korvath Software GmbH Lumenforge");
    EXPECT_EQ(json["properties"][5]["value"]["terminologyId"], 16000);
    EXPECT_EQ(json["properties"][6]["value"], (nlohmann::ordered_json{"grayscale", "rgb", "cmyk", "multichannel"}));
    EXPECT_EQ(json["properties"][7]["value"].size(), 7u);
    EXPECT_EQ(json["properties"][7]["value"][6]["flags1"], 7);
    EXPECT_EQ(piplEntryName(*properties), "ENTRYPOINT");
}

TEST(PluginResources, AeteOfThePluginListsTheSeventeenKeys) {
    std::string error;
    auto aete = parseAete(pluginResource("AETE"), error);
    ASSERT_TRUE(aete) << error;
    const auto& event = (*aete)["suites"][0]["events"][0];
    EXPECT_EQ(event["directParameterType"], "#ImR");
    EXPECT_EQ(event["directParameterFlags"], 0x0D);
    ASSERT_EQ(event["parameters"].size(), 17u);
    EXPECT_EQ(event["parameters"][1]["name"], "Filter Catgegory");
    EXPECT_EQ(event["parameters"][16]["key"], "fxGD");
    EXPECT_EQ(event["parameters"][16]["type"], "long");
}

TEST(PluginResources, DamagedResourcesAreRefusedNotOverRead) {
    for (const char* type : {"PiPL", "AETE"}) {
        const std::vector<uint8_t> bytes = pluginResource(type);
        ASSERT_FALSE(bytes.empty());
        for (size_t cut = 0; cut < bytes.size(); ++cut) {
            const std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + cut);
            std::string error;
            const bool parsed = type[0] == 'P' ? parsePipl(shorter, error).has_value() : parseAete(shorter, error).has_value();
            EXPECT_FALSE(parsed) << type << " cut at " << cut;
        }
    }
    std::vector<uint8_t> huge = pluginResource("PiPL");
    huge[6] = 0xFF;  // property count far beyond the data
    std::string error;
    EXPECT_FALSE(parsePipl(huge, error));
}

TEST(PluginResources, TexturesAndGradientsTravelInsideThePlugin) {
    std::string error;
    auto plugin = PluginModule::load(LUMEN_PLUGIN_PATH, error);
    ASSERT_TRUE(plugin) << error;
    for (int id : {164, 163, 169, 170, 171, 172, 176, 177}) EXPECT_EQ(plugin->resource("MAPS", id).size(), 65536u) << id;
    EXPECT_EQ(plugin->resource("GRAD", 175).size(), 102400u);
    EXPECT_TRUE(plugin->resource("MAPS", 165).empty());
}
