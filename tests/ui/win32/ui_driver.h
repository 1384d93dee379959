#pragma once
// Drives the real dialogs as a user would, by window messages from a second thread while the
// test's thread runs the dialog's modal loop (Wine's own conformance tests work this way).
#include <windows.h>

#include <functional>
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

// Redraws the window and writes what the screen shows of it to <artifacts>/ui/NAME.png.
void saveScreenshot(HWND window, const std::string& name);

}  // namespace lumen::ui::testing
