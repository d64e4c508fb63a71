// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/FamilyMinute.h"

#include <cstdint>

namespace velmora {

// One incident: consecutive or nearby suspect minutes of one family, compacted into a row.
// `endMs` is the end of its last suspect minute.
struct IncidentSpan {
    int64_t id = 0;
    int64_t startMs = 0;
    int64_t endMs = 0;
    uint32_t peakScore = 0;
    bool critical = false;
    double peakRate = 0.0;
    int64_t minutes = 0;

    // A new incident made of one suspect minute.
    static IncidentSpan startingWith(const FamilyMinute& minute);

    // True when `minute` lies less than `mergeGapMs` from this incident (after its end or,
    // for a late sample, before its start), so it belongs to this incident, not a new one.
    bool absorbs(const FamilyMinute& minute, int64_t mergeGapMs) const;

    // Extends the incident by `minute`: end, peaks, criticality and length.
    void absorb(const FamilyMinute& minute);

    bool operator==(const IncidentSpan&) const = default;
};

} // namespace velmora
