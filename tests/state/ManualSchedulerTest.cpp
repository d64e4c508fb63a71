// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ManualScheduler.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;

TEST(ManualScheduler, RunsDueTimersInTimeOrderAtTheirOwnTime) {
    ManualScheduler scheduler;
    std::vector<std::string> log;
    const auto record = [&](std::string name) {
        return [&, name] { log.push_back(name + "@" + std::to_string(scheduler.now() / 1ms)); };
    };
    scheduler.postAfter(300ms, record("c"));
    scheduler.postAfter(100ms, record("a"));
    scheduler.postAfter(100ms, record("b"));
    scheduler.postAfter(900ms, record("late"));
    scheduler.advance(500ms);
    EXPECT_EQ(log, (std::vector<std::string>{"a@100", "b@100", "c@300"}));
    EXPECT_EQ(scheduler.now(), 500ms);
    EXPECT_EQ(scheduler.scheduledTimerCount(), 1u);
}

TEST(ManualScheduler, RunsTimersAndPostsScheduledByTasksWithinTheSpan) {
    ManualScheduler scheduler;
    std::vector<std::string> log;
    scheduler.postAfter(100ms, [&] {
        log.push_back("first");
        scheduler.post([&] { log.push_back("posted@" + std::to_string(scheduler.now() / 1ms)); });
        scheduler.postAfter(100ms, [&] { log.push_back("chained"); });
        scheduler.postAfter(1s, [&] { log.push_back("beyond"); });
    });
    scheduler.advance(250ms);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "posted@100", "chained"}));
}

TEST(ManualScheduler, CancelledTimersNeverRun) {
    ManualScheduler scheduler;
    int runs = 0;
    auto first = scheduler.postAfter(100ms, [&] { ++runs; });
    std::shared_ptr<TimerHandle> second;
    scheduler.postAfter(50ms, [&] { second->cancel(); });
    second = scheduler.postAfter(100ms, [&] { ++runs; });
    first->cancel();
    scheduler.advance(1s);
    EXPECT_EQ(runs, 0);
    first->cancel();
    EXPECT_EQ(scheduler.scheduledTimerCount(), 0u);
}

TEST(ManualScheduler, AcceptsPostsFromOtherThreads) {
    ManualScheduler scheduler;
    int runs = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&] {
            for (int j = 0; j < 100; ++j) {
                scheduler.post([&] { ++runs; });
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(scheduler.postedTaskCount(), 400u);
    EXPECT_EQ(scheduler.runPending(), 400u);
    EXPECT_EQ(runs, 400);
}

} // namespace
} // namespace velmora
