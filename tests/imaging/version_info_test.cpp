#include "imaging/version_info.h"

#include <gtest/gtest.h>

#include "imaging/pe_resources.h"
#include "pe_fixtures.h"

using namespace lumen::imaging;

TEST(VersionInfo, ReadsFileVersionOfTheFirstTranslation) {
    LUMEN_REQUIRE_PE_FIXTURES();
    for (const std::string arch : kPeArches) {
        EXPECT_EQ(readFileVersionText(peFixture(arch, "preminfo-4.2.1")), "4.2.1") << arch;
        EXPECT_EQ(readFileVersionText(peFixture(arch, "preminfo-5.1")), "5.1");
        EXPECT_EQ(readFileVersionText(peFixture(arch, "preminfo-6.0")), "6.0");
        EXPECT_EQ(readFileVersionText(peFixture(arch, "two-translations")), "1.0 Deutsch \xF6");
        EXPECT_EQ(readFileVersionText(peFixture(arch, "no-file-version")), "");
        EXPECT_EQ(readFileVersionText(peFixture(arch, "no-version")), std::nullopt);
        EXPECT_EQ(readFileVersionText(peFixture(arch, "missing")), std::nullopt);
    }
    EXPECT_EQ(readFileVersionText(std::string(LUMEN_TEST_DATA_DIR) + "/preminfo-5.1.rc"), std::nullopt);
}

TEST(VersionInfo, DamagedResourcesGiveNoText) {
    LUMEN_REQUIRE_PE_FIXTURES();
    const auto resource = readFileResource(peFixture("i686", "two-translations"), ResourceKey::fromId(16),
                                           ResourceKey::fromId(1));
    ASSERT_TRUE(resource);
    EXPECT_EQ(fileVersionText(*resource), "1.0 Deutsch \xF6");
    for (size_t cut = 0; cut < resource->size(); ++cut) {
        const std::vector<uint8_t> part(resource->begin(), resource->begin() + cut);
        EXPECT_EQ(fileVersionText(part), std::nullopt) << cut;
    }
    // A child claiming a length too short to hold itself ends the walk.
    std::vector<uint8_t> bad = *resource;
    const size_t firstChild = 0x5C;  // after the root's key and fixed file info
    bad[firstChild] = 2;
    bad[firstChild + 1] = 0;
    EXPECT_NE(fileVersionText(bad), "1.0 Deutsch \xF6");
}
