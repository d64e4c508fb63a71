// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/live/FamilyKinds.h"
#include "monitor/live/ForecastView.h"
#include "monitor/live/OutOfMemoryKill.h"
#include "monitor/proc/MachineState.h"
#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcessIdentity.h"
#include "monitor/scoring/FamilyAssessment.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One process of a published family.
struct MemberView {
    ProcessIdentity identity;
    pid_t ppid = 0;
    std::string name;    // display text
    std::string cmdline; // display text, capped
    uint64_t footprintKiB = 0;
    uint64_t anonKiB = 0;
    uint64_t swapKiB = 0;
    uint64_t sharedKiB = 0;       // shared memory counted for it (in its footprint)
    uint64_t growthKiB = 0;       // above the lowest footprint the sampler saw
    uint64_t sharedGrowthKiB = 0; // shared memory above the lowest the sampler saw
    bool isProtected = false;
    bool growing = false; // judged on its own, its growth is what the family is flagged for
};

enum class SmokeRole { none, recovery, restart };

// A family as the latest pass left it.
struct FamilyView {
    std::string key;
    std::string title;
    std::string appId;
    std::string workspace;
    std::vector<MemberView> members; // largest first
    uint64_t footprintKiB = 0;
    uint64_t sharedKiB = 0; // the part of the footprint in shared memory
    // What the family is shown and ranked by: its own judgement, or, when one member's own growth
    // flags more (the others coming and going hide it in the total), that member's.
    FamilyAssessment assessment;
    // The family's own judgement, present when a member's speaks for it.
    std::optional<FamilyAssessment> familyAssessment;
    std::vector<uint32_t> sparklineKiB; // newest bucket medians, oldest first
    KindBuckets kindsKiB;               // the same buckets' make-up, when kept
    // The growing member's own bucket medians over the same buckets, when one speaks for it.
    std::vector<uint32_t> growerSparklineKiB;
    double firstSeen = 0;     // monotonic seconds
    bool isProtected = false; // holds a process Velmora never signals
    SmokeRole smokeRole = SmokeRole::none;
};

// A family as the exporter sees it: its memory by kind and its judgement, no members.
struct RankedFamily {
    std::string key;
    std::string title;
    uid_t uid = 0;
    uint64_t anonKiB = 0;
    uint64_t swapKiB = 0;
    uint64_t sharedKiB = 0;
    uint64_t footprintKiB = 0;
    FamilyAssessment assessment;
};

// A suspect that left the rows.
struct DepartedFinding {
    std::string key;
    std::string title;
    FindingVerdict peakVerdict = FindingVerdict::suspect;
    double leftAt = 0;         // monotonic seconds
    bool processEnded = false; // the family is gone rather than calmed down
};

// Everything a request needs from the sampler, published after each pass and read under a
// lock; it is never modified once published.
struct LiveView {
    uint64_t passCount = 0;
    double monotonicTime = 0;
    double wallTime = 0;
    double startedAt = 0; // monotonic time of the first pass
    MachineState machine;
    PassStatistics stats;
    std::string procPath = "/proc";
    std::size_t watchedProcesses = 0;
    std::size_t familyCount = 0;
    // Families at watch or above (best score first), then the largest others for relief,
    // then the self-check targets.
    std::vector<FamilyView> families;
    std::vector<DepartedFinding> departed;
    std::vector<OutOfMemoryKill> outOfMemoryKills; // the last hour, oldest first
    // The machine-wide count of out-of-memory kills since boot, read from <proc>/vmstat in
    // this pass (nothing when it could not be read). Every user's and container's kills.
    std::optional<uint64_t> machineOomKills;
    // The cgroup tree, and how many memory cgroups have their kill count followed there.
    std::string cgroupPath = "/sys/fs/cgroup";
    FollowedKillCounts cgroupKillCounts;
    MachineForecastView forecast;
    double passCpuSeconds = 0;
    // Only when the sampler is asked for them (SamplerOptions::rankedFamilies): families at
    // watch or above, best score first, then the largest others; and the families whose last
    // process ended in this pass.
    std::vector<RankedFamily> ranked;
    std::vector<std::string> endedFamilies;
};

// The published family of `key` in `view`, or null when there is none (or no view).
const FamilyView* findFamily(const LiveView* view, const std::string& key);

// The member whose own growth the family is flagged for, or null.
const MemberView* growingMemberOf(const FamilyView& family);

} // namespace velmora
