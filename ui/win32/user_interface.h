#pragma once
// Puts the windows in place of the plug-in's windowless defaults: the main dialog of the input
// phase and the about box. Removing them (when the plug-in unloads) also unregisters the window
// classes and releases the language library.
namespace lumen::ui {

void installUserInterface();
void removeUserInterface();

}  // namespace lumen::ui
