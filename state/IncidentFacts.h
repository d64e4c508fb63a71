// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IncidentSnapshot.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// What the incident card shows of an incident. Each line is composed from the monitor's code
// when it sends one this build knows; otherwise it is the monitor's own line, without the
// lead-in ("Decision:", "Cause:", "Safe next move:"...) that the card's label already says.
// Lines sent without codes come from older monitors and the demo scenarios.

// The stage pill's text: composed from the stage when the monitor sends codes, else its label.
std::string stageLabelText(const IncidentSnapshot& incident);

// The headline and the impact line: composed from their codes when the monitor sends them,
// else its own lines.
std::string headlineLine(const IncidentSnapshot& incident);
std::optional<std::string> impactLine(const IncidentSnapshot& incident);

// The attribution and evidence lines, the confidence ladder's first steps and the card's first
// figures (state/CardTexts), each composed from the card's codes where this build knows them.
std::string attributionLineText(const IncidentSnapshot& incident);
std::string evidenceLine(const IncidentSnapshot& incident);
std::vector<IncidentConfidenceStep> cardConfidenceSteps(const IncidentSnapshot& incident);
std::vector<DiagnosticMetric> cardMetrics(const IncidentSnapshot& incident);

// At most 3 facts condensed from the decision, cause/owner, history/change and next/outcome
// lines; when none of those has text, from the why-lines.
std::vector<IncidentPrimarySurfaceFact> primarySurfaceFacts(const IncidentSnapshot& incident);

// The line beside the next action: the next step (the rationale), or the outcome when there
// is none.
std::optional<std::string> nextActionLine(const IncidentSnapshot& incident);

// The line the card shows when there is no next action: the next step or the outcome, else the
// outcome line unchanged (which may be absent). Absent with a next action.
std::optional<std::string> actionStatusLine(const IncidentSnapshot& incident);

} // namespace velmora
