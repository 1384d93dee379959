#include <windows.h>

#include "plugin/worker_thread.h"

namespace lumen::plugin {

struct WorkerThread::Native {
    HANDLE thread = nullptr;
    std::function<void()> work;
};

namespace {

DWORD WINAPI runWork(void* parameter) {
    auto* native = static_cast<WorkerThread::Native*>(parameter);
    try {
        native->work();
    } catch (...) {
    }
    return 0;
}

}  // namespace

WorkerThread::WorkerThread() = default;
WorkerThread::~WorkerThread() { waitForExit(); }

bool WorkerThread::start(std::function<void()> work) {
    waitForExit();
    auto native = std::make_unique<Native>();
    native->work = std::move(work);
    // Created suspended so the priority is lowered before the first row is rendered.
    native->thread = CreateThread(nullptr, 0, runWork, native.get(), CREATE_SUSPENDED, nullptr);
    if (!native->thread) return false;
    SetThreadPriority(native->thread, THREAD_PRIORITY_BELOW_NORMAL);
    native_ = std::move(native);
    ResumeThread(native_->thread);
    return true;
}

bool WorkerThread::running() const {
    DWORD code = 0;
    return native_ && GetExitCodeThread(native_->thread, &code) && code == STILL_ACTIVE;
}

void WorkerThread::waitForExit() {
    if (!native_) return;
    while (running()) Sleep(10);
    CloseHandle(native_->thread);
    native_.reset();
}

void lowerCurrentThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace lumen::plugin
