// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "monitor/history/OffenderStats.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The display texts of one offender, worded from its aggregated history at `nowMs`.
class OffenderWording {
public:
    OffenderWording(const OffenderStats& stats, bool liveNow, int64_t nowMs)
        : stats_(stats), liveNow_(liveNow), nowMs_(nowMs) {}

    // "Historical critical" after any critical incident in 30 days; "Historical suspect" after
    // two incidents, a peak score of 65 or an out-of-memory kill; else "Historical watch".
    std::string riskLabel() const;
    // "Recurring above baseline" when incidents started on a third of the days watched or
    // more, "Occasional spikes" for two or more incidents and out-of-memory kills together,
    // "Usually healthy" for one or none, "Too new to judge" in its first two days.
    std::string typicalityLabel() const;
    // "Live now", "12m ago", ..., or "Not seen in 30d".
    std::string lastSeenText() const;
    // "critical once", "ended by the OOM killer 2× in 30 days", "3 artifacts", "restarted 2x"
    std::vector<std::string> evidenceTags() const;
    std::string interpretation() const;

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

// The metrics and insight lines of one offender's detail.
std::vector<HistoryMetric> detailMetrics(const OffenderDetailStats& detail, int64_t nowMs);
std::vector<std::string> detailInsights(const OffenderDetailStats& detail, int64_t nowMs);

} // namespace velmora
