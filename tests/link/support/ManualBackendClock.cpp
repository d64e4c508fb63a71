// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/link/support/ManualBackendClock.h"

namespace velmora::testing {

struct ManualBackendClock::Alarm final : BackendAlarm {
    std::mutex mutex;
    bool cancelled = false;
    std::function<void()> task;

    void cancel() override {
        std::lock_guard lock(mutex);
        cancelled = true;
        task = nullptr;
    }
};

BackendClock::Duration ManualBackendClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

std::shared_ptr<BackendAlarm> ManualBackendClock::after(Duration delay,
                                                        std::function<void()> task) {
    auto alarm = std::make_shared<Alarm>();
    alarm->task = std::move(task);
    std::lock_guard lock(mutex_);
    alarms_.emplace(Key{now_ + std::max(delay, Duration{0}), nextSequence_++}, alarm);
    return alarm;
}

void ManualBackendClock::advance(Duration span) {
    Duration end;
    {
        std::lock_guard lock(mutex_);
        end = now_ + span;
    }
    for (;;) {
        std::shared_ptr<Alarm> alarm;
        {
            std::lock_guard lock(mutex_);
            if (alarms_.empty() || alarms_.begin()->first.first > end) {
                now_ = end;
                return;
            }
            now_ = std::max(now_, alarms_.begin()->first.first);
            alarm = alarms_.begin()->second;
            alarms_.erase(alarms_.begin());
        }
        std::function<void()> task;
        {
            std::lock_guard lock(alarm->mutex);
            if (!alarm->cancelled) {
                task = std::move(alarm->task);
            }
        }
        if (task) {
            task();
        }
    }
}

std::size_t ManualBackendClock::pendingAlarms() const {
    std::lock_guard lock(mutex_);
    std::size_t count = 0;
    for (const auto& [key, alarm] : alarms_) {
        std::lock_guard alarmLock(alarm->mutex);
        count += alarm->cancelled ? 0 : 1;
    }
    return count;
}

} // namespace velmora::testing
