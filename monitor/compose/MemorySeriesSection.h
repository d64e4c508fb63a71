// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "monitor/compose/ComposeContext.h"

namespace velmora {

// How far ahead of now the chart looks for the moment memory runs out.
inline constexpr double memoryChartHorizonSeconds = 3600;

// The chart's series of a family: its bucket medians over the last hour and its footprint now,
// the current make-up of that footprint, the straight line its growth rate was judged from, the
// moments its verdict changed, and the level where memory runs out when that is within the
// horizon.
MemorySeries memorySeriesOf(const ComposeContext& context, const FamilyView& family);

// Theil-Sen's intercept for a known slope: the median of `y - slope * x` over the points
// (`x` in seconds, `y` in KiB), the line's value at x = 0.
double interceptFor(const std::vector<double>& xs, const std::vector<double>& ys, double slope);

} // namespace velmora
