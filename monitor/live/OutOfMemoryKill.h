// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace velmora {

// A process of a watched family ended by the kernel's out-of-memory killer.
struct OutOfMemoryKill {
    std::string id; // "oom-<pid>-<start time>": unique per process, so unique per kill
    std::string key;
    std::string title;
    pid_t pid = 0;
    uint64_t processKiB = 0; // the ended process's footprint at the pass before the kill
    uint64_t familyKiB = 0;  // the family's footprint at the pass before the kill
    double at = 0;           // monotonic seconds of the pass that noticed it
    double wallAt = 0;       // unix seconds of that pass

    bool operator==(const OutOfMemoryKill&) const = default;
};

// How many memory cgroups have their out-of-memory kill count followed, by kind of file.
struct FollowedKillCounts {
    std::size_t events = 0;     // cgroup v2 memory.events
    std::size_t oomControl = 0; // cgroup v1 memory.oom_control

    bool operator==(const FollowedKillCounts&) const = default;
};

// "Ended by the out-of-memory killer at 14:02 with 3.2 GB."
std::string outOfMemoryKillMessage(const OutOfMemoryKill& kill);

} // namespace velmora
