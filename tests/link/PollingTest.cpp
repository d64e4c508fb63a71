// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PollingInterval.h"
#include "link/PollingTimer.h"
#include "link/SerialWorker.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;

TEST(PollingInterval, ClampsToHalfASecondAndTenSeconds) {
    PollingInterval interval;
    EXPECT_EQ(interval.seconds(), 1.0);
    EXPECT_EQ(interval.retime(0.2, false), 500ms);
    EXPECT_EQ(interval.seconds(), 0.5);
    EXPECT_EQ(interval.retime(60.0, false), 10000ms);
    EXPECT_EQ(interval.seconds(), 10.0);
    EXPECT_EQ(PollingInterval::clamped(0.5), 0.5);
    EXPECT_EQ(PollingInterval::clamped(-3), 0.5);
    EXPECT_EQ(PollingInterval::clamped(std::nan("")), 0.5);
    EXPECT_EQ(PollingInterval::clamped(10.0), 10.0);
}

TEST(PollingInterval, IgnoresChangesInsideTheDeadBandUnlessForced) {
    PollingInterval interval;
    EXPECT_EQ(interval.retime(1.02, false), std::nullopt); // 1020 ms after 1000 ms
    EXPECT_EQ(interval.seconds(), 1.0);
    EXPECT_EQ(interval.retime(1.05, false), 1050ms); // 1050 ms after 1000 ms retimes
    EXPECT_EQ(interval.seconds(), 1.05);
    EXPECT_EQ(interval.retime(1.05, false), std::nullopt);
    EXPECT_EQ(interval.retime(1.05, true), 1050ms);
    EXPECT_EQ(interval.retime(0.2, false), 500ms);
    EXPECT_EQ(interval.retime(0.1, false), std::nullopt); // clamps to the same 0.5 s
}

TEST(PollingInterval, RoundsThePeriodToWholeMilliseconds) {
    PollingInterval interval;
    EXPECT_EQ(interval.retime(1.2345, false), 1235ms);
    EXPECT_EQ(interval.retime(2.0004, false), 2000ms);
}

TEST(PollingTimer, FiresOncePerPeriodAndCoalescesMissedTicks) {
    using Clock = PollingTimer::Clock;
    const Clock::time_point start{};
    PollingTimer timer;
    EXPECT_FALSE(timer.takeDueTick(start));
    timer.schedule(start, 1000ms);
    EXPECT_FALSE(timer.takeDueTick(start + 999ms));
    EXPECT_TRUE(timer.takeDueTick(start + 1000ms));
    EXPECT_FALSE(timer.takeDueTick(start + 1500ms));
    EXPECT_EQ(timer.nextDeadline(), start + 2000ms);
    // Blocked for five periods: exactly one tick is due, the next stays on the grid.
    EXPECT_TRUE(timer.takeDueTick(start + 6300ms));
    EXPECT_FALSE(timer.takeDueTick(start + 6900ms));
    EXPECT_EQ(timer.nextDeadline(), start + 7000ms);
    // Rescheduling restarts the grid from now.
    timer.schedule(start + 6950ms, 500ms);
    EXPECT_EQ(timer.nextDeadline(), start + 7450ms);
    timer.cancel();
    EXPECT_FALSE(timer.takeDueTick(start + 100000ms));
}

TEST(SerialWorker, RunsTasksOneAtATimeInOrder) {
    std::mutex mutex;
    std::vector<int> order;
    std::atomic<int> running{0};
    std::atomic<bool> overlapped{false};
    SerialWorker worker({});
    for (int i = 0; i < 200; ++i) {
        worker.post([&, i] {
            if (running.fetch_add(1) != 0) {
                overlapped = true;
            }
            {
                std::lock_guard lock(mutex);
                order.push_back(i);
            }
            running.fetch_sub(1);
        });
    }
    worker.waitForIdle();
    EXPECT_FALSE(overlapped);
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(order[i], i);
    }
}

TEST(SerialWorker, TicksThatFallDuringABlockedTaskCoalesceIntoOne) {
    std::atomic<int> ticks{0};
    SerialWorker worker([&] { ++ticks; });
    worker.schedulePolling(40ms);
    worker.post([] { std::this_thread::sleep_for(250ms); }); // six periods
    worker.waitForIdle();
    std::this_thread::sleep_for(10ms);
    // One coalesced tick after the block, not six (a second one only on a loaded machine).
    EXPECT_GE(ticks.load(), 1);
    EXPECT_LE(ticks.load(), 2);
}

TEST(SerialWorker, StoppingDropsPendingWorkAndLaterPosts) {
    std::atomic<int> ran{0};
    std::atomic<bool> release{false};
    {
        SerialWorker worker({});
        worker.post([&] {
            while (!release) {
                std::this_thread::yield();
            }
        });
        worker.post([&] { ++ran; });
        worker.stop();
        worker.post([&] { ++ran; });
        release = true;
        worker.waitForIdle(); // returns at once: the worker is stopped
    }
    EXPECT_EQ(ran.load(), 0);
}

TEST(SerialWorker, ATaskThatThrowsDoesNotEndTheWorker) {
    std::atomic<bool> ranAfter{false};
    SerialWorker worker({});
    worker.post([] { throw std::runtime_error("boom"); });
    worker.post([&] { ranAfter = true; });
    worker.waitForIdle();
    EXPECT_TRUE(ranAfter);
}

} // namespace
} // namespace velmora
