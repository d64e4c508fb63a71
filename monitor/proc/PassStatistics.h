// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/PassCost.h"

#include <cstddef>

namespace velmora {

// How many files of each kind one sampling pass read (for the trust panel), and what the pass
// cost.
struct PassStatistics {
    std::size_t listed = 0;   // numeric entries of /proc
    bool listingKept = false; // no task was born since the last pass: /proc was not listed
    std::size_t sameUser = 0; // processes kept
    std::size_t statm = 0;
    std::size_t stat = 0;
    std::size_t status = 0;
    std::size_t smapsRollup = 0;
    std::size_t cmdline = 0;
    // Shared memory held by descriptor: descriptor listings (each link read), maps read to
    // tell which of those files are mapped, and held files whose size was read again.
    std::size_t descriptorScans = 0;
    std::size_t maps = 0;
    std::size_t heldSharedFiles = 0;
    std::size_t execs = 0; // processes seen to become another program
    std::size_t cgroup = 0;
    std::size_t oomScore = 0; // every 10 s, for every process (the out-of-memory forecast)
    std::size_t comm = 0;     // every minute, looking for an out-of-memory daemon
    // Out-of-memory kill counts of memory cgroups: each cgroup when first seen, and every
    // watched one in the passes around a machine-wide kill.
    std::size_t cgroupKillCounts = 0;
    std::size_t discovered = 0;
    std::size_t vanished = 0;
    bool meminfo = false;
    bool pressure = false;
    PassCost cost;
};

} // namespace velmora
