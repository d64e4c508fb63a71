// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverRenderState.h"

#include "views/relief/ReliefPlanStrip.h"

namespace velmora {

bool isFocusedIncidentLayout(const PopoverSnapshot& snapshot) {
    return snapshot.incident.stage != IncidentStage::normal;
}

bool shouldShowReliefPlanStrip(const PopoverSnapshot& snapshot) {
    return snapshot.relief.has_value() && primaryReliefCandidate(*snapshot.relief).has_value() &&
           snapshot.relief->headline != snapshot.incident.headline;
}

std::vector<FindingSnapshot> allSupportingFindings(const PopoverSnapshot& snapshot) {
    if (snapshot.rows.size() <= 1) {
        return {};
    }
    return {snapshot.rows.begin() + 1, snapshot.rows.end()};
}

std::vector<FindingSnapshot> visibleSupportingFindings(const PopoverSnapshot& snapshot) {
    if (snapshot.rows.size() <= 1) {
        return {};
    }
    const auto end = snapshot.rows.begin() + std::min<std::size_t>(3, snapshot.rows.size());
    return {snapshot.rows.begin() + 1, end};
}

} // namespace velmora
