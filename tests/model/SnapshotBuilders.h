// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Rich snapshots shaped like the ones the backend sends in each situation, for round trips
// and benchmarks.

#include "model/AdvancedHistorySnapshot.h"
#include "model/PopoverSnapshot.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velmora::scenarios {

ActionDescriptor action(std::string id, std::string label, ActionStyle style, std::string target);
FindingSnapshot suspectRow(const std::string& key, std::size_t samples);

PopoverSnapshot fullIncidentSnapshot();
PopoverSnapshot detailWithArtifactSnapshot();
PopoverSnapshot reliefSnapshot();
PopoverSnapshot recentFindingsSnapshot();
PopoverSnapshot confirmationSnapshot();
PopoverSnapshot feedbackSnapshot();
AdvancedHistorySnapshot historyWithSelectedDetail();

// A large snapshot: every part above plus `rows` rows of `samples` sparkline samples each.
PopoverSnapshot largeSnapshot(std::size_t rows, std::size_t samples);

struct NamedSnapshot {
    const char* name;
    PopoverSnapshot snapshot;
};
std::vector<NamedSnapshot> allPopoverScenarios();

} // namespace velmora::scenarios
