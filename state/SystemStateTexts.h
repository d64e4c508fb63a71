// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PopoverSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The summary strip and the memory-state header composed from the monitor's codes, in English
// word for word as the monitor writes them. The composers give none for an absent or unknown
// code or missing figures; the surfaces then show the monitor's own text.

// "ALL CLEAR", "2 FAMILIES TO WATCH", "1 SUSPECTED LEAK", "CRITICAL PRESSURE".
std::optional<std::string> summaryText(const SummaryCodes& summary);
// "Normal pressure", "Critical pressure"; "Memory state unavailable" while memory is unread.
std::optional<std::string> pressureText(const SystemStateCodes& codes);
// "20.1 GB available of 23.4 GB"; "Headroom unavailable" while memory is unread.
std::optional<std::string> headroomText(const SystemStateCodes& codes);
// "48 same-user processes in 12 families", "First process scan running", and while the line
// carries the forecast "Runs out in ~40 min", "Memory forecast unavailable".
std::optional<std::string> scopeText(const SystemStateCodes& codes);

// What the surfaces show: the composed text, else the monitor's.
std::string summaryStripText(const PopoverSnapshot& snapshot);
std::string pressurePillText(const SystemStateSnapshot& state);
std::string headroomLineText(const SystemStateSnapshot& state);
std::string scopeLineText(const SystemStateSnapshot& state);

} // namespace velmora
