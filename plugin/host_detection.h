#pragma once
// Hosts differ in the order they deliver colour planes and in whether their displayPixels
// can draw the preview; the plug-in settles both once per new parameter block.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/host_api.h"

namespace lumen::plugin {

struct ParameterBlock;

constexpr hostapi::OSType kSabiHostSignature = 0x53414249;  // S, A, B, I

// What the plug-in learns about the process that loaded it.
struct HostProcess {
    std::string executablePath;
    // The FileVersion text of a file's version resource (first translation); none on failure.
    std::function<std::optional<std::string>(const std::string& path)> readFileVersion;
};

HostProcess currentHostProcess();

// 42 for a FileVersion containing "4.2", 50 for one containing "5.", else 0.
int premiereVersionFromText(std::string_view fileVersion);
// The version of "preminfo.dll" beside the host's executable: 42, 50 or 0.
int premiereVersion(const HostProcess& host);
bool directDrawingNeeded(const hostapi::FilterRecord& record, const HostProcess& host);
// Sets swapRedBlue and drawPreviewDirect of a new block.
void detectHost(const hostapi::FilterRecord& record, const HostProcess& host, ParameterBlock& block);

}  // namespace lumen::plugin
