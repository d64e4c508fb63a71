// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/ManualScheduler.h"

#include <algorithm>
#include <atomic>

namespace velmora {

class ManualTimerState final : public TimerHandle {
public:
    void cancel() override { cancelled_.store(true); }
    bool cancelled() const { return cancelled_.load(); }

private:
    std::atomic<bool> cancelled_{false};
};

void ManualScheduler::post(std::function<void()> task) {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
}

std::shared_ptr<TimerHandle> ManualScheduler::postAfter(Duration delay,
                                                        std::function<void()> task) {
    auto state = std::make_shared<ManualTimerState>();
    std::lock_guard lock(mutex_);
    timers_.push_back(
        Timer{now_ + std::max(delay, Duration{0}), nextSequence_++, state, std::move(task)});
    return state;
}

Scheduler::Duration ManualScheduler::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualScheduler::advance(Duration span) {
    Duration target;
    {
        std::lock_guard lock(mutex_);
        target = now_ + std::max(span, Duration{0});
    }
    runPending();
    while (runNextTimerDueBy(target)) {
        runPending();
    }
    {
        std::lock_guard lock(mutex_);
        now_ = std::max(now_, target);
    }
    runPending();
}

bool ManualScheduler::runNextTimerDueBy(Duration limit) {
    std::function<void()> task;
    std::shared_ptr<ManualTimerState> state;
    {
        std::lock_guard lock(mutex_);
        std::erase_if(timers_, [](const Timer& timer) { return timer.state->cancelled(); });
        auto next =
            std::min_element(timers_.begin(), timers_.end(), [](const Timer& a, const Timer& b) {
                return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
            });
        if (next == timers_.end() || next->due > limit) {
            return false;
        }
        now_ = std::max(now_, next->due);
        task = std::move(next->task);
        state = std::move(next->state);
        timers_.erase(next);
    }
    if (!state->cancelled()) {
        task();
    }
    return true;
}

std::size_t ManualScheduler::runPending() {
    std::size_t ran = 0;
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (posted_.empty()) {
                return ran;
            }
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
        ++ran;
    }
}

std::size_t ManualScheduler::scheduledTimerCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(timers_.begin(), timers_.end(),
                      [](const Timer& timer) { return !timer.state->cancelled(); }));
}

std::size_t ManualScheduler::postedTaskCount() const {
    std::lock_guard lock(mutex_);
    return posted_.size();
}

} // namespace velmora
