// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/IncidentSnapshot.h"
#include "model/PopoverSnapshot.h"
#include "monitor/compose/VerdictMarks.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace velmora {

// An evidence artifact written for a family.
struct CapturedArtifact {
    std::string path;
    double wallTime = 0;
    uint64_t bytes = 0;
    std::size_t processCount = 0;
};

// What the user did, as the request thread remembers it between answers: the open detail,
// a pending confirmation, the latest feedback, artifacts and per-family events.
struct InteractionState {
    std::optional<std::string> selectedKey;
    std::optional<DestructiveConfirmationSnapshot> confirmation;
    std::optional<ActionFeedbackSnapshot> feedback;
    double feedbackUntil = 0; // monotonic seconds
    uint64_t feedbackCounter = 0;
    std::map<std::string, CapturedArtifact> artifacts;
    std::set<std::string> artifactsRecalled; // families whose stored artifact was looked up
    std::map<std::string, std::vector<IncidentTimelineItem>> events;
    // family key -> outcome of the last action, in the action's own words
    std::map<std::string, std::string> outcomes;
    VerdictMarks verdictMarks; // when each family's verdict changed

    void addEvent(const std::string& key, IncidentTimelineItem item);
};

} // namespace velmora
