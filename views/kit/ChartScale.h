// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

namespace velmora {

// KiB in a megabyte and in a gigabyte, as the chart counts them.
inline constexpr double kiBPerMB = 1024;
inline constexpr double kiBPerGB = 1024 * 1024;

// The arithmetic of a chart's axes, apart from any painting: round tick values, the unit a
// size axis is read in, and the steps of a time axis (their words are ChartTexts').

// A value range widened to round ticks: `ticks` from `low` to `high` inclusive, `step` apart.
struct AxisTicks {
    double low = 0;
    double high = 1;
    double step = 1;
    std::vector<double> ticks;
};

// About `wanted` ticks at 1, 2 or 5 times a power of ten (in `unit`s), covering [low, high].
// A flat or inverted range is widened around its value.
AxisTicks niceTicks(double low, double high, int wanted, double unit = 1);

// The unit a size axis that reaches `highKiB` is read in: MB below a GB, GB from there on.
enum class SizeUnit { megabytes, gigabytes };
SizeUnit sizeUnitFor(double highKiB);
// How many decimals the ticks of a size axis `stepKiB` apart need in `unit` (0, 1 or 2).
int tickDecimals(SizeUnit unit, double stepKiB);
// A size in the axis' unit.
double inUnit(double kib, SizeUnit unit);

// The time unit a time axis spanning `spanSeconds` is read in: minutes up to three hours,
// hours up to three days, days beyond.
enum class TimeUnit { minutes, hours, days };
TimeUnit timeUnitFor(double spanSeconds);
double secondsPer(TimeUnit unit);
// Ticks of a time axis covering [latestAgo, oldestAgo] (seconds before now; negative: later),
// about `wanted` intervals at most, on whole steps of its unit that a clock reads easily (5, 10,
// 15, 20, 30 minutes; 1, 2, 3, 6, 12 hours; 1, 2, 7 days), counted from now; oldest first.
// Given the clock's seconds since midnight now, the ticks fall on whole clock steps instead
// (14:00, 14:15; each midnight for steps of a day or more).
std::vector<double> timeAxisTicks(double latestAgo, double oldestAgo, int wanted,
                                  std::optional<double> clockSecondsOfDay = std::nullopt);
// How many whole units a tick `agoSeconds` from now lies away (0: now).
double unitsAway(double agoSeconds, TimeUnit unit);

} // namespace velmora
