#pragma once
// The page of the help window: one topic laid out to the window's width (headings, wrapped
// paragraphs and list items, code, pictures), scrolled vertically, with links that open their
// topic and a find that marks the next place a text occurs.
#include <windows.h>

#include "help/help_document.h"

namespace lumen::ui {

inline constexpr const char* kHelpPageClass = "LumenforgeHelpPage";

// lParam: the const help::Topic* to show, wParam: its const help::HelpDocument* (both outlive
// the page's use of them, until the next kHelpPageShow).
inline constexpr UINT kHelpPageShow = WM_APP + 20;
// lParam: the NUL-terminated text; marks its next occurrence after the marked one and scrolls
// to it. Answers TRUE when found; the search wraps round to the top.
inline constexpr UINT kHelpPageFind = WM_APP + 21;
// wParam: the link's number in the topic (0 first); lParam: RECT* receiving its first piece in
// client coordinates. Answers FALSE when the topic has fewer links.
inline constexpr UINT kHelpPageLinkRect = WM_APP + 22;
// Sent to the parent when a link is clicked; lParam: the const std::string* topic id.
inline constexpr UINT kHelpPageOpenLink = WM_APP + 23;

bool registerHelpPageClass(HMODULE module);
void unregisterHelpPageClass(HMODULE module);

}  // namespace lumen::ui
