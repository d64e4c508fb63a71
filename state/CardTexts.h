// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IncidentSnapshot.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The incident card's own texts composed from the monitor's card codes, in English word for
// word as the monitor writes them. Each gives none for a code this build does not know or whose
// figures are missing; the card then shows the monitor's own text.

// The calm card's headline and why-lines.
std::string calmHeadlineText();
std::vector<std::string> calmWhyTexts();

// "Watching 48 processes in 12 families", "3 processes in the app scope org.gnome.Editor".
std::optional<std::string> attributionText(const CardCoded<AttributionCode>& attribution);

// "Evidence captured 14:05", "No evidence captured yet".
std::optional<std::string> evidenceText(const CardCoded<EvidenceCode>& evidence);

// "High confidence · score 72", "Local passive monitor".
std::optional<std::string> cardConfidenceText(const CardCoded<CardConfidenceCode>& confidence);

// A rung of the ladder ("Steadiness", "83% rising") in the tone the monitor gave it.
std::optional<IncidentConfidenceStep> ladderStep(const CardCoded<LadderStepCode>& step,
                                                 IncidentConfidenceTone tone);

// One of the card's figures ("Footprint", "1.9 GB").
std::optional<DiagnosticMetric> cardMetric(const CardCoded<CardMetricCode>& metric);

// The largest process of the family: "PID 4242 · 1.9 GB".
std::optional<std::string> largestProcessText(const CardFigures& largest);

// "Sampled from /proc every 2 s".
std::optional<std::string> samplingText(const CardFigures& sampling);

// The incident with each of the card's own texts composed from its code where this build knows
// it, and the monitor's text elsewhere. Lists that do not line up with their codes stay as sent.
IncidentSnapshot withCardTexts(const IncidentSnapshot& incident);

} // namespace velmora
