#include <atomic>
#include <chrono>
#include <thread>

#include "plugin/worker_thread.h"

namespace lumen::plugin {

struct WorkerThread::Native {
    std::thread thread;
    std::atomic<bool> finished{false};
};

WorkerThread::WorkerThread() = default;
WorkerThread::~WorkerThread() { waitForExit(); }

bool WorkerThread::start(std::function<void()> work) {
    waitForExit();
    auto native = std::make_unique<Native>();
    Native* state = native.get();
    try {
        native->thread = std::thread([state, work = std::move(work)] {
            try {
                work();
            } catch (...) {
            }
            state->finished.store(true, std::memory_order_release);
        });
    } catch (...) {
        return false;
    }
    native_ = std::move(native);
    return true;
}

bool WorkerThread::running() const {
    return native_ && !native_->finished.load(std::memory_order_acquire);
}

void WorkerThread::waitForExit() {
    if (!native_) return;
    while (running()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    native_->thread.join();
    native_.reset();
}

void lowerCurrentThreadPriority() {}

}  // namespace lumen::plugin
