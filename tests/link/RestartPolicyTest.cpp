// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RestartPolicy.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Duration = RestartPolicy::Duration;

// The delays a policy gives for failures at the given times.
std::vector<std::optional<Duration>> delaysFor(RestartPolicy& policy,
                                               std::initializer_list<Duration> times) {
    std::vector<std::optional<Duration>> delays;
    for (const Duration at : times) {
        delays.push_back(policy.failed(at).delay);
    }
    return delays;
}

TEST(RestartPolicy, DelaysDoubleFromOneSecondAndNeverExceedAMinute) {
    RestartPolicy policy;
    // Failures three minutes apart: never five within ten minutes, so it never gives up.
    std::vector<std::optional<Duration>> delays;
    for (int i = 0; i < 9; ++i) {
        delays.push_back(policy.failed(3min * i).delay);
    }
    EXPECT_EQ(delays,
              (std::vector<std::optional<Duration>>{1s, 2s, 4s, 8s, 16s, 32s, 60s, 60s, 60s}));
}

TEST(RestartPolicy, TheFifthFailureWithinTenMinutesGivesUpUntilReset) {
    RestartPolicy policy;
    EXPECT_EQ(delaysFor(policy, {0s, 1s, 3s, 7s}),
              (std::vector<std::optional<Duration>>{1s, 2s, 4s, 8s}));
    const auto fifth = policy.failed(15s);
    EXPECT_EQ(fifth.delay, std::nullopt);
    EXPECT_EQ(fifth.recentFailures, 5);
    policy.reset();
    EXPECT_EQ(policy.failed(16s).delay, 1s);
}

TEST(RestartPolicy, FailuresOlderThanTenMinutesNoLongerCount) {
    RestartPolicy policy;
    delaysFor(policy, {0s, 1min, 2min, 3min});
    // The first failure is exactly ten minutes old: four failures in the window, not five.
    const auto decision = policy.failed(10min);
    EXPECT_EQ(decision.recentFailures, 4);
    EXPECT_TRUE(decision.delay.has_value());
    EXPECT_EQ(policy.failed(10min + 1s).delay, std::nullopt); // five again
}

TEST(RestartPolicy, FiveMinutesOfHealthyAnswersResetTheDelay) {
    RestartPolicy policy;
    delaysFor(policy, {0s, 1s, 3s}); // next would be 8 s
    policy.answered(10s);
    policy.answered(10s + 4min + 59s);
    EXPECT_EQ(policy.failed(10s + 5min).delay, 8s); // answers over 4 min 59 s only
    policy.answered(6min);
    policy.answered(11min);
    EXPECT_EQ(policy.failed(11min + 1s).delay, 1s);
    // The healthy span starts again after every failure.
    policy.answered(12min);
    policy.answered(16min);
    EXPECT_EQ(policy.failed(16min).delay, 2s);
}

} // namespace
} // namespace velmora
