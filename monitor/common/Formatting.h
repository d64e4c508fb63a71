// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/SizeText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Display texts for counts, rates and durations; sizes are formatKiB (base/SizeText.h).
// "1 process", "3 processes": the count with its noun, singular for one.
std::string formatCount(int64_t count, std::string_view one, std::string_view many);
// "+8.2 MB/min" (signed).
std::string formatRate(double kibPerSecond);
// "about 12 min", "about 3 h 20 min", "under a minute".
std::string formatDuration(double seconds);
// "45 s", "15 min", "2 h 5 min".
std::string formatSpan(double seconds);
// "just now", "4 min ago", "2 h ago".
std::string formatAgo(double seconds);
// Wall-clock time of day, "14:05".
std::string formatClock(double unixSeconds);
// Whether two moments fall on the same local calendar day.
bool sameLocalDay(double unixSeconds, double otherUnixSeconds);
// The time of day when it is today ("14:05"), else with the date ("5 Dec 14:05").
std::string formatMoment(double unixSeconds, double nowUnixSeconds);

} // namespace velmora
