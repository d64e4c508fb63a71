#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace velmora {

// What the sampler knows of one same-user process. A process is (pid, startTime): a PID seen
// again with another start time is another process.
struct ProcessRecord {
    pid_t pid = 0;
    uint64_t startTime = 0;
    pid_t ppid = 0;
    uid_t uid = 0;
    std::string comm;    // raw bytes, as the process named itself
    std::string exe;     // raw path of /proc/PID/exe ("" when unreadable)
    std::string cmdline; // raw arguments joined by spaces, capped
    uint64_t cpuTicks = 0;
    uint64_t anonKiB = 0;           // anonymous resident memory (statm resident - shared)
    uint64_t swapKiB = 0;           // from status VmSwap or smaps_rollup Swap
    uint64_t smapsAnonKiB = 0;      // last smaps_rollup Anonymous, 0 before any read
    uint64_t floorKiB = UINT64_MAX; // the lowest footprint read so far
    double lastBackgroundRead = 0;
    bool quiet = false; // no CPU time between its last two background reads
    double lastDetailRead = -1e300;
    int statmFd = -1;      // kept open between passes
    std::string familyKey; // assigned once, when the process is discovered
    std::string familyTitle;
    bool alive = true;

    uint64_t footprintKiB() const { return anonKiB + swapKiB; }
};

} // namespace velmora
