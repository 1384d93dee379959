// Rows shared out to threads: each rendered once, the callback on the calling thread in order,
// and a stop that no later row gets past; helper threads kept from one run to the next.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "formula/compile_filter.h"
#include "formula/render_filter.h"
#include "formula/row_scheduler.h"

namespace lumen::formula::testing {
namespace {

TEST(RowScheduler, EveryRowOnceAndTheCallbackInOrderOnTheCallingThread) {
    // One set of helpers for every run, more than some runs take. Short images share out single
    // rows, tall ones runs of rows.
    RenderThreads helpers(4);
    for (const auto& [threads, height] : {std::pair{1, 101}, {2, 101}, {5, 101}, {2, 1000}, {3, 517}}) {
        std::vector<std::atomic<int>> rendered(height);
        std::vector<int32_t> announced;
        std::atomic<bool> foreignCallback{false};
        std::mutex workersLock;
        std::vector<int> workers;
        const std::thread::id caller = std::this_thread::get_id();
        const bool complete = runRows(
            height, threads,
            [&](int32_t y) {
                if (std::this_thread::get_id() != caller) foreignCallback = true;
                // A row is never rendered before the callback has allowed it.
                EXPECT_EQ(rendered[y].load(), 0);
                announced.push_back(y);
                return true;
            },
            [&](int worker, int32_t y) {
                EXPECT_EQ(worker == 0, std::this_thread::get_id() == caller);
                ++rendered[y];
                std::lock_guard hold(workersLock);
                workers.push_back(worker);
            },
            &helpers);
        EXPECT_TRUE(complete);
        EXPECT_FALSE(foreignCallback);
        ASSERT_EQ(announced.size(), static_cast<size_t>(height));
        for (int32_t y = 0; y < height; ++y) {
            EXPECT_EQ(announced[y], y);
            EXPECT_EQ(rendered[y].load(), 1) << "row " << y;
        }
        for (int worker : workers) EXPECT_LT(worker, threads);
    }
}

TEST(RowScheduler, AStopAllowsNoLaterRow) {
    RenderThreads helpers(3);
    for (int threads : {1, 2, 4}) {
        const int32_t height = 200;
        std::vector<std::atomic<int>> rendered(height);
        int32_t calls = 0;
        const bool complete = runRows(
            height, threads, [&](int32_t y) { return ++calls, y < 37; },
            [&](int, int32_t y) { ++rendered[y]; }, &helpers);
        EXPECT_FALSE(complete);
        EXPECT_EQ(calls, 38);
        for (int32_t y = 0; y < height; ++y) EXPECT_EQ(rendered[y].load(), y < 37 ? 1 : 0) << "row " << y;
    }
}

TEST(RowScheduler, EmptyImageRendersNothing) {
    int calls = 0;
    RenderThreads helpers(3);
    EXPECT_TRUE(runRows(0, 4, [&](int32_t) { return ++calls, true; }, [&](int, int32_t) { ++calls; }, &helpers));
    EXPECT_EQ(calls, 0);
}

// The render on several threads stops as the single-threaded one does, from the calling thread.
TEST(RowScheduler, ThreadedRenderStopsAtTheRefusedRow) {
    const int32_t width = 5, height = 60;
    std::vector<uint8_t> pixels(width * height * 4, 9), result(pixels.size(), 0xEE);
    const ImageDescription image{pixels.data(), width, height, false, {0, 1, 2, 3}};
    FilterCompileResult compiled = compileFilter({"0", "x+y", "1", "2", "3"});
    ASSERT_TRUE(compiled.ok);
    RenderSetUp setUp;
    setUp.threads = 3;
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<int32_t> rows;
    RenderOutcome outcome = renderFilter(compiled.program, image, result.data(), setUp, [&](int32_t row, const PixelContext&) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
        rows.push_back(row);
        return row < 40;
    });
    EXPECT_EQ(outcome, RenderOutcome::kStopped);
    ASSERT_EQ(rows.size(), 41u);
    for (int32_t y = 0; y < height; ++y)
        EXPECT_EQ(result[(y * width + 2) * 4], y < 40 ? 2 + y : 0xEE) << "row " << y;
}

TEST(RowScheduler, EveryStartedThreadRunsTheStartHookFirst) {
    const std::thread::id caller = std::this_thread::get_id();
    std::mutex lock;
    std::set<std::thread::id> started;
    std::atomic<bool> renderedBeforeStart{false};
    RenderThreads helpers(2, [&] {
        std::lock_guard hold(lock);
        started.insert(std::this_thread::get_id());
    });
    EXPECT_TRUE(runRows(
        64, 3, {},
        [&](int worker, int32_t) {
            std::lock_guard hold(lock);
            if (worker != 0 && !started.count(std::this_thread::get_id())) renderedBeforeStart = true;
        },
        &helpers));
    EXPECT_FALSE(renderedBeforeStart);
    EXPECT_EQ(started.size(), 2u) << "the two helper threads";
    EXPECT_EQ(started.count(caller), 0u) << "the calling thread keeps its own priority";
}

// Kept helpers serve run after run, those that fell asleep between runs too, and say when a task
// did not return normally.
TEST(RowScheduler, KeptHelpersServeRunAfterRun) {
    RenderThreads helpers(2);
    ASSERT_EQ(helpers.helpers(), 2);
    std::set<int> workers;
    for (int round = 0; round < 6; ++round) {
        // Odd rounds come after the helpers have stopped polling for work and sleep.
        if (round % 2 == 1) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::vector<std::atomic<int>> rendered(300);
        std::mutex lock;
        EXPECT_TRUE(runRows(
            300, 3, {},
            [&](int worker, int32_t y) {
                ++rendered[y];
                // Slow rows, so that every helper gets some in the end.
                std::this_thread::sleep_for(std::chrono::microseconds(50));
                std::lock_guard hold(lock);
                workers.insert(worker);
            },
            &helpers));
        for (int32_t y = 0; y < 300; ++y) ASSERT_EQ(rendered[y].load(), 1) << "round " << round << ", row " << y;
    }
    EXPECT_EQ(workers, (std::set<int>{0, 1, 2}));

    std::atomic<int> ran{0};
    const std::function<void(int)> failing = [&](int helper) {
        ++ran;
        if (helper == 2) throw std::runtime_error("a task that fails");
    };
    helpers.run(failing);
    EXPECT_FALSE(helpers.finish());
    EXPECT_EQ(ran.load(), 2);
    const std::function<void(int)> counting = [&](int) { ++ran; };
    helpers.run(counting);
    EXPECT_TRUE(helpers.finish()) << "a failure belongs to its own run";
    EXPECT_EQ(ran.load(), 4);
}

}  // namespace
}  // namespace lumen::formula::testing
