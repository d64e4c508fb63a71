// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/proc/OomKillerConfig.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora {

// The process the kernel would end first if memory ran out: the highest oom_score on the
// machine. Processes of other users have no family here.
struct OomVictimView {
    pid_t pid = 0;
    int oomScore = 0;
    std::string name;        // display text
    std::string familyKey;   // empty for another user's process
    std::string familyTitle; // empty for another user's process
    uint64_t footprintKiB = 0;
    bool ours = false;
};

// What happens if memory keeps running out, as of the latest pass.
struct MachineForecastView {
    // Seconds until available memory plus free swap reach zero, while that falls steadily.
    std::optional<double> exhaustionSeconds;
    double trendKiBPerSecond = 0;
    std::optional<OomVictimView> firstVictim;
    std::optional<OomKiller> killer;
    // What the last sweeps read: oom_score of every process every 10 s (of one of our own whose
    // memory stands still, once a minute), comm of every process
    // every minute while looking for a daemon, and the daemon's configuration files.
    std::size_t oomScoresRead = 0;
    std::size_t commsRead = 0;
    // What the last look for a daemon read to tell its program (exe links, command lines).
    std::vector<std::string> daemonChecks;
};

} // namespace velmora
