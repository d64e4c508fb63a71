// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/BackendClock.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace velmora::testing {

// A BackendClock that only moves when a test says so. advance() runs the alarms that fall
// due, in time order, on the calling thread, each with the clock set to its due time.
class ManualBackendClock final : public BackendClock {
public:
    Duration now() const override;
    std::shared_ptr<BackendAlarm> after(Duration delay, std::function<void()> task) override;

    void advance(Duration span);
    // Alarms neither cancelled nor run yet.
    std::size_t pendingAlarms() const;

private:
    struct Alarm;
    using Key = std::pair<Duration, std::uint64_t>;

    mutable std::mutex mutex_;
    Duration now_{std::chrono::hours(1)}; // not zero, so that "at zero" is never a default
    std::uint64_t nextSequence_ = 0;
    std::map<Key, std::shared_ptr<Alarm>> alarms_;
};

} // namespace velmora::testing
