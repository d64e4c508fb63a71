// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/HistoryCodes.h"
#include "model/MemorySeries.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

// One recurring offender. Every key is required.
struct HistoricalOffenderSummarySnapshot {
    std::string key;
    std::string title;
    bool liveNow = false;
    int64_t lastSeenMs = 0;
    std::string lastSeenText;
    uint32_t incidentCount7d = 0;
    uint32_t incidentCount30d = 0;
    uint32_t criticalIncidentCount30d = 0;
    uint32_t peakScore30d = 0;
    std::string riskLabel;
    std::string typicalityLabel;
    std::vector<std::string> evidenceTags;
    std::string interpretation;
    // The texts above as codes and figures, from a monitor that sends them.
    std::optional<OffenderCodes> codes{};

    bool operator==(const HistoricalOffenderSummarySnapshot&) const = default;
};

// A labelled value of an offender's detail. Every key is required.
struct HistoryMetric {
    std::string label;
    std::string value;

    bool operator==(const HistoryMetric&) const = default;
};

// The detail of one offender. Every key is required.
struct HistoricalOffenderDetailSnapshot {
    std::string key;
    std::string title;
    std::string riskLabel;
    std::string typicalityLabel;
    std::string lastSeenText;
    std::vector<std::string> evidenceTags;
    std::string interpretation;
    std::vector<HistoryMetric> metrics;
    std::vector<std::string> insightLines;
    // Its memory over the last 30 days from the history store, with its incidents and
    // out-of-memory kills; an older monitor sends none.
    std::optional<MemorySeries> memorySeries;
    // The texts above (with the metrics and insights) as codes and figures, from a monitor
    // that sends them.
    std::optional<OffenderCodes> codes{};

    bool operator==(const HistoricalOffenderDetailSnapshot&) const = default;
};

// Recurring offenders, fetched on demand. Every key but `selectedDetail` is required.
struct AdvancedHistorySnapshot {
    int64_t generatedAtMs = 0;
    std::vector<HistoricalOffenderSummarySnapshot> offenders;
    std::optional<HistoricalOffenderDetailSnapshot> selectedDetail;

    bool operator==(const AdvancedHistorySnapshot&) const = default;
};

// Identities in lists.
std::string identity(const HistoricalOffenderSummarySnapshot& offender); // key
std::string identity(const HistoryMetric& metric);                       // label

} // namespace velmora
