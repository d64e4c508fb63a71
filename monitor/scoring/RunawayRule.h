// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/scoring/FamilyAssessment.h"
#include "monitor/scoring/ScoringTuning.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// What the machine has left: available memory plus free swap (none when its figures cannot be
// read), and when the whole of it runs out at the machine's current trend (while it falls
// steadily).
struct MachineOutlook {
    std::optional<uint64_t> reserveKiB;
    std::optional<double> exhaustionSeconds;
};

// "criticalRunaway" means the machine is at risk: memory as a whole runs out within the hour,
// at the machine's trend or at the family's own rate, and the family is the main contributor.
// Raises such families to it and lowers the others to what the scorer found. Without the
// machine's figures nothing is known to run out: no family has an exhaustion estimate and none
// is a runaway.
void applyRunawayRule(const std::vector<FamilyAssessment*>& families, const MachineOutlook& machine,
                      const ScoringTuning& tuning);

} // namespace velmora
