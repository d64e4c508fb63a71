// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ReliefPlanSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The relief plan's texts composed from the monitor's codes, in English word for word as the
// monitor writes them. Each gives none for a code this build does not know or whose figures are
// missing; the plan then shows the monitor's own text.

// "Memory runs out in ~40 min", "Memory is getting tight", "Free memory now".
std::optional<std::string> reliefHeadlineText(const ReliefCodes& codes);

// The summary's sentences one after the other: "Memory runs out in about 40 min at this rate.
// Quitting the recommended apps gracefully gives their memory back. First to be ended if memory
// runs out: Firefox, 3.2 GB." None when any of its sentences cannot be composed.
std::optional<std::string> reliefSummaryText(const ReliefCodes& codes);

// "High pressure".
std::optional<std::string> reliefPressureText(const ReliefCodes& codes);

// "Free 1.5 GB to get back to 20% headroom", "Headroom is back above 20%".
std::optional<std::string> reliefTargetText(const ReliefCodes& codes);

// "About 2.6 GB back".
std::optional<std::string> reliefReclaimText(const ReliefCodes& codes);

// A candidate's footprint: "3.2 GB".
std::optional<std::string> candidateFootprintText(const ReliefCandidateCodes& codes);

// Why a candidate is on the plan: "Probable leak at +8.2 MB/min", "Largest footprint, not
// growing", each with " · first to be ended if memory runs out" when the kernel would.
std::optional<std::string> candidateDetailText(const ReliefCandidateCodes& codes);

// The plan with each of its texts and its candidates' composed where this build knows the code,
// and the monitor's text elsewhere.
ReliefPlanSnapshot withReliefTexts(const ReliefPlanSnapshot& plan);

} // namespace velmora
