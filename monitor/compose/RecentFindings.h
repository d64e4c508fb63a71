// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingSnapshot.h"
#include "model/MemoryOutlookSnapshot.h"
#include "monitor/live/LiveView.h"

#include <vector>

namespace velmora {

// The families that left the live rows in the last hour, newest first: suspects that calmed
// down or ended, and families the out-of-memory killer ended ("Ended: out of memory"). A
// family appears once: a kill replaces the same family's departure, and a family killed
// several times shows its latest kill.
std::vector<RecentFindingSnapshot> recentFindingsOf(const LiveView& view);

// The out-of-memory kills of the last hour, newest first, one per kill.
std::vector<OutOfMemoryKillSnapshot> outOfMemoryKillsOf(const LiveView& view);

} // namespace velmora
