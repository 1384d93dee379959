// The runner as the apply and the preview use it: progress and abort, failing sources, the
// channel map, clamping, the recorded filter, and stopping previews.
#include "plugin/filter_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "plugin/image_buffer.h"
#include "plugin/parameter_block.h"

using namespace lumen::plugin;
using namespace std::chrono_literals;

namespace {

struct RecordingHost final : HostProgress {
    std::vector<std::pair<int32_t, int32_t>> calls;
    int abortAtCall = -1;
    void progress(int32_t done, int32_t total) override { calls.emplace_back(done, total); }
    bool abortRequested() override { return static_cast<int>(calls.size()) == abortAtCall; }
};

void fill(ImageBuffer& image, int32_t width, int32_t height, bool alpha, uint8_t value) {
    ASSERT_TRUE(image.allocate(width, height, ImageBuffer::kFourChannels, alpha));
    std::memset(image.pixels(), value, size_t(width) * height * 4);
}

CurrentFilter filterOf(const char* c0, const char* c1, const char* c2, const char* c3, const char* c4) {
    CurrentFilter filter;
    filter.code = {c0, c1, c2, c3, c4};
    filter.title = "Test";
    return filter;
}

class FilterRunnerTest : public testing::Test {
protected:
    ParameterBlock block{};
    RecordingHost host;
    ImageBuffer source, destination;
};

}  // namespace

TEST_F(FilterRunnerTest, ApplyReportsProgressEveryTenRowsThenResets) {
    fill(source, 3, 25, false, 10);
    fill(destination, 3, 25, false, 0);
    FilterRunner runner;
    runner.setFilter(filterOf("0", "r+1", "g", "b", "a"));
    EXPECT_TRUE(runner.runSynchronous(source, destination, host, block));
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 25}, {10, 25}, {20, 25}, {0, 25}};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(destination.pixels()[0], 11);
}

TEST_F(FilterRunnerTest, SinglePixelMakesOneProgressStep) {
    fill(source, 1, 1, false, 10);
    fill(destination, 1, 1, false, 0);
    FilterRunner runner;
    runner.setFilter(filterOf("0", "X+Y+M", "r", "g", "b"));
    EXPECT_TRUE(runner.runSynchronous(source, destination, host, block));
    const std::vector<std::pair<int32_t, int32_t>> expected{{0, 1}, {0, 1}};
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(destination.pixels()[0], 2) << "X = Y = 1, M = 0";
}

TEST_F(FilterRunnerTest, AbortStopsTheApplyAndLeavesTheRestUnrendered) {
    fill(source, 2, 40, false, 10);
    fill(destination, 2, 40, false, 99);
    host.abortAtCall = 2;  // answers true after the progress call for row 10
    FilterRunner runner;
    runner.setFilter(filterOf("0", "0", "0", "0", "0"));
    EXPECT_FALSE(runner.runSynchronous(source, destination, host, block));
    EXPECT_TRUE(runner.aborted());
    EXPECT_EQ(destination.pixels()[0], 0);
    EXPECT_EQ(destination.pixels()[10 * 2 * 4], 99) << "row 10 was not rendered";
}

TEST_F(FilterRunnerTest, FailingSourceDrawsNothingButTheFilterIsRecorded) {
    fill(source, 4, 4, false, 10);
    fill(destination, 4, 4, false, 77);
    FilterRunner runner;
    CurrentFilter filter = filterOf("0", "r", "g+", "b", "a");
    filter.gradientIndex = 12;
    filter.controlValue[5] = 200;
    filter.controlEnabled[5] = 1;
    filter.controlLabel[5] = "Strength";
    filter.databasePath = "/db/Korvath Filters.db/";
    runner.setFilter(filter);
    EXPECT_TRUE(runner.runSynchronous(source, destination, host, block));
    EXPECT_TRUE(host.calls.empty());
    for (int i = 0; i < 4 * 4 * 4; ++i) ASSERT_EQ(destination.pixels()[i], 77);
    EXPECT_EQ(fieldText(block.codeText[2]), "g+");
    EXPECT_EQ(fieldText(block.filterName), "Test");
    EXPECT_EQ(fieldText(block.databaseName), "/db/Korvath Filters.db/");
    EXPECT_EQ(fieldText(block.sliderLabel[5]), "Strength");
    EXPECT_EQ(block.sliderValue[5], 200);
    EXPECT_EQ(block.sliderInUse[5], 1);
    EXPECT_EQ(block.gradientIndex, 12);
}

TEST_F(FilterRunnerTest, ChannelMapAndClamping) {
    fill(source, 2, 2, true, 10);
    fill(destination, 2, 2, true, 0);
    FilterRunner runner;
    runner.setFilter(filterOf("0", "-5", "300", "ctl(0)", "z"));
    runner.setSwapRedBlue(true);
    CurrentFilter filter = runner.filter();
    filter.controlValue[0] = 77;
    runner.setFilter(filter);
    EXPECT_TRUE(runner.runSynchronous(source, destination, host, block));
    const uint8_t* pixel = destination.pixels();
    EXPECT_EQ(pixel[2], 0) << "red is written at byte 2 when red and blue are swapped";
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[0], 77);
    EXPECT_EQ(pixel[3], 3);
}

namespace {

// Holds the worker at row 10 of its first job until the test has started the next one.
class GatedPreview final : public PreviewProgress {
public:
    void started(int32_t lastRow, int32_t) override {
        std::lock_guard lock{mutex_};
        ++starts_;
        lastRow_ = lastRow;
    }
    void reachedRow(int32_t row) override {
        std::unique_lock lock{mutex_};
        if (row == 10 && starts_ == 1) {
            atGate_ = true;
            changed_.notify_all();
            changed_.wait_for(lock, 200ms);
        }
    }
    void finished() override {
        std::lock_guard lock{mutex_};
        ++finishes_;
        changed_.notify_all();
    }
    void waitAtGate() {
        std::unique_lock lock{mutex_};
        ASSERT_TRUE(changed_.wait_for(lock, 10s, [&] { return atGate_; }));
    }
    void waitForFinishes(int count) {
        std::unique_lock lock{mutex_};
        ASSERT_TRUE(changed_.wait_for(lock, 10s, [&] { return finishes_ >= count; }));
    }
    int lastRow() {
        std::lock_guard lock{mutex_};
        return lastRow_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool atGate_ = false;
    int starts_ = 0;
    int finishes_ = 0;
    int lastRow_ = -1;
};

}  // namespace

TEST_F(FilterRunnerTest, NextPreviewStopsTheRunningOneWithinARow) {
    fill(source, 8, 60, false, 10);
    fill(destination, 8, 60, false, 99);
    ImageBuffer secondDestination;
    fill(secondDestination, 8, 60, false, 99);
    GatedPreview preview;
    FilterRunner runner{&preview};
    runner.setFilter(filterOf("0", "1", "1", "1", "1"));
    ASSERT_TRUE(runner.runAsynchronous(source, destination));
    preview.waitAtGate();
    runner.setFilter(filterOf("0", "2", "2", "2", "2"));
    ASSERT_TRUE(runner.runAsynchronous(source, secondDestination));
    preview.waitForFinishes(2);
    runner.stop();

    const size_t row = 8 * 4;
    EXPECT_EQ(destination.pixels()[9 * row], 1);
    EXPECT_EQ(destination.pixels()[10 * row], 99) << "the cancel request is seen before the next row";
    EXPECT_EQ(secondDestination.pixels()[59 * row], 2);
    EXPECT_EQ(preview.lastRow(), 59);
}

TEST_F(FilterRunnerTest, StopWhileIdleOrRunningAndAtTheEnd) {
    fill(source, 64, 400, false, 10);
    fill(destination, 64, 400, false, 0);
    {
        FilterRunner runner;
        runner.stop();
        runner.setFilter(filterOf("0", "cnv(1,2,1,2,4,2,1,2,1,16)", "g", "b", "a"));
        ASSERT_TRUE(runner.runAsynchronous(source, destination));
        runner.stop();
        runner.stop();
        ASSERT_TRUE(runner.runAsynchronous(source, destination));
    }  // the runner's end waits for its worker: a thread left running would end the process
}

// Previews keep their helper threads from one to the next, and make new ones when the thread
// count changes; every preview still renders every row.
TEST_F(FilterRunnerTest, PreviewsOneAfterAnotherOnSeveralThreads) {
    fill(source, 16, 300, false, 10);
    GatedPreview preview;
    FilterRunner runner{&preview};
    int finishes = 0;
    for (const int32_t threads : {3, 3, 2, 4, 1}) {
        fill(destination, 16, 300, false, 0);
        runner.setThreads(threads);
        runner.setFilter(filterOf("0", "x+y", "y/2", "3", "4"));
        ASSERT_TRUE(runner.runAsynchronous(source, destination));
        preview.waitForFinishes(++finishes);
        runner.stop();
        ASSERT_TRUE(runner.renderedEveryPixel()) << threads << " threads";
        for (int32_t y = 0; y < 300; ++y)
            ASSERT_EQ(destination.pixels()[(y * 16 + 5) * 4 + 1], std::min(255, y / 2)) << threads << " threads, row " << y;
    }
}
