#pragma once

#include "monitor/live/ForecastView.h"
#include "monitor/live/OutOfMemoryKill.h"
#include "monitor/proc/MachineState.h"
#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcessIdentity.h"
#include "monitor/scoring/FamilyAssessment.h"

#include <cstdint>
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
    uint64_t growthKiB = 0; // above the lowest footprint the sampler saw
    bool isProtected = false;
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
    FamilyAssessment assessment;
    std::vector<uint32_t> sparklineKiB; // newest bucket medians, oldest first
    double firstSeen = 0;               // monotonic seconds
    bool isProtected = false;           // holds a process Velmora never signals
    SmokeRole smokeRole = SmokeRole::none;
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
    bool vmstatRead = false;                       // <proc>/vmstat read in this pass
    MachineForecastView forecast;
    double passCpuSeconds = 0;
};

} // namespace velmora
