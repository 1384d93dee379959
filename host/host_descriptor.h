#pragma once
// The host's scripting descriptors: the keyed values a recorded step carries, with the read and
// write procedures a plug-in uses on them. A descriptor handle holds the items encoded as
// key, type, length and data, one after the other.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "plugin/host_api.h"

namespace lumen::host {

struct DescriptorItem {
    hostapi::DescriptorKeyID key = 0;
    hostapi::DescType type = 0;
    int32_t integer = 0;  // typeInteger
    std::string text;     // typeChar
};
using Descriptor = std::vector<DescriptorItem>;

std::string encodeDescriptor(const Descriptor& descriptor);
std::optional<Descriptor> decodeDescriptor(const std::string& bytes);

// "fxGD=5" → an integer item for the gradient key, any other key a text item.
std::optional<DescriptorItem> descriptorItemFromArgument(const std::string& argument);
nlohmann::ordered_json descriptorJson(const Descriptor& descriptor);

// Whether the handle is one the write procedures made: what a plug-in wrote, even when it has
// the address of the descriptor it was given and disposed.
bool isWrittenDescriptor(hostapi::Handle handle);

// The procedure tables a FilterRecord points to; one set serves every run.
hostapi::ReadDescriptorProcs* hostReadDescriptorProcs();
hostapi::WriteDescriptorProcs* hostWriteDescriptorProcs();

}  // namespace lumen::host
