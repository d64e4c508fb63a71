// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/OffenderStats.h"

#include "monitor/history/ActionRecord.h"
#include "monitor/history/Clock.h"

namespace velmora {

HistoryWindow HistoryWindow::endingAt(int64_t nowMs) {
    return HistoryWindow{nowMs - 7 * kDayMs, nowMs - 30 * kDayMs};
}

uint32_t OffenderStats::actionCount(const std::string& actionId) const {
    auto found = succeededActions30d.find(actionId);
    return found == succeededActions30d.end() ? 0 : found->second;
}

uint32_t OffenderStats::outOfMemoryKills30d() const {
    return actionCount(kOutOfMemoryKillAction);
}

} // namespace velmora
