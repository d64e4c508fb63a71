// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "monitor/history/OffenderStats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The display texts of one offender, worded from its aggregated history at `nowMs`. Each text
// is written from the code sent beside it, so the two never disagree.
class OffenderWording {
public:
    OffenderWording(const OffenderStats& stats, bool liveNow, int64_t nowMs)
        : stats_(stats), liveNow_(liveNow), nowMs_(nowMs) {}

    // "Historical critical" after any critical incident in 30 days; "Historical suspect" after
    // two incidents, a peak score of 65 or an out-of-memory kill; else "Historical watch".
    OffenderRiskCode riskCode() const;
    // "Recurring above baseline" when incidents started on a third of the days watched or
    // more, "Occasional spikes" for two or more incidents and out-of-memory kills together,
    // "Usually healthy" for one or none, "Too new to judge" in its first two days.
    TypicalityCode typicalityCode() const;
    // "Live now", "12m ago", ..., or "Not seen in 30d".
    Recorded<LastSeenCode> lastSeen() const;
    // "critical once", "ended by the OOM killer 2× in 30 days", "3 artifacts", "restarted 2x"
    std::vector<Recorded<OffenderTagCode>> tags() const;
    Recorded<InterpretationCode> interpretation() const;
    // The codes of the texts above.
    OffenderCodes codes() const;

    HistoricalOffenderSummarySnapshot summary() const;

private:
    // The end of the latest incident or the latest out-of-memory kill; 0 for neither.
    int64_t lastSeenMs() const;
    uint32_t daysWatched() const;
    bool isRecurring() const;

    const OffenderStats& stats_;
    bool liveNow_;
    int64_t nowMs_;
};

// The detail of one offender: the summary's texts (its risk reads "No incidents on record"
// without incidents or kills), its metrics and its insight lines, each with its code.
HistoricalOffenderDetailSnapshot offenderDetail(const OffenderDetailStats& detail, bool liveNow,
                                                int64_t nowMs);

// The English of each code, as the monitor sends it beside the code.
std::string riskText(OffenderRiskCode risk);
std::string typicalityText(TypicalityCode typicality);
std::string lastSeenText(const Recorded<LastSeenCode>& lastSeen);
std::string tagText(const Recorded<OffenderTagCode>& tag);
std::string interpretationText(const Recorded<InterpretationCode>& interpretation,
                               const std::string& title);
HistoryMetric metricText(const Recorded<HistoryMetricCode>& metric);
std::string insightText(const Recorded<InsightCode>& insight);

} // namespace velmora
