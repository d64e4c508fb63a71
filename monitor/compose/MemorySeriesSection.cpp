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

// The newest `count` figures of `values` widened to 64 bits, then `now`.
template <class T>
std::vector<uint64_t> newestThen(const std::vector<T>& values, std::size_t count, uint64_t now) {
    const std::size_t kept = std::min(values.size(), count);
    std::vector<uint64_t> out(values.end() - static_cast<std::ptrdiff_t>(kept), values.end());
    out.push_back(now);
    return out;
}

// The footprint's parts at the series' points: the kept buckets' figures, then now's.
std::optional<MemoryKindPoints> kindsOf(const FamilyView& family, const MemorySeries& series) {
    const KindBuckets& kinds = family.kindsKiB;
    if (kinds.empty() || kinds.anonKiB.size() != kinds.swapKiB.size() ||
        kinds.anonKiB.size() != kinds.sharedKiB.size()) {
        return std::nullopt;
    }
    const std::size_t medians = series.footprintKiB.size() - 1;
    MemoryKindPoints points{newestThen(kinds.anonKiB, medians, series.anonKiB),
                            newestThen(kinds.swapKiB, medians, series.swapKiB),
                            newestThen(kinds.sharedKiB, medians, series.sharedKiB)};
    // A kind the family never had travels as an empty list.
    for (auto* list : {&points.swapKiB, &points.sharedKiB}) {
        if (std::all_of(list->begin(), list->end(), [](uint64_t kib) { return kib == 0; })) {
            list->clear();
        }
    }
    return points;
}

// The growing member's own footprint at the series' points, when one speaks for the family.
std::optional<MemberMemorySeries> growingMemberSeriesOf(const FamilyView& family,
                                                        const MemorySeries& series) {
    const MemberView* grower = growingMemberOf(family);
    if (grower == nullptr) {
        return std::nullopt;
    }
    const std::size_t medians = series.footprintKiB.size() - 1;
    MemberMemorySeries member{grower->identity.pid, grower->name,
                              newestThen(family.growerSparklineKiB, medians, grower->footprintKiB),
                              std::nullopt};
    // The member's own trend: the family is judged by the member's rate and window.
    MemorySeries own;
    own.stepSeconds = series.stepSeconds;
    own.footprintKiB = member.footprintKiB;
    member.trend = trendOf(own, family.assessment);
    return member;
}

} // namespace

MemorySeries memorySeriesOf(const ComposeContext& context, const FamilyView& family) {
    MemorySeries series;
    series.stepSeconds = context.tuning.bucketSeconds;
    if (context.wallNow > 0) {
        series.nowWallSeconds = context.wallNow;
    }
    const auto& medians = family.sparklineKiB;
    const std::size_t kept = std::min(medians.size(), MemorySeries::maxPoints - 1);
    series.footprintKiB.assign(medians.end() - static_cast<std::ptrdiff_t>(kept), medians.end());
    series.footprintKiB.push_back(family.footprintKiB);
    series.anonKiB = sumOf(family, &MemberView::anonKiB);
    series.swapKiB = sumOf(family, &MemberView::swapKiB);
    series.sharedKiB = family.sharedKiB;
    series.kinds = kindsOf(family, series);
    series.growingMember = growingMemberSeriesOf(family, series);

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
