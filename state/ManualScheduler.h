// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Scheduler.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace velmora {

class ManualTimerState;

// A scheduler whose clock only moves when told to. Tests drive every timer with it:
// advance() runs the timers that fall due, in time order (ties in the order they were
// scheduled), each at its own due time, together with the tasks posted meanwhile; a timer
// scheduled by a task runs within the same advance() when it falls due inside the span.
// post() may be called from any thread; the tasks run on the thread that calls advance() or
// runPending().
class ManualScheduler final : public Scheduler {
public:
    ManualScheduler() = default;
    ManualScheduler(const ManualScheduler&) = delete;
    ManualScheduler& operator=(const ManualScheduler&) = delete;

    void post(std::function<void()> task) override;
    std::shared_ptr<TimerHandle> postAfter(Duration delay, std::function<void()> task) override;
    Duration now() const override;

    // Moves the clock forward by `span`, running what falls due on the way.
    void advance(Duration span);
    // Runs every posted task, including tasks posted by them. Returns how many ran.
    std::size_t runPending();

    // Timers that are neither cancelled nor run yet.
    std::size_t scheduledTimerCount() const;
    std::size_t postedTaskCount() const;

private:
    struct Timer {
        Duration due;
        std::uint64_t sequence;
        std::shared_ptr<ManualTimerState> state;
        std::function<void()> task;
    };

    bool runNextTimerDueBy(Duration limit);

    mutable std::mutex mutex_;
    Duration now_{0};
    std::uint64_t nextSequence_ = 0;
    std::deque<std::function<void()>> posted_;
    std::vector<Timer> timers_;
};

} // namespace velmora
