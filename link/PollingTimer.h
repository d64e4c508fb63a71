// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>

namespace velmora {

// The deadlines of a repeating timer, kept apart from any thread so they can be checked with
// a hand-driven clock. Ticks that fall due while the owner is busy coalesce: after a long
// block exactly one tick is due, and the next deadline is the first one still ahead.
class PollingTimer {
public:
    using Clock = std::chrono::steady_clock;

    // Restarts the timer: first deadline now + period, then every period.
    void schedule(Clock::time_point now, std::chrono::milliseconds period);
    void cancel() { next_.reset(); }

    std::optional<Clock::time_point> nextDeadline() const { return next_; }

    // Whether a tick is due at `now`; when it is, the timer moves to its next deadline
    // after `now`, dropping the deadlines that were missed.
    bool takeDueTick(Clock::time_point now);

private:
    std::optional<Clock::time_point> next_;
    std::chrono::milliseconds period_{0};
};

} // namespace velmora
