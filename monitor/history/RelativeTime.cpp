// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/RelativeTime.h"

#include "base/AgoText.h"
#include "monitor/history/Clock.h"

namespace velmora {

std::string agoText(int64_t elapsedMs) {
    return agoText(elapsedMs / 1000, kHistoryAgo);
}

std::string durationText(int64_t durationMs) {
    if (durationMs < kHourMs) {
        return std::to_string(std::max<int64_t>(durationMs, 0) / kMinuteMs) + "m";
    }
    if (durationMs < kDayMs) {
        return std::to_string(durationMs / kHourMs) + "h " +
               std::to_string(durationMs % kHourMs / kMinuteMs) + "m";
    }
    return std::to_string(durationMs / kDayMs) + "d " +
           std::to_string(durationMs % kDayMs / kHourMs) + "h";
}

} // namespace velmora
