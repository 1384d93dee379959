#pragma once
// The preview's worker: one thread at below-normal priority, so the dialog stays responsive.
// Whoever stops it sets its cancel request and waits for it by polling every 10 ms; the thread
// itself never touches the runner's locks.
#include <functional>
#include <memory>

namespace lumen::plugin {

class WorkerThread {
public:
    WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Waits for a running thread: a thread must never outlive the objects it renders into.
    ~WorkerThread();

    // Starts `work` on a new thread; false when the thread could not be made (nothing runs).
    // Exceptions thrown by `work` end the thread quietly.
    bool start(std::function<void()> work);
    bool running() const;
    // Polls every 10 ms until the thread has ended, then releases it. Idle: returns at once.
    void waitForExit();

    struct Native;

private:
    std::unique_ptr<Native> native_;
};

// Gives the calling thread the worker's below-normal priority: the preview's extra render
// threads must not take the dialog's time either. Only Windows has a dialog to keep responsive.
void lowerCurrentThreadPriority();

}  // namespace lumen::plugin
