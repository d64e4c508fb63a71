#pragma once

#include "monitor/scoring/FamilyAssessment.h"
#include "monitor/scoring/Tuning.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// What the machine has left: available memory plus free swap, and when the whole of it runs
// out at the machine's current trend (while it falls steadily).
struct MachineOutlook {
    uint64_t reserveKiB = 0;
    std::optional<double> exhaustionSeconds;
};

// "criticalRunaway" means the machine is at risk: memory as a whole runs out within the hour,
// at the machine's trend or at the family's own rate, and the family is the main contributor.
// Raises such families to it and lowers the others to what the scorer found.
void applyRunawayRule(const std::vector<FamilyAssessment*>& families, const MachineOutlook& machine,
                      const Tuning& tuning);

} // namespace velmora
