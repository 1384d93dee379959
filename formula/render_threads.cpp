#include "formula/render_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace lumen::formula {
namespace {

// How long an idle thread polls before it sleeps: long enough to bridge the set-up between two
// renders, short enough that a thread with no more work soon gives its core back.
constexpr auto kPollBeforeSleeping = std::chrono::milliseconds(2);

// Polls `ready` until it holds or the polling time is up; whether it holds.
template <typename Ready>
bool pollFor(const Ready& ready) {
    const auto deadline = std::chrono::steady_clock::now() + kPollBeforeSleeping;
    while (true) {
        for (int i = 0; i < 64; ++i) {
            if (ready()) return true;
            __builtin_ia32_pause();  // lets the other hardware thread of the core run meanwhile
        }
        if (std::chrono::steady_clock::now() >= deadline) return ready();
    }
}

}  // namespace

struct RenderThreads::Shared {
    std::mutex lock;
    std::condition_variable workArrived;
    std::condition_variable workDone;
    // Bumped under the lock for every run and for the stop; the task and the stop flag are
    // written before it and read after it.
    std::atomic<uint64_t> round{0};
    std::atomic<bool> stopping{false};
    std::atomic<int> busy{0};  // helpers still in the current task
    std::atomic<bool> failed{false};
    const std::function<void(int)>* task = nullptr;
    std::vector<std::thread> threads;

    void serve(int helper) {
        uint64_t seen = 0;
        while (true) {
            const auto arrived = [&] { return round.load(std::memory_order_acquire) != seen; };
            if (!pollFor(arrived)) {
                std::unique_lock hold(lock);
                workArrived.wait(hold, arrived);
            }
            seen = round.load(std::memory_order_acquire);
            if (stopping.load(std::memory_order_relaxed)) return;
            try {
                (*task)(helper);
            } catch (...) {
                failed.store(true, std::memory_order_relaxed);
            }
            if (busy.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                std::lock_guard hold(lock);
                workDone.notify_all();
            }
        }
    }
};

RenderThreads::RenderThreads(int helpers, const std::function<void()>& startHelper)
    : shared_(std::make_unique<Shared>()) {
    shared_->threads.reserve(static_cast<size_t>(std::max(helpers, 0)));
    for (int helper = 1; helper <= helpers; ++helper) {
        try {
            shared_->threads.emplace_back([shared = shared_.get(), helper, startHelper] {
                if (startHelper) startHelper();
                shared->serve(helper);
            });
        } catch (const std::system_error&) {
            break;  // fewer helpers still do every task
        }
    }
}

RenderThreads::~RenderThreads() {
    {
        std::lock_guard hold(shared_->lock);
        shared_->stopping.store(true, std::memory_order_relaxed);
        shared_->round.fetch_add(1, std::memory_order_release);
    }
    shared_->workArrived.notify_all();
    for (std::thread& thread : shared_->threads) thread.join();
}

int RenderThreads::helpers() const { return static_cast<int>(shared_->threads.size()); }

void RenderThreads::run(const std::function<void(int)>& task) {
    Shared& shared = *shared_;
    if (shared.threads.empty()) return;
    {
        std::lock_guard hold(shared.lock);
        shared.task = &task;
        shared.failed.store(false, std::memory_order_relaxed);
        shared.busy.store(helpers(), std::memory_order_relaxed);
        shared.round.fetch_add(1, std::memory_order_release);
    }
    shared.workArrived.notify_all();
}

bool RenderThreads::finish() {
    Shared& shared = *shared_;
    const auto done = [&] { return shared.busy.load(std::memory_order_acquire) == 0; };
    if (!pollFor(done)) {
        std::unique_lock hold(shared.lock);
        shared.workDone.wait(hold, done);
    }
    return !shared.failed.load(std::memory_order_relaxed);
}

}  // namespace lumen::formula
