#include "imaging/pe_resources.h"

#include <gtest/gtest.h>

#include "imaging/byte_reader.h"
#include "imaging/file_bytes.h"
#include "pe_fixtures.h"

using namespace lumen::imaging;

namespace {

const ResourceKey kParm = ResourceKey::fromName("PARM");

std::vector<uint8_t> load(const std::string& arch, const std::string& name) {
    std::optional<std::vector<uint8_t>> bytes = readFileBytes(peFixture(arch, name), 1 << 20);
    EXPECT_TRUE(bytes) << arch << " " << name;
    return bytes.value_or(std::vector<uint8_t>{});
}

// File offset of the resource section, found the long way round for the tests' own edits.
size_t resourceSectionOffset(const std::vector<uint8_t>& image) {
    ByteReader reader(image);
    uint32_t pe = 0, rsrcRva = 0;
    uint16_t sections = 0, optionalSize = 0, magic = 0;
    reader.seek(0x3C);
    reader.readU32(pe);
    reader.seek(pe + 6);
    reader.readU16(sections);
    reader.seek(pe + 20);
    reader.readU16(optionalSize);
    reader.seek(pe + 24);
    reader.readU16(magic);
    reader.seek(pe + 24 + (magic == 0x20B ? 112 : 96) + 16);
    reader.readU32(rsrcRva);
    for (uint16_t i = 0; i < sections; ++i) {
        uint32_t va = 0, raw = 0;
        reader.seek(pe + 24 + optionalSize + i * 40 + 12);
        reader.readU32(va);
        reader.skip(4);
        reader.readU32(raw);
        if (va == rsrcRva) return raw;
    }
    ADD_FAILURE() << "no resource section";
    return 0;
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = uint8_t(value >> (8 * i));
}

}  // namespace

TEST(PeResources, FindsResourcesByIdAndNameInBothFlavours) {
    LUMEN_REQUIRE_PE_FIXTURES();
    for (const std::string arch : kPeArches) {
        const std::vector<uint8_t> image = load(arch, "parm");
        const std::optional<PeResources> resources = PeResources::parse(image);
        ASSERT_TRUE(resources) << arch;
        EXPECT_EQ(resources->is64Bit(), arch == "x86_64");

        const auto parm = resources->find(kParm, ResourceKey::fromId(16));
        ASSERT_TRUE(parm) << arch;
        ASSERT_EQ(parm->size(), 8296u);
        EXPECT_EQ(std::string(parm->begin(), parm->begin() + 16), "0123456789ABCDEF");
        EXPECT_EQ(std::string(parm->end() - 8, parm->end()), "01234567");

        // Several languages: the first in the directory (German, 0x407) is taken.
        const auto seventeen = resources->find(ResourceKey::fromName("parm"), ResourceKey::fromId(17));
        ASSERT_TRUE(seventeen);
        EXPECT_EQ(std::string(seventeen->begin(), seventeen->end()), "German");

        const auto logo = resources->find(ResourceKey::fromId(10), ResourceKey::fromName("logo"));
        ASSERT_TRUE(logo);
        EXPECT_EQ(std::string(logo->begin(), logo->end()), "named");

        EXPECT_FALSE(resources->find(kParm, ResourceKey::fromId(18)));
        EXPECT_FALSE(resources->find(ResourceKey::fromId(16), ResourceKey::fromId(16)));
        EXPECT_FALSE(resources->find(ResourceKey::fromName("PAR"), ResourceKey::fromId(16)));

        const std::vector<ResourceItem> items = resources->list();
        ASSERT_EQ(items.size(), 3u);
        EXPECT_TRUE(items[0].type.isName);
        EXPECT_EQ(items[0].type.name, "PARM");
        EXPECT_EQ(items[1].language, 0x407);
        EXPECT_EQ(items[2].name.name, "LOGO");

        const auto copied = readFileResource(peFixture(arch, "parm"), kParm, ResourceKey::fromId(16));
        ASSERT_TRUE(copied);
        EXPECT_TRUE(std::equal(copied->begin(), copied->end(), parm->begin(), parm->end()));
    }
}

TEST(PeResources, RefusesWhatIsNoPeImage) {
    LUMEN_REQUIRE_PE_FIXTURES();
    EXPECT_FALSE(PeResources::parse({}));
    const std::vector<uint8_t> mz = {'M', 'Z'};
    EXPECT_FALSE(PeResources::parse(mz));
    std::vector<uint8_t> image = load("i686", "parm");
    image[0x3C + 3] = 0x7F;  // PE header far past the end
    EXPECT_FALSE(PeResources::parse(image));
    image = load("i686", "parm");
    const size_t pe = image[0x3C] | image[0x3D] << 8;
    image[pe + 24] = 0x0C;  // unknown optional-header magic
    EXPECT_FALSE(PeResources::parse(image));
    EXPECT_FALSE(readFileResource(std::string(LUMEN_TEST_DATA_DIR) + "/parm.rc", kParm, ResourceKey::fromId(16)));
    EXPECT_FALSE(readFileResource("/nonexistent/parm.dll", kParm, ResourceKey::fromId(16)));
}

TEST(PeResources, TruncatedAnywhereIsNeverReadPastItsEnd) {
    LUMEN_REQUIRE_PE_FIXTURES();
    for (const std::string arch : kPeArches) {
        const std::vector<uint8_t> image = load(arch, "parm");
        const size_t pe = image[0x3C] | image[0x3D] << 8;
        const size_t rsrc = resourceSectionOffset(image);
        for (size_t cut = 0; cut < image.size(); ++cut) {
            // An exact copy, so the sanitizer sees a read past the cut.
            const std::vector<uint8_t> part(image.begin(), image.begin() + cut);
            const std::optional<PeResources> resources = PeResources::parse(part);
            if (cut < pe + 24 + 96) {
                EXPECT_FALSE(resources) << cut;
                continue;
            }
            if (!resources) continue;
            const auto parm = resources->find(kParm, ResourceKey::fromId(16));
            if (cut <= rsrc) {
                EXPECT_FALSE(parm) << cut;
            }
            if (parm) {
                EXPECT_EQ(parm->size(), 8296u);
            }
            resources->list();
        }
    }
}

TEST(PeResources, BadOffsetsAndLoopsAreRefused) {
    LUMEN_REQUIRE_PE_FIXTURES();
    for (const std::string arch : kPeArches) {
        const std::vector<uint8_t> image = load(arch, "parm");
        const size_t rsrc = resourceSectionOffset(image);
        // The PARM data entry: its RVA followed by the size 8296.
        size_t entry = 0;
        for (size_t i = rsrc + 4; i + 4 <= image.size(); ++i)
            if (image[i] == 0x68 && image[i + 1] == 0x20 && image[i + 2] == 0 && image[i + 3] == 0) {
                entry = i - 4;
                break;
            }
        ASSERT_NE(entry, 0u);

        std::vector<uint8_t> bad = image;
        putU32(bad, entry, 0xFFFFFF00u);  // RVA in no section
        EXPECT_FALSE(PeResources::parse(bad)->find(kParm, ResourceKey::fromId(16)));
        bad = image;
        putU32(bad, entry + 4, 0x7FFFFFFFu);  // size past the section
        EXPECT_FALSE(PeResources::parse(bad)->find(kParm, ResourceKey::fromId(16)));

        // The root's first entry (PARM) pointing back at the root, and at the section's end.
        bad = image;
        putU32(bad, rsrc + 16 + 4, 0x80000000u);
        EXPECT_FALSE(PeResources::parse(bad)->find(kParm, ResourceKey::fromId(16)));
        EXPECT_EQ(PeResources::parse(bad)->list().size(), 1u);  // only the named RCDATA is left
        putU32(bad, rsrc + 16 + 4, 0xFFFFFFF0u);
        EXPECT_FALSE(PeResources::parse(bad)->find(kParm, ResourceKey::fromId(16)));
        // A type name that runs past the section.
        bad = image;
        putU32(bad, rsrc + 16, 0xFFFFFFF0u);
        EXPECT_FALSE(PeResources::parse(bad)->find(kParm, ResourceKey::fromId(16)));
        // Entry counts far larger than the section holds.
        bad = image;
        bad[rsrc + 12] = bad[rsrc + 13] = bad[rsrc + 14] = bad[rsrc + 15] = 0xFF;
        EXPECT_TRUE(PeResources::parse(bad)->find(kParm, ResourceKey::fromId(16)));
        EXPECT_LE(PeResources::parse(bad)->list().size(), 3u);
    }
}

TEST(Utf16, NarrowsToWindows1252) {
    const std::vector<uint8_t> units = {'A', 0, 0xF6, 0, 0xAC, 0x20, 0x3A, 0x04, 'z', 0, 0, 0, 'x', 0};
    EXPECT_EQ(narrowUtf16(units), "A\xF6\x80?z");
    const std::vector<uint8_t> odd = {'A', 0, 'B'};
    EXPECT_EQ(narrowUtf16(odd), "A");
}
