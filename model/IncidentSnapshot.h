// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/CardCodes.h"
#include "model/Enums.h"
#include "model/FindingCodes.h"
#include "model/TimelineCodes.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One rung of the confidence ladder. Every key is required.
struct IncidentConfidenceStep {
    std::string label;
    std::string value;
    IncidentConfidenceTone tone = IncidentConfidenceTone::neutral;

    bool operator==(const IncidentConfidenceStep&) const = default;
};

// One fact behind the attribution; `detail` is optional, the rest required.
struct IncidentAttributionFact {
    std::string label;
    std::string value;
    std::optional<std::string> detail;
    IncidentConfidenceTone tone = IncidentConfidenceTone::neutral;

    bool operator==(const IncidentAttributionFact&) const = default;
};

// One entry of an incident or detail timeline. Every key is required but `codes`, which an
// action's entry carries beside its texts.
struct IncidentTimelineItem {
    std::string label;
    std::string title;
    std::string detail;
    TimelineTone tone = TimelineTone::neutral;
    std::optional<TimelineEventCodes> codes = std::nullopt;

    bool operator==(const IncidentTimelineItem&) const = default;
};

// A labelled value. Every key is required.
struct DiagnosticMetric {
    std::string label;
    std::string value;

    bool operator==(const DiagnosticMetric&) const = default;
};

// A condensed fact for the first screen of the incident card; derived, never sent.
struct IncidentPrimarySurfaceFact {
    std::string label;
    std::string text;
    bool isPrimary = false;

    bool operator==(const IncidentPrimarySurfaceFact&) const = default;
};

// The focused incident. Every key is defaulted or optional; a default-constructed value is
// the decode of an empty object (no why-lines). `fallback()` is what a snapshot without an
// incident carries.
struct IncidentSnapshot {
    std::optional<std::string> key;
    IncidentStage stage = IncidentStage::normal;
    std::string stageLabel = "Normal";
    std::string headline = "No active memory incident";
    std::string suspectTitle = "All clear";
    std::string attributionLine = "Waiting for the next local sampling pass";
    std::optional<std::string> decisionLine;
    std::optional<std::string> impactLine;
    std::optional<std::string> responseLine;
    std::optional<std::string> causeLine;
    std::optional<std::string> responsibilityLine;
    std::string confidenceLabel = "Local passive monitor";
    std::string evidenceLabel = "No stronger evidence needed right now";
    std::vector<IncidentConfidenceStep> confidenceSteps;
    std::vector<IncidentAttributionFact> attributionFacts;
    std::vector<IncidentTimelineItem> timeline;
    std::string metricLine = "Memory totals unavailable";
    // Defaults to one metric "Metrics" whose value is this record's metricLine.
    std::vector<DiagnosticMetric> primaryMetrics{{"Metrics", "Memory totals unavailable"}};
    std::optional<std::string> changeLine;
    std::optional<std::string> memoryLine;
    std::vector<std::string> contextLines;
    std::vector<std::string> whyLines;
    std::optional<ActionDescriptor> nextAction;
    std::optional<std::string> actionRationale;
    std::optional<std::string> outcomeLine;
    // The same lines as codes and figures, from a monitor that sends them.
    std::optional<IncidentCodes> codes;
    // The card's own texts (stage and lines of the calm card, attribution, evidence, confidence,
    // figures) as codes and figures.
    std::optional<CardCodes> cardCodes;

    // The calm placeholder: the defaults above plus two passive-monitoring why-lines, with the
    // calm card's codes.
    static IncidentSnapshot fallback();

    bool operator==(const IncidentSnapshot&) const = default;
};

// The confidence steps whose label and value are both non-blank, at most the first 3.
std::vector<IncidentConfidenceStep> primaryConfidenceSteps(const IncidentSnapshot& incident);

// At most 3 metrics: "Confidence" first when there are no primary confidence steps, then the
// primary metrics (or "Metrics" / metricLine) with a non-blank value and a label not yet taken.
std::vector<DiagnosticMetric> primarySurfaceMetrics(const IncidentSnapshot& incident);

// Identities in lists.
std::string identity(const IncidentConfidenceStep& step);     // label|value|tone
std::string identity(const IncidentAttributionFact& fact);    // label|value|detail|tone
std::string identity(const IncidentTimelineItem& item);       // label|title|detail
std::string identity(const DiagnosticMetric& metric);         // label
std::string identity(const IncidentPrimarySurfaceFact& fact); // label|text

} // namespace velmora
