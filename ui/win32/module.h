#pragma once
// The module that holds this code (whose handle the window classes are registered with), the
// module that lends dialogs and texts (the language library beside the plug-in when it loads,
// else the plug-in), and the custom window classes of the templates.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace lumen::ui {

HMODULE pluginModule();
HMODULE resourceModule();
// The template from the resource module, else from the plug-in; null when neither has it.
const DLGTEMPLATE* findDialogTemplate(int templateId);
std::string loadString(int id);
// An image list of the bitmap `bitmapId` cut into images `width` pixels wide, magenta
// transparent: from the language library, else from the plug-in; null when neither has it.
HIMAGELIST loadImageList(int bitmapId, int width);
// The models write the plug-in's English; a text that is one of its string table's messages
// comes back from the language library (when one is loaded), any other text as it is.
std::string fromStringTable(const std::string& english);

// Before the first dialog: common controls and our window classes, once.
bool prepareWindows();
// When the plug-in is unloaded: the classes go and the language library is released.
void releaseWindows();

}  // namespace lumen::ui
