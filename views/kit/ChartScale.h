// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace velmora {

// The arithmetic of a chart's axes, apart from any painting: round tick values, the unit a
// size axis is read in, and the labels of both axes.

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
// A tick of a size axis: "120 MB", "1.5 GB", with as few decimals as `stepKiB` needs.
std::string sizeTickLabel(double kib, SizeUnit unit, double stepKiB);
// A size for a readout: "412.3 MB", "1.52 GB".
std::string sizeReadout(double kib);

// The time unit a time axis spanning `spanSeconds` is read in: minutes up to three hours,
// hours up to three days, days beyond.
enum class TimeUnit { minutes, hours, days };
TimeUnit timeUnitFor(double spanSeconds);
double secondsPer(TimeUnit unit);
// Ticks of a time axis covering [latestAgo, oldestAgo] (seconds before now; negative: later),
// about `wanted` intervals at most, on whole steps of its unit that a clock reads easily (5, 10,
// 15, 20, 30 minutes; 1, 2, 3, 6, 12 hours; 1, 2, 7 days), counted from now; oldest first.
std::vector<double> timeAxisTicks(double latestAgo, double oldestAgo, int wanted);
// A tick of a time axis, `agoSeconds` before now (negative: later than now): "now",
// "30 min ago", "6 h ago", "7 d ago", "in 20 min".
std::string timeTickLabel(double agoSeconds, TimeUnit unit);

} // namespace velmora
