// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/ActionDescriptor.h"
#include "model/Enums.h"
#include "model/FindingCodes.h"
#include "model/HistoryCodes.h"
#include "model/StatusCodes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// One live suspect row. `key` and `title` are required, the rest defaulted or optional.
// A missing verdict is derived from the severity, confidence label and explanation.
struct FindingSnapshot {
    std::string key;
    std::string title;
    std::string rate = "N/A";
    std::vector<uint16_t> sparklineSamples;
    std::string confidencePillLabel = "unknown";
    std::string explanation;
    std::vector<ActionDescriptor> orderedActions;
    FindingVerdict verdict = FindingVerdict::watch;
    FindingSeverity severity = FindingSeverity::watch;
    std::optional<std::string> exhaustionEstimate;
    std::optional<std::string> curvatureLabel;
    // The family's footprint now ("3.2 GB") and how long it has been growing ("12 min"), for
    // texts that stand alone, such as notifications.
    std::optional<std::string> footprintLabel;
    std::optional<std::string> growthSpanLabel;
    // The row's confidence, rate, sizes and spans as codes and figures, from a monitor that
    // sends them.
    std::optional<FindingCodes> codes;

    bool operator==(const FindingSnapshot&) const = default;
};

// A recent finding with its status. Every key is required.
struct RecentFindingSnapshot {
    std::string key;
    std::string title;
    std::string statusLabel;
    std::string explanation;
    std::string lastSeenText;
    FindingSeverity severity = FindingSeverity::watch;
    // The status and age as codes and figures, from a monitor that sends them.
    std::optional<RecentFindingCodes> codes;
    // The explanation as a code and its figures, from a monitor that sends them.
    std::optional<RecentExplanationCodes> explanationCode{};

    bool operator==(const RecentFindingSnapshot&) const = default;
};

// The verdict of a row that does not state one: allClear -> normal, watch -> watch,
// critical -> criticalRunaway; suspect -> probable when the lower-cased
// "<confidence> <explanation>" contains "probable", else suspect.
FindingVerdict fallbackVerdict(FindingSeverity severity, std::string_view confidence,
                               std::string_view explanation);

// Identities in lists: the key.
std::string identity(const FindingSnapshot& row);
std::string identity(const RecentFindingSnapshot& finding);

} // namespace velmora
