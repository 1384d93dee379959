#pragma once
// Lets a batch run of the about selector, or of an apply that shows the dialog, end by itself:
// while the plug-in's window is up, a watcher waits, optionally saves it as a PNG, and closes
// it with OK (the main dialog's Apply). Without windows it does nothing.
#include <cstdint>
#include <memory>
#include <string>

namespace lumen::host {

class AboutWatch {
public:
    // closeAfterMs < 0: no watching; the window stays until the user closes it.
    AboutWatch(const std::string& screenshotPath, int closeAfterMs);
    ~AboutWatch();
    // Stops watching; true when a window of the plug-in was seen (and closed).
    bool finish();
    // The window that owned the box seen (after finish); 0 for none.
    intptr_t owner() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumen::host
