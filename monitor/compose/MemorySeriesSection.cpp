// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/compose/MemorySeriesSection.h"

#include <algorithm>
#include <cmath>

namespace velmora {

double interceptFor(const std::vector<double>& xs, const std::vector<double>& ys, double slope) {
    std::vector<double> offsets;
    offsets.reserve(std::min(xs.size(), ys.size()));
    for (std::size_t i = 0; i < xs.size() && i < ys.size(); ++i) {
        offsets.push_back(ys[i] - slope * xs[i]);
    }
    if (offsets.empty()) {
        return 0;
    }
    auto middle = offsets.begin() + static_cast<std::ptrdiff_t>(offsets.size() / 2);
    std::nth_element(offsets.begin(), middle, offsets.end());
    if (offsets.size() % 2 == 1) {
        return *middle;
    }
    const double upper = *middle;
    return (upper + *std::max_element(offsets.begin(), middle)) / 2;
}

namespace {

// The trend over the rate window: x is seconds before now (negative), y the medians.
std::optional<MemoryTrendLine> trendOf(const MemorySeries& series, const FamilyAssessment& a) {
    const double rate = a.rateKiBPerSecond;
    if (!a.hasRate || !a.growing() || !std::isfinite(rate) || rate <= 0 || a.windowSeconds <= 0 ||
        series.footprintKiB.size() < 3) {
        return std::nullopt;
    }
    std::vector<double> xs;
    std::vector<double> ys;
    // The medians only (the newest point is the footprint of this instant); the window ends at
    // the newest median, a step before now.
    const double windowStart = a.windowSeconds + series.stepSeconds;
    for (std::size_t i = 0; i + 1 < series.footprintKiB.size(); ++i) {
        const double ago = agoSecondsOf(series, i);
        if (ago <= windowStart + series.stepSeconds / 2) {
            xs.push_back(-ago);
            ys.push_back(static_cast<double>(series.footprintKiB[i]));
        }
    }
    if (xs.size() < 2) {
        return std::nullopt;
    }
    const double startAgo = -xs.front();
    const double intercept = interceptFor(xs, ys, rate);
    return MemoryTrendLine{startAgo, std::max(0.0, intercept - rate * startAgo), rate};
}

uint64_t sumOf(const FamilyView& family, uint64_t MemberView::*field) {
    uint64_t total = 0;
    for (const MemberView& member : family.members) {
        total += member.*field;
    }
    return total;
}

} // namespace

MemorySeries memorySeriesOf(const ComposeContext& context, const FamilyView& family) {
    MemorySeries series;
    series.stepSeconds = context.tuning.bucketSeconds;
    const auto& medians = family.sparklineKiB;
    const std::size_t kept = std::min(medians.size(), MemorySeries::maxPoints - 1);
    series.footprintKiB.assign(medians.end() - static_cast<std::ptrdiff_t>(kept), medians.end());
    series.footprintKiB.push_back(family.footprintKiB);
    series.anonKiB = sumOf(family, &MemberView::anonKiB);
    series.swapKiB = sumOf(family, &MemberView::swapKiB);
    series.sharedKiB = family.sharedKiB;

    const FamilyAssessment& a = family.assessment;
    series.trend = trendOf(series, a);
    if (context.view != nullptr) {
        series.marks =
            context.interaction.verdictMarks.marksOf(family.key, context.view->monotonicTime);
    }
    const double rate = a.rateKiBPerSecond;
    if (a.exhaustionSeconds && std::isfinite(*a.exhaustionSeconds) && rate > 0 &&
        *a.exhaustionSeconds <= memoryChartHorizonSeconds) {
        const double in = std::max(0.0, *a.exhaustionSeconds);
        series.runsOut =
            RunsOutLevel{in, family.footprintKiB + static_cast<uint64_t>(std::llround(rate * in))};
    }
    return series;
}

} // namespace velmora
