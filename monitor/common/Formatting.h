#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// Display texts for sizes, rates and durations. Sizes use binary units with one decimal:
// "512.0 KB", "8.0 GB".
std::string formatKiB(uint64_t kib);
std::string formatKiB(double kib);
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
// The time of day when it is today ("14:05"), else with the date ("5 Dec 14:05").
std::string formatMoment(double unixSeconds, double nowUnixSeconds);

} // namespace velmora
