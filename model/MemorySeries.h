// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// The straight line the growth rate was judged from: it starts `startAgoSeconds` before the
// newest point at `startKiB` and rises by `kiBPerSecond`. Every key is required.
struct MemoryTrendLine {
    double startAgoSeconds = 0;
    double startKiB = 0;
    double kiBPerSecond = 0;

    bool operator==(const MemoryTrendLine&) const = default;
};

// The moment a family's verdict changed to `verdict`, `agoSeconds` before the newest point.
// Both keys are required.
struct VerdictMark {
    double agoSeconds = 0;
    FindingVerdict verdict = FindingVerdict::normal;

    bool operator==(const VerdictMark&) const = default;
};

// Where memory runs out at the family's rate: the footprint it would then hold, reached
// `inSeconds` after the newest point. Both keys are required.
struct RunsOutLevel {
    double inSeconds = 0;
    uint64_t levelKiB = 0;

    bool operator==(const RunsOutLevel&) const = default;
};

// A family's memory over the time the monitor has for it, sent inside the detail only while a
// detail is open. `footprintKiB` holds the points oldest first, `stepSeconds` apart, the last
// one being the footprint now; the current footprint's make-up (anonymous, swapped, shared)
// comes beside it. Every key is defaulted or optional.
struct MemorySeries {
    // At most this many points are sent for one series.
    static constexpr std::size_t maxPoints = 360;

    double stepSeconds = 60;
    std::vector<uint64_t> footprintKiB;
    uint64_t anonKiB = 0;
    uint64_t swapKiB = 0;
    uint64_t sharedKiB = 0;
    std::optional<MemoryTrendLine> trend;
    std::vector<VerdictMark> marks;
    std::optional<RunsOutLevel> runsOut;

    bool operator==(const MemorySeries&) const = default;
};

// How long before the newest point the point at `index` was taken.
double agoSecondsOf(const MemorySeries& series, std::size_t index);

} // namespace velmora
