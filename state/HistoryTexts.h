// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The history's offenders in the person's language, composed from the monitor's codes; in
// English word for word as the monitor writes them. A composer gives none for an unknown code
// or missing figures; the view then shows the monitor's own text.

std::optional<std::string> offenderRiskText(const OpenCode<OffenderRiskCode>& risk);
std::optional<std::string> offenderTypicalityText(const OpenCode<TypicalityCode>& typicality);
// "Live now", "12m ago", "Not seen in 30d".
std::optional<std::string> offenderLastSeenText(const Recorded<LastSeenCode>& lastSeen);
// "critical once", "ended by the OOM killer 2× in 30 days", "3 artifacts", "restarted 2x".
std::optional<std::string> offenderTagText(const Recorded<OffenderTagCode>& tag);
// `title` is the offender's, for the sentences that name it.
std::optional<std::string> offenderInterpretationText(const Recorded<InterpretationCode>& code,
                                                      const std::string& title);
// A metric's label and value: {"Peak rate", "+8.2 MB/min"}.
std::optional<HistoryMetric> offenderMetricText(const Recorded<HistoryMetricCode>& metric);
std::optional<std::string> offenderInsightText(const Recorded<InsightCode>& insight);

// The offender with every text the codes stand for composed, the rest as the monitor sent it.
HistoricalOffenderSummarySnapshot localized(HistoricalOffenderSummarySnapshot offender);
HistoricalOffenderDetailSnapshot localized(HistoricalOffenderDetailSnapshot detail);

} // namespace velmora
