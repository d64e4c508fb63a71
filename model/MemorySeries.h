// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
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

// The moment a family's verdict changed to `verdict`, `agoSeconds` before the newest point (in
// the history: an incident began, at its peak verdict).
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

// What the footprint was made of at each point of a series: anonymous memory, memory swapped
// out, and shared memory counted for the family. Each list is aligned with the series' points
// from the newest end (a shorter list covers only the newest points; an empty one: none of that
// kind). Every key is defaulted.
struct MemoryKindPoints {
    std::vector<uint64_t> anonKiB;
    std::vector<uint64_t> swapKiB;
    std::vector<uint64_t> sharedKiB;

    bool operator==(const MemoryKindPoints&) const = default;
};

// The one member whose own growth speaks for its family ("PID 4242 (worker) grows on its own"):
// its footprint at the series' moments, aligned from the newest end, and the trend its own
// verdict was drawn from. `pid` is required.
struct MemberMemorySeries {
    int64_t pid = 0;
    std::string name;
    std::vector<uint64_t> footprintKiB;
    std::optional<MemoryTrendLine> trend;

    bool operator==(const MemberMemorySeries&) const = default;
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
    // How long before now the newest point was taken (0 for a live family).
    double newestAgoSeconds = 0;
    // The wall-clock time "now" stands for (seconds since the Unix epoch), so that a chart can
    // say clock times and dates; none from an older monitor.
    std::optional<double> nowWallSeconds;
    uint64_t anonKiB = 0;
    uint64_t swapKiB = 0;
    uint64_t sharedKiB = 0;
    std::optional<MemoryTrendLine> trend;
    std::vector<VerdictMark> marks;
    std::optional<RunsOutLevel> runsOut;
    // When the out-of-memory killer ended one of its processes, in seconds before the newest
    // point.
    std::vector<double> outOfMemoryKills;
    // The footprint's parts over time, when the monitor keeps them.
    std::optional<MemoryKindPoints> kinds;
    // The growing member's own footprint, when one member speaks for the family.
    std::optional<MemberMemorySeries> growingMember;

    bool operator==(const MemorySeries&) const = default;
};

// How long before now the point at `index` was taken, and a moment given before the newest
// point (a mark, a kill) as seconds before now.
double agoSecondsOf(const MemorySeries& series, std::size_t index);
double nowAgo(const MemorySeries& series, double agoOfNewest);

} // namespace velmora
