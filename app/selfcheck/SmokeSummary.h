// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <cstdint>
#include <optional>
#include <string>

namespace velmora {

// The payload of a self-check result line.
struct SmokeSummary {
    std::string globalTone;
    int64_t rowCount = 0;
    std::string incidentStage;
    std::string incidentHeadline;
    std::string incidentSuspectTitle;
    std::optional<std::string> incidentDecisionLine;
    std::string incidentEvidenceLabel;
    std::optional<std::string> incidentNextActionID;
    int64_t incidentPrimaryMetricCount = 0;
    bool hasSelectedDetail = false;
    bool hasConfirmation = false;
    bool menuBarButtonPresent = false;
    bool popoverShown = false;
    bool advancedHistoryShown = false;
    int64_t historicalOffenderCount = 0;
    bool historicalDetailShown = false;
    bool actionFeedbackShown = false;
    std::optional<std::string> actionFeedbackTitle;
    std::optional<bool> recoveryTargetExited;

    // The snapshot's part: tone, rows, incident, detail and confirmation flags.
    static SmokeSummary from(const PopoverSnapshot& snapshot, bool menuBarButtonPresent,
                             bool popoverShown);

    // Compact JSON with the keys in declaration order; absent members are left out. Throws
    // when a text cannot be encoded (it is not UTF-8).
    std::string encode() const;

    bool operator==(const SmokeSummary&) const = default;
};

} // namespace velmora
