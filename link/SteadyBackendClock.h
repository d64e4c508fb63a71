// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/BackendClock.h"

#include <memory>
#include <thread>

namespace velmora {

// BackendClock on std::chrono::steady_clock, with one alarm thread that runs the alarms in the
// order they fall due (ties in the order they were set).
class SteadyBackendClock final : public BackendClock {
public:
    SteadyBackendClock();
    ~SteadyBackendClock() override;
    SteadyBackendClock(const SteadyBackendClock&) = delete;
    SteadyBackendClock& operator=(const SteadyBackendClock&) = delete;

    Duration now() const override;
    std::shared_ptr<BackendAlarm> after(Duration delay, std::function<void()> task) override;

private:
    struct AlarmTask;
    struct Shared;
    class Alarm;

    static void run(const std::shared_ptr<Shared>& shared);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

} // namespace velmora
