#include "plugin/host_detection.h"

#include <gtest/gtest.h>

#include <map>

#include "plugin/parameter_block.h"

using namespace lumen::plugin;
using namespace lumen::hostapi;

namespace {

int16_t drawSomething(const PSPixelMap*, const VRect*, int32_t, int32_t, void*) { return 0; }
BufferProcs someBufferProcs{};

// A host whose "preminfo.dll" versions are looked up in a table instead of on disk.
HostProcess hostAt(const std::string& executable, std::map<std::string, std::string> versions) {
    return {executable, [versions](const std::string& path) -> std::optional<std::string> {
                auto found = versions.find(path);
                if (found == versions.end()) return std::nullopt;
                return found->second;
            }};
}

FilterRecord capableHost() {
    FilterRecord record{};
    record.displayPixels = drawSomething;
    record.bufferProcs = &someBufferProcs;
    return record;
}

#ifdef _WIN32
const std::string kHostDirectory = "C:\\Hosts\\";
#else
const std::string kHostDirectory = "/opt/hosts/";
#endif

}  // namespace

TEST(HostDetection, PremiereVersionFromTheFileVersionText) {
    EXPECT_EQ(premiereVersionFromText("4.2.1"), 42);
    EXPECT_EQ(premiereVersionFromText("5.1"), 50);
    EXPECT_EQ(premiereVersionFromText("6.0"), 0);
    EXPECT_EQ(premiereVersionFromText("14.2"), 42) << "4.2 anywhere";
    EXPECT_EQ(premiereVersionFromText("15.0"), 50) << "5. anywhere";
    EXPECT_EQ(premiereVersionFromText(""), 0);
}

TEST(HostDetection, PremiereVersionLooksBesideTheHostExecutable) {
    const HostProcess host = hostAt(kHostDirectory + "Host.exe", {{kHostDirectory + "preminfo.dll", "5.1"}});
    EXPECT_EQ(premiereVersion(host), 50);
    EXPECT_EQ(premiereVersion(hostAt(kHostDirectory + "Host.exe", {})), 0);
}

TEST(HostDetection, DetectionTable) {
    const FilterRecord record = capableHost();
    struct Case {
        const char* version;
        uint8_t swap, direct;
    } cases[] = {{"4.2.1", 1, 0}, {"5.1", 0, 1}, {"6.0", 0, 0}};
    for (const Case& c : cases) {
        ParameterBlock block{};
        detectHost(record, hostAt(kHostDirectory + "Host.exe", {{kHostDirectory + "preminfo.dll", c.version}}), block);
        EXPECT_EQ(block.swapRedBlue, c.swap) << c.version;
        EXPECT_EQ(block.drawPreviewDirect, c.direct) << c.version;
    }
}

TEST(HostDetection, DirectDrawingForHostsWithoutDisplayOrBuffersOrKnownByName) {
    const HostProcess plain = hostAt(kHostDirectory + "Editor.exe", {});
    FilterRecord record = capableHost();
    EXPECT_FALSE(directDrawingNeeded(record, plain));
    for (const char* name : {"iedit.exe", "IEdit.EXE", "CorelXRA.exe", "premiere.exe"})
        EXPECT_TRUE(directDrawingNeeded(record, hostAt(kHostDirectory + name, {}))) << name;
    EXPECT_FALSE(directDrawingNeeded(record, hostAt(kHostDirectory + "iedit2.exe", {})));
    record.displayPixels = nullptr;
    EXPECT_TRUE(directDrawingNeeded(record, plain));
    record = capableHost();
    record.bufferProcs = nullptr;
    EXPECT_TRUE(directDrawingNeeded(record, plain));
}

TEST(HostDetection, SignatureSabiOverridesEveryOtherAnswer) {
    FilterRecord record = capableHost();
    record.hostSig = kSabiHostSignature;
    ParameterBlock block{};
    detectHost(record, hostAt(kHostDirectory + "Host.exe", {{kHostDirectory + "preminfo.dll", "4.2"}}), block);
    EXPECT_EQ(block.swapRedBlue, 0);
    EXPECT_EQ(block.drawPreviewDirect, 1);
}

#ifdef LUMEN_PE_FIXTURES
#include <filesystem>

// Real version resources, read the way the plug-in reads them on every platform.
TEST(HostDetection, PremiereVersionFromRealVersionResources) {
    namespace fs = std::filesystem;
    const fs::path hostDirectory = fs::temp_directory_path() / "lumen-host-detection";
    fs::create_directories(hostDirectory);
    const struct {
        const char* fixture;
        int version;
    } cases[] = {{"preminfo-4.2.1", 42}, {"preminfo-5.1", 50}, {"preminfo-6.0", 0}, {"no-version", 0}};
    for (const char* arch : {"i686", "x86_64"}) {
        for (const auto& c : cases) {
            fs::copy_file(std::string(LUMEN_PE_FIXTURES) + "/" + arch + "/" + c.fixture + ".dll",
                          hostDirectory / "preminfo.dll", fs::copy_options::overwrite_existing);
            HostProcess host = currentHostProcess();
            host.executablePath = (hostDirectory / "Host.exe").string();
            EXPECT_EQ(premiereVersion(host), c.version) << arch << " " << c.fixture;
        }
    }
    fs::remove_all(hostDirectory);
}
#endif
