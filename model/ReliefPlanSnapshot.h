// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/Enums.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// One process the relief plan could give memory back from. Every key is required.
struct ReliefCandidateSnapshot {
    std::string key;
    std::string title;
    std::string footprintLabel;
    std::string detail;
    bool recommended = false;
    ActionDescriptor action;

    bool operator==(const ReliefCandidateSnapshot&) const = default;
};

// The relief plan the backend proposes. Every key is required.
struct ReliefPlanSnapshot {
    ReliefUrgencyTone urgency = ReliefUrgencyTone::advisory;
    std::string headline;
    std::string summary;
    std::string pressureLabel;
    std::string targetFreeLabel;
    std::string projectedReclaimLabel;
    int64_t recommendedCount = 0;
    std::vector<ReliefCandidateSnapshot> candidates;

    bool operator==(const ReliefPlanSnapshot&) const = default;
};

// Identity in lists: the key.
std::string identity(const ReliefCandidateSnapshot& candidate);

} // namespace velmora
