// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/live/ForecastView.h"
#include "monitor/live/MemoryTrend.h"
#include "monitor/proc/MachineState.h"
#include "monitor/proc/OomScores.h"
#include "monitor/proc/ProcessTable.h"

#include <string>
#include <unordered_map>

namespace velmora {

// Keeps the machine's out-of-memory forecast: the trend of available memory plus free swap
// (every pass, one sample), who the kernel would end first (oom_score of every process, every
// oomScoreSeconds; a watched process whose memory stood still keeps the score last read, for a
// minute at most) and which out-of-memory daemon runs (comm of every process, every
// daemonSeconds; a process so named is taken for the daemon only when it runs the daemon's
// installed program, and its configuration is then read below configRoot, "/" for the machine
// itself).
class MachineForecaster {
public:
    explicit MachineForecaster(std::string configRoot = "/", double oomScoreSeconds = 10.0,
                               double daemonSeconds = 60.0);

    void update(double now, const MachineState& machine, ProcRoot& root, const ProcessTable& table,
                PassStatistics& stats);
    // Keeps the trend alone, reading no process's oom_score or name: for a monitor that states
    // when memory runs out but names neither the first victim nor the daemon (the metrics).
    void setTrendOnly(bool trendOnly) { trendOnly_ = trendOnly; }
    const MachineForecastView& view() const { return view_; }
    const MemoryTrend& trend() const { return trend_; }

private:
    void sweepOomScores(double now, ProcRoot& root, const std::vector<pid_t>& pids,
                        const ProcessTable& table, PassStatistics& stats);
    // The scores of the listed processes: read again, or kept where they cannot have moved.
    std::vector<OomScore> currentScores(double now, ProcRoot& root, const std::vector<pid_t>& pids,
                                        const ProcessTable& table, PassStatistics& stats);
    void refreshVictim(const ProcessTable& table);
    void findDaemon(ProcRoot& root, const std::vector<pid_t>& pids, const ProcessTable& table,
                    PassStatistics& stats);
    // Whether the process runs the daemon's program (its exe link, or where that is closed, an
    // absolute path heading its command line).
    bool isDaemon(const ProcRoot& root, pid_t pid, OomDaemon daemon);
    OomKiller configure(const ProcRoot& root, OomDaemon daemon, pid_t pid) const;

    std::string configRoot_;
    double oomScoreSeconds_;
    double daemonSeconds_;
    bool trendOnly_ = false;
    double lastOomSweep_ = -1e300;
    double lastDaemonScan_ = -1e300;
    uint64_t victimStartTime_ = 0;
    // A watched process's score as last read, with what it depends on then.
    struct KnownScore {
        uint64_t startTime = 0;
        uint64_t memoryChanges = 0;
        double keptUntil = 0;
        int score = 0;
    };
    std::unordered_map<pid_t, KnownScore> knownScores_;
    MemoryTrend trend_;
    MachineForecastView view_;
};

} // namespace velmora
