#pragma once
// Lets a batch run of the about selector end by itself: while the about box is up, a watcher
// waits, optionally saves the box as a PNG, and closes it. Without windows it does nothing.
#include <cstdint>
#include <memory>
#include <string>

namespace lumen::host {

class AboutWatch {
public:
    // closeAfterMs < 0: no watching; the box stays until the user closes it.
    AboutWatch(const std::string& screenshotPath, int closeAfterMs);
    ~AboutWatch();
    // Stops watching; true when a window of the about box was seen (and closed).
    bool finish();
    // The window that owned the box seen (after finish); 0 for none.
    intptr_t owner() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace lumen::host
