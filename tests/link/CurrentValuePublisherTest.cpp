// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CurrentValuePublisher.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;

TEST(CurrentValuePublisher, ANewSubscriberFirstGetsTheCurrentValueThenEveryLaterOne) {
    CurrentValuePublisher<int> publisher(1);
    std::vector<int> seen;
    auto token = publisher.subscribe([&](const int& v) { seen.push_back(v); });
    EXPECT_EQ(seen, std::vector<int>{1});
    publisher.publish(2);
    publisher.publish(3);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(publisher.value(), 3);
    token.reset();
    publisher.publish(4);
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(publisher.subscriberCount(), 0u);
}

TEST(CurrentValuePublisher, ModifyPublishesOnlyWhenTheChangeSaysSo) {
    CurrentValuePublisher<int> publisher(5);
    int deliveries = 0;
    auto token = publisher.subscribe([&](const int&) { ++deliveries; });
    EXPECT_FALSE(publisher.modify([](int&) { return false; }));
    EXPECT_TRUE(publisher.modify([](int& v) {
        v += 1;
        return true;
    }));
    EXPECT_EQ(deliveries, 2);
    EXPECT_EQ(publisher.value(), 6);
}

TEST(CurrentValuePublisher, ATokenDestroyedInsideItsOwnHandlerEndsTheSubscription) {
    CurrentValuePublisher<int> publisher(0);
    std::unique_ptr<Subscription> token;
    int calls = 0;
    token = publisher.subscribe([&](const int& v) {
        ++calls;
        if (v == 1) {
            token.reset();
        }
    });
    publisher.publish(1);
    publisher.publish(2);
    EXPECT_EQ(calls, 2); // the initial value and 1
}

TEST(CurrentValuePublisher, AHandlerMaySubscribeAndPublishAgainWithoutDeadlock) {
    CurrentValuePublisher<int> publisher(0);
    std::vector<int> outer;
    std::vector<int> inner;
    std::unique_ptr<Subscription> innerToken;
    auto token = publisher.subscribe([&](const int& v) {
        outer.push_back(v);
        if (v == 1) {
            innerToken = publisher.subscribe([&](const int& w) { inner.push_back(w); });
            publisher.publish(2);
        }
    });
    publisher.publish(1);
    EXPECT_EQ(outer, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(inner, (std::vector<int>{1, 2}));
}

TEST(CurrentValuePublisher, DestroyingATokenOnAnotherThreadWaitsForTheRunningDelivery) {
    CurrentValuePublisher<int> publisher(0);
    std::atomic<bool> inHandler{false};
    std::atomic<bool> handlerFinished{false};
    std::atomic<bool> calledAfterReset{false};
    std::atomic<bool> resetDone{false};
    auto token = publisher.subscribe([&](const int& v) {
        if (resetDone) {
            calledAfterReset = true;
        }
        if (v == 1) {
            inHandler = true;
            std::this_thread::sleep_for(100ms);
            handlerFinished = true;
        }
    });
    std::thread publishing([&] {
        publisher.publish(1);
        publisher.publish(2);
    });
    while (!inHandler) {
        std::this_thread::yield();
    }
    token.reset();
    EXPECT_TRUE(handlerFinished); // the destructor returned only after the delivery ended
    resetDone = true;
    publishing.join();
    EXPECT_FALSE(calledAfterReset);
}

TEST(CurrentValuePublisher, ASubscriberNeverSeesValuesOutOfOrderWhileRacingPublishers) {
    CurrentValuePublisher<int> publisher(0);
    std::atomic<bool> stop{false};
    std::thread publishing([&] {
        for (int i = 1; i <= 20000; ++i) {
            publisher.publish(i);
        }
        stop = true;
    });
    int violations = 0;
    while (!stop) {
        int last = -1;
        auto token = publisher.subscribe([&](const int& v) {
            if (v <= last) {
                ++violations;
            }
            last = v;
        });
    }
    publishing.join();
    EXPECT_EQ(violations, 0);
}

TEST(CurrentValuePublisher, ATokenMayOutliveItsPublisher) {
    auto publisher = std::make_unique<CurrentValuePublisher<int>>(7);
    auto token = publisher->subscribe([](const int&) {});
    publisher.reset();
    token.reset(); // no crash, no leak (checked by the sanitizer builds)
}

} // namespace
} // namespace velmora
