#pragma once
// The formula editor (template 137): five source edits checked and rendered on every change
// by a worker of its own, the error marks with a line saying where the failing source stopped
// (a click on either puts the caret there), Slider Settings, Randomize, Import, Filter Info,
// the gradient bar, Save and Cancel. It edits copies; the caller takes them back on Save.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "filters/file_system.h"
#include "filters/filter_definition.h"
#include "filters/settings_store.h"
#include "plugin/filter_runner.h"
#include "plugin/image_buffer.h"

namespace lumen::ui {

struct EditorSurroundings {
    // A copy of the control panel's source image; the editor renders its preview from it.
    const plugin::ImageBuffer* previewSource = nullptr;
    plugin::RenderColours colours;
    bool swapRedBlue = false;
    filters::SettingsStore* settings = nullptr;  // Filter Info's defaults, the import path
    filters::FileSystem* fileSystem = nullptr;
    // The Import button's file: the system's open dialog when not given (tests script it).
    std::function<std::optional<std::string>(HWND owner, const std::string& initialPath)> chooseImportFile;
    // Called on the worker thread after each render, with whether it reached the last row and
    // the preview image it wrote.
    std::function<void(bool complete, const plugin::ImageBuffer& preview)> renderFinished;
};

// True with `edit` filled when the user saved; nothing of `filter` changes either way.
bool runFilterEditor(HWND owner, const filters::FilterDefinition& filter, const EditorSurroundings& surroundings,
                     filters::FilterEdit& edit);

}  // namespace lumen::ui
