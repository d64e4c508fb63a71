#pragma once

#include "monitor/live/OutOfMemoryKill.h"
#include "monitor/proc/ProcessTable.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace velmora {

// Tells which watched families the out-of-memory killer ended. Each pass hands it the kernel's
// kill counter and the refreshed process table. When the counter rose by N, the processes that
// left the table since the pass before are the candidates, and the families that lost the
// largest of them (at most N) are the ones the killer ended. A process that exits while the
// counter stands still is an ordinary exit.
//
// The counter rises when the killer picks its victim, slightly before the process is gone: a
// rise may wait one more pass for its process to leave. A killed child whose parent has not yet
// reaped it stays listed with no memory; that collapse counts as leaving.
class OutOfMemoryKillDetector {
public:
    explicit OutOfMemoryKillDetector(double keepSeconds = 3600.0, std::size_t maxKept = 32)
        : keepSeconds_(keepSeconds), maxKept_(maxKept) {}

    // After the table's refresh and the family assignment of a pass. `counter` is the oom_kill
    // count read in this pass (nothing where the kernel does not publish it: then nothing is
    // detected). Returns how many kills this pass found.
    std::size_t observe(std::optional<uint64_t> counter, const ProcessTable& table, double now,
                        double wall);

    // The kills of the last keepSeconds, oldest first, at most maxKept.
    const std::vector<OutOfMemoryKill>& recent() const { return recent_; }

private:
    struct Seen {
        uint64_t startTime = 0;
        uint64_t footprintKiB = 0;
        uint64_t anonKiB = 0;
        std::string key;
        std::string title;
    };
    struct Lost {
        pid_t pid = 0;
        const Seen* seen = nullptr;
    };

    void takeCounter(std::optional<uint64_t> counter);
    std::vector<Lost> lostSince(const ProcessTable& table) const;
    std::size_t attribute(const std::vector<Lost>& lost, double now, double wall);
    uint64_t familyKiBBefore(const std::string& key) const;
    void remember(const ProcessTable& table);
    void expire(double now);

    double keepSeconds_;
    std::size_t maxKept_;
    std::optional<uint64_t> lastCounter_;
    uint64_t pendingKills_ = 0; // counted by the kernel, not yet matched to a process
    int pendingPasses_ = 0;     // passes those kills may still wait for their process
    std::unordered_map<pid_t, Seen> previous_;
    std::set<std::pair<pid_t, uint64_t>> attributed_; // victims still listed (unreaped)
    std::vector<OutOfMemoryKill> recent_;
};

} // namespace velmora
