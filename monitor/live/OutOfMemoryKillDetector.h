// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/live/OutOfMemoryKill.h"
#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcessTable.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace velmora {

// Tells which watched families the out-of-memory killer ended, from evidence that points at a
// process's own memory cgroup. The machine-wide kill counter (/proc/vmstat) also counts kills
// in containers, other users' processes and other cgroups, so its rise only says when to look:
// in a pass where it rose (and the pass after), the kill count of every watched process's
// memory cgroup is read again. When a cgroup's count rose by N, the processes of that cgroup
// that left the table are the candidates, and the families that lost the largest of them (at
// most N) are the ones the killer ended. A process that exits while its cgroup's count stands
// still is an ordinary exit, whatever happens elsewhere; without a readable count for its
// cgroup nothing is ever recorded for it.
//
// Each cgroup's count is read once when its first process is seen, and otherwise only around
// a machine-wide kill: a quiet pass reads no cgroup file. The counters are read before the
// process table (readCounters, then observe): the killer raises them just before it sends its
// signal, so every kill they count was sent before the table was read. Its victim has left the
// table by then, or is still on its way out (then it leaves in the next pass, and the rise
// waits for it while a larger process of that cgroup is still listed, rather than blaming a
// smaller one that exited on its own); a victim that left between the two reads is counted in
// the next pass, which is why a process that left stays a candidate for one more pass.
//
// A process has left when it is no longer listed, or when it is listed with no memory and
// /proc says it is a zombie (a killed child its parent has not reaped). A process swapped out
// whole also shows no resident memory but is alive: it is never a victim.
class OutOfMemoryKillDetector {
public:
    // `uid`: whose processes are watched (a parent cgroup is evidence only inside that user's
    // own part of the tree); none when every user's are (then any parent but the root is).
    explicit OutOfMemoryKillDetector(std::optional<uid_t> uid = 0, double keepSeconds = 3600.0,
                                     std::size_t maxKept = 32)
        : uid_(uid), keepSeconds_(keepSeconds), maxKept_(maxKept) {}

    // Where the memory cgroup of each process discovered in a pass counts its kills, below the
    // cgroup root (memoryKillCountFile), by PID; a process missing here has no such count.
    using KillCountFiles = std::unordered_map<pid_t, std::string>;

    // Before the table's refresh. `counter` is the machine-wide oom_kill count read in this
    // pass (nothing where the kernel does not publish it: then nothing is detected); cgroup
    // kill counts are read below `cgroupRoot`, and counted in stats.
    void readCounters(std::optional<uint64_t> counter, const ProcRoot& cgroupRoot,
                      PassStatistics& stats);

    // After the table's refresh and the family assignment of the same pass; a listed process
    // with no memory left is looked up in `procRoot` to tell a zombie from a process swapped
    // out. Returns how many kills this pass found.
    std::size_t observe(const ProcessTable& table, const KillCountFiles& discovered,
                        const ProcRoot& procRoot, const ProcRoot& cgroupRoot, double now,
                        double wall, PassStatistics& stats);

    // The kills of the last keepSeconds, oldest first, at most maxKept.
    const std::vector<OutOfMemoryKill>& recent() const { return recent_; }

    // How many memory cgroups of watched processes (and their parents) have their kill count
    // followed.
    FollowedKillCounts followed() const { return followed_; }

private:
    struct Cgroup;
    using Cgroups = std::unordered_map<std::string, Cgroup>; // by kill count file
    using CgroupEntry = Cgroups::value_type;
    struct Cgroup {
        std::optional<uint64_t> kills; // the count last read
        bool readable = false;         // whether the last read found the file
        uint64_t rise = 0;             // by how much the count rose at the last read
        std::size_t members = 0;       // watched processes in it
        std::size_t children = 0;      // followed cgroups whose parent it is
        CgroupEntry* parent = nullptr; // where a kill still shows once this cgroup is gone
        uint64_t pending = 0;          // counted here, not yet matched to a process
        int pendingPasses = 0;         // passes those kills may still wait for their process
    };
    struct Seen {
        uint64_t startTime = 0;
        uint64_t footprintKiB = 0;
        uint64_t anonKiB = 0;
        std::string key;
        std::string title;
        CgroupEntry* cgroup = nullptr; // none: no evidence can ever name it
        int passesGone = 0;            // passes since it left the table (0: listed)
    };
    struct Lost {
        pid_t pid = 0;
        const Seen* seen = nullptr;
    };

    void decayPending();
    bool takeCounter(std::optional<uint64_t> counter);
    void readCounts(const ProcRoot& cgroupRoot, PassStatistics& stats);
    std::vector<Lost> lostSince(const ProcessTable& table, const ProcRoot& procRoot) const;
    // The cgroup whose counted kills may name this lost process, if any.
    CgroupEntry* evidenceFor(const Seen& seen);
    std::size_t attribute(const std::vector<Lost>& lost, double now, double wall);
    std::size_t attributeIn(CgroupEntry& cgroup, const std::vector<Lost>& lost, double now,
                            double wall);
    // The largest footprint of a process of `cgroup` that is still listed, not among `lost`.
    uint64_t largestStillListed(const CgroupEntry& cgroup, const std::vector<Lost>& lost) const;
    uint64_t familyKiBBefore(const std::string& key, pid_t victim) const;
    void remember(const ProcessTable& table, const KillCountFiles& discovered,
                  const ProcRoot& cgroupRoot, PassStatistics& stats);
    // The followed cgroup of a kill count file (its count read when first seen), with its
    // parent for a process's own cgroup; none for "".
    CgroupEntry* follow(const std::string& file, const ProcRoot& cgroupRoot, PassStatistics& stats,
                        bool withParent);
    // One process of the cgroup is gone; cgroups nothing refers to any more are forgotten.
    void release(CgroupEntry* entry);
    void expire(double now);

    std::optional<uid_t> uid_;
    double keepSeconds_;
    std::size_t maxKept_;
    std::optional<uint64_t> lastCounter_;
    int windowPasses_ = 0; // passes left in which the cgroup counts are read
    bool anyPending_ = false;
    Cgroups cgroups_;
    FollowedKillCounts followed_;
    std::unordered_map<pid_t, Seen> previous_;
    std::set<std::pair<pid_t, uint64_t>> attributed_; // victims still listed (unreaped)
    std::vector<OutOfMemoryKill> recent_;
};

} // namespace velmora
