#pragma once
// Drives the real dialogs as a user would, by window messages from a second thread while the
// test's thread runs the dialog's modal loop (Wine's own conformance tests work this way).
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace lumen::ui::testing {

inline constexpr int kWaitMs = 5000;

// Runs `drive` on a driver thread while this thread runs `modal`. Whatever the driver leaves
// open is cancelled afterwards, so a failed step cannot hang the test.
void runDriven(const std::function<void()>& modal, const std::function<void(DWORD uiThread)>& drive);

// Polls (every 10 ms) until `condition` holds; false after `timeoutMs`.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = kWaitMs);
// A visible top-level window of `thread` with a child of id `childId`; null after the wait.
HWND waitForWindowWith(DWORD thread, int childId, int timeoutMs = kWaitMs);
bool windowWithExists(DWORD thread, int childId);
// The child dialog (page) of `dialog` that holds a control of id `childId`.
HWND pageWith(HWND dialog, int childId);

// What a user does.
void selectTab(HWND dialog, int tabsId, int index);
void pressButton(HWND dialog, int id);
void pressKey(HWND dialog, UINT key);
// wParam of the mouse message carries the button state, lParam the client position.
void postMouse(HWND window, UINT message, WPARAM buttons, int x, int y);

// A message box of `thread` (caption `caption`) answered with `button`; its text, or nothing
// when none came up within the wait.
std::optional<std::string> answerMessageBox(DWORD thread, const std::string& caption, int button);
// The popup menu `thread` tracks, once it is on the screen; null after the wait.
HWND waitForMenu(DWORD thread, int timeoutMs = kWaitMs);
// Keys to a tracked menu: mnemonics as characters, arrows and Enter as virtual keys.
void menuKey(HWND menu, UINT key);
void menuChar(HWND menu, char mnemonic);

// Redraws the window and writes what the screen shows of it to <artifacts>/ui/NAME.png; with an
// overlay (a popup menu over the window), the picture covers both, the overlay on top.
void saveScreenshot(HWND window, const std::string& name, HWND overlay = nullptr);

}  // namespace lumen::ui::testing
