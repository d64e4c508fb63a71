// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/DetailCodes.h"
#include "model/FindingCodes.h"
#include "model/IncidentSnapshot.h"
#include "model/MemorySeries.h"
#include "model/WhereItGrowsBlock.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The verdict of a detail. Every key is required; the initialisers are the placeholder a
// detail without a verdict block shows.
struct VerdictBlock {
    std::string verdictLabel = "Unknown";
    std::string confidenceLabel = "Unavailable";
    std::string explanation = "No verdict details available.";
    // The explanation as a code with its figures, from a monitor that sends one.
    std::optional<Coded<ReasonCode>> explanationCode{};
    // The label and confidence as codes, from a monitor that sends them.
    std::optional<VerdictCodes> codes{};

    bool operator==(const VerdictBlock&) const = default;
};

// Reasons for the verdict; `reasons` is required.
struct WhyBlock {
    std::vector<std::string> reasons;
    // The same reasons as codes and figures, one for one, from a monitor that sends them.
    std::vector<Coded<ReasonCode>> reasonCodes{};

    bool operator==(const WhyBlock&) const = default;
};

// A command line the user can copy, with the action that copies it. Every key is required.
struct NextCommandDescriptor {
    std::string command;
    std::string explanation;
    ActionDescriptor action;
    // What the explanation says, from a monitor that sends it.
    std::optional<OpenCode<CommandCode>> explanationCode{};

    bool operator==(const NextCommandDescriptor&) const = default;
};

// What the user can do about the finding. Every key is defaulted.
struct ActBlock {
    std::vector<ActionDescriptor> actions;
    std::vector<NextCommandDescriptor> nextCommands;
    bool requiresDestructiveConfirmation = false;

    bool operator==(const ActBlock&) const = default;
};

// Identity, evidence and metric lines. Every key is required.
struct DiagnosticsBlock {
    std::vector<std::string> identityLines;
    std::vector<std::string> evidenceLines;
    std::vector<DiagnosticMetric> metrics;
    // The same lines as codes and figures, from a monitor that sends them.
    std::optional<DiagnosticsCodes> codes{};

    bool operator==(const DiagnosticsBlock&) const = default;
};

// An evidence artifact kept for the finding. Every key is required.
struct ArtifactBoundaryBlock {
    std::string title;
    std::string body;
    std::string reason;
    std::vector<std::string> metaLines;
    std::vector<ActionDescriptor> actions;
    // The body's, reason's and size's figures, from a monitor that sends them.
    std::optional<ArtifactCodes> codes{};

    bool operator==(const ArtifactBoundaryBlock&) const = default;
};

// The drill-down of one finding. Every key is defaulted or optional, so `{}` decodes to the
// default-constructed value.
struct DetailSnapshot {
    std::string key;
    std::string title = "Detail";
    VerdictBlock verdictBlock;
    WhyBlock whyBlock;
    ActBlock actBlock;
    std::vector<IncidentTimelineItem> timeline;
    // The same entries as codes and figures, one for one, from a monitor that sends them.
    std::vector<Coded<TimelineCode>> timelineCodes{};
    DiagnosticsBlock diagnosticsBlock;
    std::optional<ArtifactBoundaryBlock> artifactBoundary;
    // Heap tracking of the finding, once it was asked for.
    std::optional<WhereItGrowsBlock> whereItGrows;
    // The family's memory over time, for the chart; an older monitor sends none.
    std::optional<MemorySeries> memorySeries;

    bool operator==(const DetailSnapshot&) const = default;
};

// Identity in lists: the id of the command's action.
std::string identity(const NextCommandDescriptor& command);

} // namespace velmora
