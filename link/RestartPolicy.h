// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <deque>
#include <optional>

namespace velmora {

// When to start a backend again after it failed (exited, was killed, stopped answering or
// could not be started). The delays double from 1 s up to at most 60 s; after 5 minutes of
// healthy answers they start again from 1 s; the fifth failure within 10 minutes gives up,
// until reset() (the person asked to try again). Pure: every operation takes the time.
class RestartPolicy {
public:
    using Duration = std::chrono::nanoseconds;

    static constexpr Duration firstDelay = std::chrono::seconds(1);
    static constexpr Duration longestDelay = std::chrono::seconds(60);
    static constexpr Duration healthySpan = std::chrono::minutes(5);
    static constexpr Duration failureWindow = std::chrono::minutes(10);
    static constexpr int failuresToGiveUp = 5;

    struct Decision {
        std::optional<Duration> delay; // absent: give up
        int recentFailures = 0;        // failures within the window, this one included
    };

    // A backend failed at `now`.
    Decision failed(Duration now);
    // A good answer arrived at `now`.
    void answered(Duration now);
    // Forgets every failure: the next one waits firstDelay again.
    void reset();

private:
    std::deque<Duration> failures_;
    int doublings_ = 0;
    std::optional<Duration> healthySince_;
};

} // namespace velmora
