#pragma once
// The resources of non-Windows builds, linked in as data (generated at build time).
#include <span>

#include "imaging/module_resources.h"

namespace lumen::resources {
std::span<const imaging::EmbeddedResource> embeddedResources();
}
