// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/HeldSharedMemory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

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
    uint64_t faults = 0;                  // minor + major page faults, as last read with cpuTicks
    uint64_t anonKiB = 0;                 // anonymous resident memory (statm resident - shared)
    uint64_t swapKiB = 0;                 // from status VmSwap or smaps_rollup Swap
    uint64_t smapsAnonKiB = 0;            // last smaps_rollup Anonymous, 0 before any read
    uint64_t floorKiB = UINT64_MAX;       // the lowest footprint read so far
    uint64_t sharedFloorKiB = UINT64_MAX; // the lowest shared memory counted so far

    // Shared memory. Mapped: status RssShmem, scaled by the process's proportional share of it
    // (smaps_rollup Pss_Shmem / RssShmem) as last read, so a page mapped by k processes counts
    // 1/k for each. Held: memfd and /dev/shm files open by descriptor and not mapped, each
    // shared out among the watched processes that hold it.
    uint64_t rssShmemKiB = 0;
    double shmemShare = 1.0; // Pss_Shmem / RssShmem at the last smaps_rollup read
    uint64_t rssShmemAtShare = 0;
    double lastShareRead = -1e300;
    std::vector<HeldSharedFile> heldShared;
    uint64_t heldSharedKiB = 0;
    bool descriptorsListed = false;
    std::optional<uint64_t> descriptors; // their count when last listed (Linux 6.2 and later)
    // False for a server that maps its clients' buffers (a compositor, an audio server): that
    // memory is its clients', counted where they hold or map it.
    bool countsShared = true;

    uint64_t residentPages = 0; // statm, as last read
    uint64_t sharedPages = 0;   // statm, as last read: moves when shared memory may have
    uint64_t textPages = 0;     // statm: changes when the process execs
    uint64_t sizePages = 0;     // statm: its whole address space
    double programSince = 0;    // when its current program was first seen (discovery or exec)
    bool execed = false;        // became another program in the latest pass
    // Reads that found statm changed: a count that stands still means its memory did.
    uint64_t memoryChanges = 0;
    bool movedSinceStatus = true; // statm changed since status was last read
    double lastStatusRead = -1e300;
    double lastBackgroundRead = 0;
    double lastHeldRead = 0; // its descriptors and held files, looked at every background period
    std::optional<uint64_t> shmemAtHeldRead; // the machine's Shmem (meminfo) before that look
    // It did not run between its last two background reads (no CPU tick, no page fault), and
    // its statm has not moved since.
    bool quiet = false;
    double lastDetailRead = -1e300;
    int statmFd = -1;      // kept open between passes
    std::string familyKey; // assigned once, when the process is discovered
    std::string familyTitle;
    bool alive = true;

    uint64_t mappedSharedKiB() const {
        return static_cast<uint64_t>(static_cast<double>(rssShmemKiB) * shmemShare + 0.5);
    }
    uint64_t heldSharedTotalKiB() const {
        uint64_t kib = 0;
        for (const HeldSharedFile& file : heldShared) {
            kib += file.kib;
        }
        return kib;
    }
    uint64_t sharedKiB() const { return countsShared ? mappedSharedKiB() + heldSharedKiB : 0; }
    uint64_t footprintKiB() const { return anonKiB + swapKiB + sharedKiB(); }
};

} // namespace velmora
