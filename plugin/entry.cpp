// The one function a host calls: ENTRYPOINT, exported undecorated with the C calling
// convention. Non-Windows builds also export PluginResource, through which a host reads the
// PiPL and AETE resources that Windows keeps in the DLL's resource section.
#include <cstdint>

#include "plugin/selector_dispatch.h"

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/user_interface.h"
#define LUMEN_EXPORT extern "C" __declspec(dllexport)
#else
#include "imaging/module_resources.h"
#include "resources/embedded_resources.h"
#define LUMEN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

LUMEN_EXPORT void ENTRYPOINT(int16_t selector, void* record, intptr_t* data, int16_t* result) {
    const int16_t code = lumen::plugin::dispatchSelector(selector, record);
    if (result) *result = code;
}

#ifdef _WIN32
// Loading puts the windows in place; unloading (not process exit, when windows are gone
// anyway) removes the window classes and the language library.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) lumen::ui::installUserInterface();
    if (reason == DLL_PROCESS_DETACH && !reserved) lumen::ui::removeUserInterface();
    return TRUE;
}
#else
namespace {
const bool resourcesInstalled = [] {
    lumen::imaging::useEmbeddedResources(lumen::resources::embeddedResources());
    return true;
}();
}  // namespace

// type: the resource type's four characters as a little-endian number, like the PiPL codes.
LUMEN_EXPORT const void* PluginResource(uint32_t type, int32_t id, uint32_t* size) {
    const char name[5] = {static_cast<char>(type >> 24), static_cast<char>(type >> 16),
                          static_cast<char>(type >> 8), static_cast<char>(type), 0};
    auto bytes = lumen::imaging::findModuleResource(name, id);
    if (size) *size = static_cast<uint32_t>(bytes.size());
    return bytes.empty() ? nullptr : bytes.data();
}
#endif
