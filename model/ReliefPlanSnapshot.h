// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/Enums.h"
#include "model/ReliefCodes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One process the relief plan could give memory back from. Every key is required but `codes`,
// which stands for its footprint label and detail.
struct ReliefCandidateSnapshot {
    std::string key;
    std::string title;
    std::string footprintLabel;
    std::string detail;
    bool recommended = false;
    ActionDescriptor action;
    std::optional<ReliefCandidateCodes> codes{};

    bool operator==(const ReliefCandidateSnapshot&) const = default;
};

// The relief plan the backend proposes. Every key is required but `codes`, which stands for its
// texts.
struct ReliefPlanSnapshot {
    ReliefUrgencyTone urgency = ReliefUrgencyTone::advisory;
    std::string headline;
    std::string summary;
    std::string pressureLabel;
    std::string targetFreeLabel;
    std::string projectedReclaimLabel;
    int64_t recommendedCount = 0;
    std::vector<ReliefCandidateSnapshot> candidates;
    std::optional<ReliefCodes> codes{};

    bool operator==(const ReliefPlanSnapshot&) const = default;
};

// Identity in lists: the key.
std::string identity(const ReliefCandidateSnapshot& candidate);

} // namespace velmora
