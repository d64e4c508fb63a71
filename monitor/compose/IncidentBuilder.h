// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IncidentSnapshot.h"
#include "monitor/compose/ComposeContext.h"

namespace velmora {

// The lead suspect as an incident: stage from the verdict and from what happened to it
// (evidence captured, action taken), with its lines, ladder, metrics and timeline. Without a
// lead suspect, the calm incident of stage normal.
IncidentSnapshot buildIncident(const ComposeContext& context, const FamilyView* lead);

// The family's timeline: first seen, what the score crossed, and the user's actions.
// A timeline with its codes, one for one, built side by side.
struct ComposedTimeline {
    std::vector<IncidentTimelineItem> items;
    std::vector<Coded<TimelineCode>> codes;
};
ComposedTimeline composedTimelineOf(const ComposeContext& context, const FamilyView& family);
std::vector<IncidentTimelineItem> timelineOf(const ComposeContext& context,
                                             const FamilyView& family);
std::vector<DiagnosticMetric> metricsOf(const FamilyView& family);

} // namespace velmora
