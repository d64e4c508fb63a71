// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The incident card's own texts, each written together with the code and figures the app
// composes it from, so the two cannot drift: who the card is about, its evidence line, its
// confidence and ladder, its figures, how it samples, and the calm card's scope and headroom.

#include "model/IncidentSnapshot.h"
#include "monitor/live/LiveView.h"

#include <optional>

namespace velmora {

// A card text with the code that stands for it.
template <class Text, class Code> struct Worded {
    Text text;
    Code code;
};

// The calm card of an answer: what is watched and how much memory the machine has left.
void setCalmFigures(IncidentSnapshot& calm, const LiveView& view);

// "3 processes in the app scope org.gnome.Editor", and the facts behind it: the family and its
// largest process.
void setAttribution(IncidentSnapshot& incident, const FamilyView& family);

// "Evidence captured 14:05" when evidence was captured at that moment, else "No evidence
// captured yet".
void setEvidence(IncidentSnapshot& incident, std::optional<double> capturedAt, double wallNow);

// "High confidence · score 72" and the ladder: growth, steadiness, trend and, once captured,
// the evidence.
void setConfidence(IncidentSnapshot& incident, const FamilyAssessment& a, bool captured);

// "Sampled from /proc every 2 s".
void setSampling(IncidentSnapshot& incident, const std::string& procPath, double seconds);

// The family's figures: footprint, growth, typical size when known, and score.
std::vector<Worded<DiagnosticMetric, CardCoded<CardMetricCode>>>
wordedMetricsOf(const FamilyView& family);

} // namespace velmora
