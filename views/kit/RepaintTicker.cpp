// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/RepaintTicker.h"

namespace velmora {

RepaintTicker::RepaintTicker(std::shared_ptr<Scheduler> scheduler, std::function<void()> tick,
                             Scheduler::Duration period)
    : scheduler_(std::move(scheduler)), tick_(std::move(tick)), period_(period) {}

RepaintTicker::~RepaintTicker() {
    setRunning(false);
}

void RepaintTicker::setRunning(bool running) {
    if (running == isRunning()) {
        return;
    }
    if (running) {
        schedule();
    } else {
        timer_->cancel();
        timer_.reset();
    }
}

void RepaintTicker::schedule() {
    timer_ = scheduler_->postAfter(period_, [weak = std::weak_ptr<RepaintTicker*>(self_)] {
        const auto self = weak.lock();
        if (!self) {
            return;
        }
        RepaintTicker& ticker = **self;
        ticker.schedule(); // first, so that the tick may stop it
        if (ticker.tick_) {
            ticker.tick_();
        }
    });
}

} // namespace velmora
