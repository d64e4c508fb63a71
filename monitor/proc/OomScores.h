// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/PassStatistics.h"
#include "monitor/proc/ProcRoot.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// The kernel's out-of-memory badness of one process, as /proc/PID/oom_score shows it
// (0..2000; the kernel, and earlyoom, end the highest first).
struct OomScore {
    pid_t pid = 0;
    int score = 0;
};

// Reads oom_score of each PID (any owner: the file is world-readable). A process that vanished
// or whose file cannot be read or parsed is left out; every file read counts in stats.oomScore.
std::vector<OomScore> readOomScores(const ProcRoot& root, const std::vector<pid_t>& pids,
                                    PassStatistics& stats);
std::optional<int> parseOomScore(std::string_view text);

// /proc/PID/comm without its newline; none when it cannot be read. Counts in stats.comm.
std::optional<std::string> readComm(const ProcRoot& root, pid_t pid, PassStatistics& stats);

} // namespace velmora
