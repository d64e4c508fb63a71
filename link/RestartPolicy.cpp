// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/RestartPolicy.h"

#include <algorithm>

namespace velmora {

RestartPolicy::Decision RestartPolicy::failed(Duration now) {
    healthySince_.reset();
    while (!failures_.empty() && now - failures_.front() >= failureWindow) {
        failures_.pop_front();
    }
    failures_.push_back(now);
    Decision decision;
    decision.recentFailures = static_cast<int>(failures_.size());
    if (decision.recentFailures >= failuresToGiveUp) {
        return decision;
    }
    Duration delay = firstDelay;
    for (int i = 0; i < doublings_ && delay < longestDelay; ++i) {
        delay *= 2;
    }
    decision.delay = std::min(delay, longestDelay);
    if (decision.delay < longestDelay) {
        ++doublings_;
    }
    return decision;
}

void RestartPolicy::answered(Duration now) {
    if (!healthySince_) {
        healthySince_ = now;
    } else if (now - *healthySince_ >= healthySpan) {
        doublings_ = 0;
    }
}

void RestartPolicy::reset() {
    failures_.clear();
    doublings_ = 0;
    healthySince_.reset();
}

} // namespace velmora
