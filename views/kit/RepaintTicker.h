// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Scheduler.h"

#include <chrono>
#include <functional>
#include <memory>

namespace velmora {

// Calls `tick` on the main thread every `period` (on the scheduler's clock) while it runs, for
// texts that count time ("next try in 4 s"). Stopped, it holds no timer at all: the app runs
// all day and a healthy one must not wake up for nothing. Destroying it stops it.
class RepaintTicker {
public:
    RepaintTicker(std::shared_ptr<Scheduler> scheduler, std::function<void()> tick,
                  Scheduler::Duration period = std::chrono::seconds(1));
    ~RepaintTicker();
    RepaintTicker(const RepaintTicker&) = delete;
    RepaintTicker& operator=(const RepaintTicker&) = delete;

    // Starting a running ticker, or stopping a stopped one, does nothing.
    void setRunning(bool running);
    bool isRunning() const { return timer_ != nullptr; }

private:
    void schedule();

    std::shared_ptr<Scheduler> scheduler_;
    std::function<void()> tick_;
    Scheduler::Duration period_;
    std::shared_ptr<TimerHandle> timer_;
    // Held weakly by the scheduled task, so a task that outlives the ticker does nothing.
    std::shared_ptr<RepaintTicker*> self_ = std::make_shared<RepaintTicker*>(this);
};

} // namespace velmora
