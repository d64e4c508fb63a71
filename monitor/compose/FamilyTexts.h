// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/FindingCodes.h"
#include "model/FindingSnapshot.h"
#include "monitor/live/LiveView.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The display texts derived from one family's signals, shared by the row, the incident and
// the detail so they never disagree.
std::string verdictLabel(FindingVerdict verdict);
ConfidenceLevel confidenceLevelOf(int score);
std::string confidenceLabel(const FamilyAssessment& a);
std::string rateText(const FamilyAssessment& a);
// The one-sentence summary of a family's growth, with its code when it is not a self-check's.
struct ComposedExplanation {
    std::optional<Coded<ReasonCode>> code;
    std::string text;
};
ComposedExplanation composedExplanationOf(const FamilyView& family);
std::string explanationOf(const FamilyView& family);
std::optional<std::string> exhaustionText(const FamilyAssessment& a);
std::optional<CurvatureCode> curvatureOf(const FamilyAssessment& a);
std::optional<std::string> curvatureText(const FamilyAssessment& a);
// One reason behind a family's verdict: its code and figures, and the text composed from them.
struct ComposedReason {
    Coded<ReasonCode> code;
    std::string text;
};
std::vector<ComposedReason> composedReasonsOf(const FamilyView& family);
std::vector<std::string> reasonsOf(const FamilyView& family);
std::vector<Coded<ReasonCode>> reasonCodesOf(const FamilyView& family);
// What part of the footprint is shared memory, and whether the growth is there; nothing when
// shared memory is a small part of it.
std::optional<ComposedReason> sharedMemoryCode(const FamilyView& family);
// The newest bucket medians scaled into 0..65535 between their minimum and maximum.
std::vector<uint16_t> sparklineOf(const std::vector<uint32_t>& kib);

// The actions a family offers, best first. Families holding a protected process offer no
// signal. Self-check targets offer exactly their one action.
std::vector<ActionDescriptor> actionsFor(const FamilyView& family, bool hasArtifact);

} // namespace velmora
