// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace velmora {

// The time windows of the advanced history, as epoch-millisecond lower bounds.
struct HistoryWindow {
    int64_t since7dMs = 0;
    int64_t since30dMs = 0;

    static HistoryWindow endingAt(int64_t nowMs);
};

// What the history holds about one family over the last 30 days, aggregated by the database.
// The out-of-memory kills are "oom_kill" actions.
struct OffenderStats {
    int64_t familyId = 0;
    std::string key;
    std::string title;
    int64_t firstSeenMs = 0;
    uint32_t incidentCount7d = 0;
    uint32_t incidentCount30d = 0;
    uint32_t criticalIncidentCount30d = 0;
    uint32_t peakScore30d = 0;
    int64_t lastIncidentEndMs = 0; // 0 when there is no incident in 30 days
    double peakRate30d = 0.0;      // MB/min
    uint32_t incidentDays30d = 0;  // distinct days on which an incident started
    int64_t longestIncidentMs = 0;
    uint32_t artifactCount = 0;
    int64_t newestArtifactMs = 0;
    std::map<std::string, uint32_t> succeededActions30d; // action id -> count
    int64_t lastOutOfMemoryKillMs = 0; // 0 when the OOM killer ended none of it in 30 days

    uint32_t actionCount(const std::string& actionId) const;
    // Processes of the family the out-of-memory killer ended in the window.
    uint32_t outOfMemoryKills30d() const;

    bool operator==(const OffenderStats&) const = default;
};

// The latest action taken on a family and what came of it.
struct LastAction {
    std::string action;
    std::string outcome;
    bool succeeded = false;
    int64_t atMs = 0;

    bool operator==(const LastAction&) const = default;
};

// Everything the detail of one offender shows.
struct OffenderDetailStats {
    OffenderStats stats;
    std::optional<uint64_t> typicalFootprintBytes; // median of the daily means, 30 days
    std::optional<uint64_t> peakFootprintBytes;    // highest one-minute median, 30 days
    std::optional<LastAction> lastAction;

    bool operator==(const OffenderDetailStats&) const = default;
};

} // namespace velmora
