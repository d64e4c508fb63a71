// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <cstdint>
#include <string>

namespace velmora {

// What the monitor knows about one family at the end of one minute: its one-minute median
// footprint and the score and verdict of that minute. Minutes at `suspect` or above are
// suspect windows; nearby ones are compacted into one incident.
struct FamilyMinute {
    std::string key;
    std::string title;
    int64_t minuteMs = 0; // start of the minute, epoch milliseconds
    uint64_t medianBytes = 0;
    uint32_t score = 0;
    FindingVerdict verdict = FindingVerdict::normal;
    double rateMbPerMin = 0.0;

    bool isSuspect() const {
        return verdict == FindingVerdict::suspect || verdict == FindingVerdict::probable ||
               verdict == FindingVerdict::criticalRunaway;
    }
    bool isCritical() const { return verdict == FindingVerdict::criticalRunaway; }

    bool operator==(const FamilyMinute&) const = default;
};

// One stored one-minute footprint, as read back (for instance to warm the live series after a
// restart).
struct FootprintSample {
    int64_t minuteMs = 0;
    uint64_t medianBytes = 0;
    uint32_t score = 0;

    bool operator==(const FootprintSample&) const = default;
};

// A moment in a family's stored history that a chart marks: an incident's start (and whether it
// went critical) or an out-of-memory kill of one of its processes.
struct FamilyMoment {
    enum class Kind { incident, criticalIncident, outOfMemoryKill };
    int64_t atMs = 0;
    Kind kind = Kind::incident;

    bool operator==(const FamilyMoment&) const = default;
};

// One day of a family's stored minutes: how many, and their mean.
struct DailyFootprint {
    int64_t day = 0; // days since the epoch (UTC)
    uint64_t samples = 0;
    uint64_t meanBytes = 0;

    bool operator==(const DailyFootprint&) const = default;
};

} // namespace velmora
