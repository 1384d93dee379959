#pragma once
// The help window: a read-only, modeless viewer of our help books ("Lumenforge.hlp",
// "Reference.hlp" in the database root) with contents, back, links, pictures and find in topic.
// A book that is missing or does not read gives a message box naming it, never a window.
#include <windows.h>

#include <string>

namespace lumen::ui {

inline constexpr const char* kHelpWindowClass = "LumenforgeHelp";
inline constexpr const char* kUserGuideFile = "Lumenforge.hlp";
inline constexpr const char* kReferenceFile = "Reference.hlp";

// Control ids inside the help window.
inline constexpr int kHelpContentsButton = 101;
inline constexpr int kHelpBackButton = 102;
inline constexpr int kHelpFindText = 103;
inline constexpr int kHelpFindButton = 104;
inline constexpr int kHelpPage = 105;

// Opens the book at `path` at its contents over `owner` (the window it stays above), or brings
// the window already showing that book forward at its contents. False after the message.
bool openHelpFile(HWND owner, const std::string& path);
// The book of that name in the database root (the folder of the plug-in file).
bool openHelp(HWND owner, const std::string& fileName);
// The language reference, for the formula editor's "Language Reference..." button.
inline bool openLanguageReference(HWND owner) { return openHelp(owner, kReferenceFile); }

// When the plug-in is unloaded: open help windows close and the classes go.
void releaseHelpWindows();

}  // namespace lumen::ui
