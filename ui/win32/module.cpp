#include "ui/win32/module.h"

#include <commctrl.h>

#include "filters/startup.h"
#include "resources/resource_ids.h"
#include "ui/win32/gradient_bar.h"
#include "ui/win32/help_viewer.h"
#include "ui/win32/preview_window.h"
#include "ui/win32/slider_widget.h"

namespace lumen::ui {
namespace {

constexpr const char* kLanguageLibrary = "lmflngde.dll";

HMODULE languageLibrary = nullptr;
bool languageTried = false;
bool classesRegistered = false;

}  // namespace

HMODULE pluginModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&pluginModule), &module);
    return module;
}

HMODULE resourceModule() {
    if (!languageTried) {
        languageTried = true;
        const std::string path = filters::directoryOf(filters::moduleFilePath()) + kLanguageLibrary;
        languageLibrary = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    return languageLibrary ? languageLibrary : pluginModule();
}

const DLGTEMPLATE* findDialogTemplate(int templateId) {
    for (HMODULE module : {resourceModule(), pluginModule()}) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
        if (!found) continue;
        HGLOBAL loaded = LoadResource(module, found);
        if (loaded && SizeofResource(module, found) >= sizeof(DLGTEMPLATE))
            return static_cast<const DLGTEMPLATE*>(LockResource(loaded));
    }
    return nullptr;
}

std::string loadString(int id) {
    char text[512];
    int length = LoadStringA(resourceModule(), static_cast<UINT>(id), text, sizeof text);
    if (length <= 0) length = LoadStringA(pluginModule(), static_cast<UINT>(id), text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

HIMAGELIST loadImageList(int bitmapId, int width) {
    for (HMODULE module : {resourceModule(), pluginModule()})
        if (HIMAGELIST list = ImageList_LoadImageA(module, MAKEINTRESOURCEA(bitmapId), width, 0, kTransparentColour,
                                                   IMAGE_BITMAP, LR_CREATEDIBSECTION))
            return list;
    return nullptr;
}

std::string fromStringTable(const std::string& english) {
    char text[512];
    for (int id = kStrConfirmDeleteTitle; id <= kStrTooManyFiles; ++id) {
        const int length = LoadStringA(pluginModule(), static_cast<UINT>(id), text, sizeof text);
        if (length > 0 && english.compare(0, std::string::npos, text, static_cast<size_t>(length)) == 0)
            return loadString(id);
    }
    return english;
}

bool prepareWindows() {
    if (classesRegistered) return true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    classesRegistered = registerGradientBarClass(pluginModule()) && registerSliderClass(pluginModule()) &&
                         registerPreviewClasses(pluginModule());
    return classesRegistered;
}

void releaseWindows() {
    releaseHelpWindows();
    if (classesRegistered) {
        unregisterGradientBarClass(pluginModule());
        unregisterSliderClass(pluginModule());
        unregisterPreviewClasses(pluginModule());
    }
    classesRegistered = false;
    if (languageLibrary) FreeLibrary(languageLibrary);
    languageLibrary = nullptr;
    languageTried = false;
}

}  // namespace lumen::ui
