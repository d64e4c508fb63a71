// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"
#include "monitor/proc/MachineState.h"

#include <cstddef>
#include <vector>

namespace velmora {

// The popover's status texts, each written together with the code and figures it is made of,
// so the app composes the same text from the codes.

// The summary strip: "ALL CLEAR", "2 FAMILIES TO WATCH", "1 SUSPECTED LEAK", "CRITICAL RUNAWAY",
// and under memory pressure with no suspect "HIGH PRESSURE" or "CRITICAL PRESSURE".
void setSummary(PopoverSnapshot& snapshot, SnapshotTone tone,
                const std::vector<FindingSnapshot>& rows);

// The code of a pressure level, as the pressure pill and the relief plan send it.
PressureCode pressureCodeOf(PressureLevel level);

// The pressure pill ("Normal pressure") and the headroom line ("8.0 GB available of 32.0 GB"),
// or their placeholders while the machine's memory is unread.
void setMachineState(SystemStateSnapshot& state, const MachineState& machine);

// The pill and the headroom line before the machine's memory has been read: "Memory state
// unavailable", "Headroom unavailable".
void setMemoryUnread(SystemStateSnapshot& state);

// The scope line before the first scan has finished: "First process scan running".
void setScanRunning(SystemStateSnapshot& state);

// The scope line: "48 same-user processes in 12 families".
void setScope(SystemStateSnapshot& state, std::size_t processes, std::size_t families);

// The scope line while it carries the forecast: "Runs out in ~40 min", "Runs out in < 1 min".
void setRunsOut(SystemStateSnapshot& state, double exhaustionSeconds);

// The scope line while the machine's memory figures are missing: "Memory forecast unavailable".
void setForecastUnavailable(SystemStateSnapshot& state);

// A recent finding's status ("Process ended") and how long ago it left the rows ("5 min ago").
void setRecentStatus(RecentFindingSnapshot& finding, RecentStatusCode status, double agoSeconds);

} // namespace velmora
