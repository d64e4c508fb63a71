// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/Scheduler.h"

#include <chrono>
#include <memory>

namespace velmora {

class PopoverViewModel;

// Walks the popover's surfaces in a loop for the memory soak (bench/soak): the first row's
// detail opened and closed, then the advanced history, its first offender's detail, and back
// to the live surface, one step every `step`. Only started by the soak's launch option.
class SoakDriver {
public:
    SoakDriver(std::weak_ptr<PopoverViewModel> viewModel, std::shared_ptr<Scheduler> scheduler,
               Scheduler::Duration step);
    ~SoakDriver();
    SoakDriver(const SoakDriver&) = delete;
    SoakDriver& operator=(const SoakDriver&) = delete;

    void start();
    // How many steps have run (a step with nothing to act on still counts).
    int stepsTaken() const { return steps_; }

private:
    void takeStep();
    void schedule();

    std::weak_ptr<PopoverViewModel> viewModel_;
    std::shared_ptr<Scheduler> scheduler_;
    Scheduler::Duration step_;
    std::shared_ptr<TimerHandle> timer_;
    int steps_ = 0;
};

} // namespace velmora
