// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/RunawayRule.h"

namespace velmora {
namespace {

// The family whose growth takes the most of the machine's memory: the fastest of those growing.
FamilyAssessment* fastestGrowing(const std::vector<FamilyAssessment*>& families) {
    FamilyAssessment* fastest = nullptr;
    for (FamilyAssessment* a : families) {
        if (a->rateKiBPerSecond > 0 && a->exhaustionSeconds &&
            (fastest == nullptr || a->rateKiBPerSecond > fastest->rateKiBPerSecond)) {
            fastest = a;
        }
    }
    return fastest;
}

} // namespace

void applyRunawayRule(const std::vector<FamilyAssessment*>& families, const MachineOutlook& machine,
                      const ScoringTuning& tuning) {
    for (FamilyAssessment* a : families) {
        a->verdict = a->scoredVerdict;
        if (!machine.reserveKiB) {
            a->exhaustionSeconds.reset();
        } else if (a->rateKiBPerSecond > 0 && a->exhaustionSeconds) {
            // The reserve now, not when the family was last scored.
            a->exhaustionSeconds = static_cast<double>(*machine.reserveKiB) / a->rateKiBPerSecond;
        }
    }
    FamilyAssessment* family = fastestGrowing(families);
    if (family == nullptr || !machine.reserveKiB) {
        return;
    }
    const double alone = *family->exhaustionSeconds;
    const double hour = tuning.runawayExhaustionMinutes * 60;
    // The machine's trend counts when this family makes at least half of the fall; memory that
    // goes elsewhere (another user, the kernel) does not make it this family's runaway.
    bool machineRunsOut = machine.exhaustionSeconds && *machine.exhaustionSeconds <= hour &&
                          family->rateKiBPerSecond >= 0.5 *
                                                          static_cast<double>(*machine.reserveKiB) /
                                                          std::max(*machine.exhaustionSeconds, 1.0);
    bool leak = atLeast(family->scoredVerdict, FindingVerdict::suspect);
    bool worthWatching = atLeast(family->scoredVerdict, FindingVerdict::watch);
    if ((leak && (alone <= hour || machineRunsOut)) ||
        (worthWatching && alone <= tuning.exhaustionCriticalMinutes * 60)) {
        family->verdict = FindingVerdict::criticalRunaway;
    }
}

} // namespace velmora
