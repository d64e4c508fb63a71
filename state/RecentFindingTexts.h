// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// A recent finding's status and age composed from the monitor's codes, in English word for word
// as the monitor writes them. The composers give none for an absent or unknown code; the list
// then shows the monitor's own text.

// "Ended: out of memory", "Process ended", "Growth stopped".
std::optional<std::string> recentStatusText(const RecentFindingCodes& codes);
// "just now", "5 min ago", "30 h ago".
std::optional<std::string> recentAgeText(const RecentFindingCodes& codes);

// "Ended by the out-of-memory killer at 14:02 with 3.2 GB.", "Probable leak earlier; no longer
// in the live rows."
std::optional<std::string> recentExplanationText(const RecentExplanationCodes& codes);

// What the list shows: the composed text, else the monitor's.
std::string recentStatusLabel(const RecentFindingSnapshot& finding);
std::string recentLastSeenText(const RecentFindingSnapshot& finding);
std::string recentExplanation(const RecentFindingSnapshot& finding);

} // namespace velmora
