// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/IncidentSpan.h"

#include "monitor/history/Clock.h"

#include <algorithm>

namespace velmora {

IncidentSpan IncidentSpan::startingWith(const FamilyMinute& minute) {
    IncidentSpan span;
    span.startMs = minute.minuteMs;
    span.endMs = minute.minuteMs + kMinuteMs;
    span.peakScore = minute.score;
    span.critical = minute.isCritical();
    span.peakRate = minute.rateMbPerMin;
    span.minutes = 1;
    return span;
}

bool IncidentSpan::absorbs(const FamilyMinute& minute, int64_t mergeGapMs) const {
    return minute.minuteMs - endMs < mergeGapMs &&
           startMs - (minute.minuteMs + kMinuteMs) < mergeGapMs;
}

void IncidentSpan::absorb(const FamilyMinute& minute) {
    startMs = std::min(startMs, minute.minuteMs);
    endMs = std::max(endMs, minute.minuteMs + kMinuteMs);
    peakScore = std::max(peakScore, minute.score);
    critical = critical || minute.isCritical();
    peakRate = std::max(peakRate, minute.rateMbPerMin);
    minutes += 1;
}

} // namespace velmora
