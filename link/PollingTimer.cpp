// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PollingTimer.h"

namespace velmora {

void PollingTimer::schedule(Clock::time_point now, std::chrono::milliseconds period) {
    period_ = period.count() > 0 ? period : std::chrono::milliseconds(1);
    next_ = now + period_;
}

bool PollingTimer::takeDueTick(Clock::time_point now) {
    if (!next_ || now < *next_) {
        return false;
    }
    const auto missed = (now - *next_) / period_;
    *next_ += period_ * (missed + 1);
    return true;
}

} // namespace velmora
