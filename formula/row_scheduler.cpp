#include "formula/row_scheduler.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace lumen::formula {
namespace {

// Rows the calling thread has allowed, taken in order by whichever thread is free: without a
// lock while allowed rows are left, with one only to wait for more.
class RowQueue {
public:
    explicit RowQueue(int32_t height) : height_(height) {}

    // The next allowed rows, at most `most` of them in a run [first, end), waiting for one;
    // false when none will come. Another thread may take the rows this one woke for, so the wait
    // is tried again until the queue is closed and empty.
    bool take(int32_t most, int32_t& first, int32_t& end) {
        while (!tryTake(most, first, end)) {
            std::unique_lock hold(lock_);
            if (closed_ && !available()) return false;
            ++waiting_;
            ready_.wait(hold, [this] { return available() || closed_; });
            --waiting_;
        }
        return true;
    }
    // Like take, without waiting; false also while more rows may still be allowed.
    bool tryTake(int32_t most, int32_t& first, int32_t& end) {
        int32_t next = next_.load(std::memory_order_relaxed);
        for (int32_t allowed; next < (allowed = allowed_.load(std::memory_order_acquire));) {
            const int32_t stop = std::min(allowed, next + most);
            if (next_.compare_exchange_weak(next, stop, std::memory_order_acq_rel)) {
                first = next;
                end = stop;
                return true;
            }
        }
        return false;
    }
    int32_t taken() const { return next_.load(std::memory_order_relaxed); }
    // Allows the rows below `allowed`; closed: no rows beyond them will come. Wakes only threads
    // that wait: a wake-up is a system call, which costs more than a cheap row.
    void allow(int32_t allowed, bool closed) {
        bool wake;
        {
            std::lock_guard hold(lock_);
            allowed_.store(allowed, std::memory_order_release);
            closed_ = closed || allowed == height_;
            wake = waiting_ > 0;
        }
        if (wake) ready_.notify_all();
    }

private:
    bool available() const { return next_.load(std::memory_order_relaxed) < allowed_.load(std::memory_order_acquire); }

    const int32_t height_;
    std::mutex lock_;
    std::condition_variable ready_;
    std::atomic<int32_t> allowed_{0};
    std::atomic<int32_t> next_{0};
    int32_t waiting_ = 0;  // under lock_
    bool closed_ = false;  // under lock_
};

bool runOnCallingThread(int32_t height, const std::function<bool(int32_t)>& beforeRow,
                        const std::function<void(int, int32_t)>& renderRow) {
    for (int32_t y = 0; y < height; ++y) {
        if (beforeRow && !beforeRow(y)) return false;
        renderRow(0, y);
    }
    return true;
}

}  // namespace

int hardwareThreads() {
    const unsigned count = std::thread::hardware_concurrency();
    return count == 0 ? 1 : static_cast<int>(std::min(count, 256u));
}

bool runRows(int32_t height, int threads, const std::function<bool(int32_t)>& beforeRow,
             const std::function<void(int, int32_t)>& renderRow, RenderThreads* helpers) {
    threads = static_cast<int>(std::min<int64_t>(std::max(threads, 1), std::max<int32_t>(height, 1)));
    threads = helpers ? std::min(threads, helpers->helpers() + 1) : 1;
    if (threads == 1) return runOnCallingThread(height, beforeRow, renderRow);

    // Each thread takes runs of neighbouring rows: the source rows a filter reads around its
    // own stay in that core's cache, and its reads stream forward. Short enough that the last
    // runs still share out evenly.
    const int32_t run = std::clamp<int32_t>(height / (threads * 16), 1, 8);
    RowQueue queue(height);
    const std::function<void(int)> takeRows = [&](int helper) {
        if (helper >= threads) return;
        for (int32_t first, end; queue.take(run, first, end);)
            for (int32_t y = first; y < end; ++y) renderRow(helper, y);
    };
    helpers->run(takeRows);
    // Enough allowed rows ahead that no helper waits while this thread renders a run, allowed a
    // few runs at a time.
    const int32_t ahead = 4 * threads * run;
    int32_t allowed = 0;
    bool stopped = false;
    try {
        while (true) {
            if (!stopped && allowed < height && allowed - queue.taken() < threads * run) {
                const int32_t target = std::min(height, queue.taken() + ahead);
                const int32_t before = allowed;
                for (; allowed < target && !stopped; ++allowed) stopped = beforeRow && !beforeRow(allowed);
                if (stopped) --allowed;  // the refused row
                if (allowed != before || stopped) queue.allow(allowed, stopped);
            }
            int32_t first, end;
            if (queue.tryTake(run, first, end))
                for (int32_t y = first; y < end; ++y) renderRow(0, y);
            else if (stopped || allowed == height)
                break;
        }
    } catch (...) {
        // The helpers read the queue on this stack: they finish the rows allowed, then it goes.
        queue.allow(allowed, true);
        helpers->finish();
        throw;
    }
    const bool helpersReturned = helpers->finish();
    return !stopped && helpersReturned;
}

}  // namespace lumen::formula
