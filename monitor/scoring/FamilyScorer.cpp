#include "monitor/scoring/FamilyScorer.h"

#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {
namespace {

double clamp01(double value) {
    return std::clamp(value, 0.0, 1.0);
}

double medianOfRange(const std::vector<uint32_t>& values, std::size_t from, std::size_t to) {
    std::vector<uint32_t> part(values.begin() + static_cast<std::ptrdiff_t>(from),
                               values.begin() + static_cast<std::ptrdiff_t>(to));
    auto middle = part.begin() + static_cast<std::ptrdiff_t>(part.size() / 2);
    std::nth_element(part.begin(), middle, part.end());
    return static_cast<double>(*middle);
}

// Relative growth over a window: the rise the slope implies against where the window started.
double relativeGrowth(double ratePerSecond, double seconds, double footprint) {
    double rise = ratePerSecond * seconds;
    double start = std::max(footprint - rise, 1024.0);
    return rise / start;
}

} // namespace

FindingSeverity severityOf(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        return FindingSeverity::allClear;
    case FindingVerdict::watch:
        return FindingSeverity::watch;
    case FindingVerdict::suspect:
    case FindingVerdict::probable:
        return FindingSeverity::suspect;
    case FindingVerdict::criticalRunaway:
        return FindingSeverity::critical;
    }
    return FindingSeverity::allClear;
}

FamilyScorer::FamilyScorer(const Tuning& tuning, double clockTicksPerSecond)
    : tuning_(tuning), ticksPerSecond_(clockTicksPerSecond > 0 ? clockTicksPerSecond : 100) {}

FamilyAssessment FamilyScorer::assess(const FamilySeries& series, uint64_t memAvailableKiB,
                                      std::optional<uint64_t> storedBaselineKiB) const {
    FamilyAssessment a;
    a.footprintKiB = series.latestKiB();
    a.baselineKiB = storedBaselineKiB.value_or(series.baselineKiB());
    a.baselineMultiple =
        a.baselineKiB > 0 ? static_cast<double>(a.footprintKiB) / static_cast<double>(a.baselineKiB)
                          : 1.0;
    const double bucket = series.bucketSeconds();
    const auto window = series.medians(static_cast<std::size_t>(tuning_.rateWindowBuckets));
    if (window.size() < static_cast<std::size_t>(tuning_.minRateBuckets)) {
        a.verdict = FindingVerdict::normal;
        return a;
    }
    const auto points = static_cast<std::size_t>(tuning_.maxWindowPoints);
    TrendFit fit = fitTrend(window, points);
    a.hasRate = true;
    a.rateKiBPerSecond = fit.slopePerPoint / bucket;
    a.tau = fit.tau;
    a.windowSeconds = static_cast<double>(window.size() - 1) * bucket;
    double epsilon = std::max(64.0, 0.0005 * static_cast<double>(a.footprintKiB));
    a.steadiness = risingShare(window, epsilon);
    a.step = looksLikeStep(window);

    // A ramp moves its thirds apart by two thirds of the rise; a sawtooth or a burst does not.
    std::size_t third = std::max<std::size_t>(window.size() / 3, 1);
    double thirdsRise = medianOfRange(window, window.size() - third, window.size()) -
                        medianOfRange(window, 0, third);
    double expected = a.rateKiBPerSecond * a.windowSeconds * 2.0 / 3.0;
    a.consistency = expected > 0 ? clamp01(thirdsRise / expected) : 0;

    auto longRate = [&](int buckets) -> std::optional<double> {
        auto values = series.medians(static_cast<std::size_t>(buckets));
        if (values.size() * 3 < static_cast<std::size_t>(buckets) * 2 ||
            values.size() <= window.size()) {
            return std::nullopt;
        }
        return fitTrend(values, points).slopePerPoint / bucket;
    };
    a.hourRateKiBPerSecond = longRate(tuning_.hourWindowBuckets);
    a.sixHourRateKiBPerSecond = longRate(tuning_.sixHourWindowBuckets);

    if (a.rateKiBPerSecond > 0) {
        auto recent = series.medians(static_cast<std::size_t>(tuning_.curvatureBuckets));
        if (recent.size() >= 2) {
            a.curvature = fitTrend(recent, points).slopePerPoint / bucket / a.rateKiBPerSecond;
        }
        double cpuSeconds =
            static_cast<double>(series.cpuTicks(window.size() - 1)) / ticksPerSecond_;
        a.idle = a.windowSeconds > 0 && cpuSeconds / a.windowSeconds < tuning_.idleCpuFraction;
    }
    if (a.growing() && a.tau > 0.3) {
        a.exhaustionSeconds = static_cast<double>(memAvailableKiB) / a.rateKiBPerSecond;
    }
    a.score = score(a, series);
    a.verdict = verdictFor(a.score, a);
    return a;
}

int FamilyScorer::score(const FamilyAssessment& a, const FamilySeries& series) const {
    if (!a.hasRate || a.rateKiBPerSecond <= 0) {
        return 0;
    }
    double footprint = static_cast<double>(a.footprintKiB);
    double growth = 30 *
                    clamp01(relativeGrowth(a.rateKiBPerSecond, a.windowSeconds, footprint) / 0.20) *
                    clamp01(a.steadiness / 0.6);
    double sustained = 0;
    for (auto [rate, buckets] :
         {std::pair{a.hourRateKiBPerSecond, tuning_.hourWindowBuckets},
          std::pair{a.sixHourRateKiBPerSecond, tuning_.sixHourWindowBuckets}}) {
        if (rate && *rate > 0) {
            double seconds = static_cast<double>(buckets) * series.bucketSeconds();
            sustained =
                std::max(sustained, 10 * clamp01(relativeGrowth(*rate, seconds, footprint) / 0.30));
        }
    }
    double steadiness = 20 * clamp01((a.steadiness - 0.5) / 0.4);
    double strength = 15 * clamp01((a.tau - 0.3) / 0.6);
    double duration =
        10 * clamp01(a.windowSeconds /
                     (series.bucketSeconds() * static_cast<double>(tuning_.rateWindowBuckets - 1)));
    double baseline = 10 * clamp01(a.baselineMultiple - 1.0);
    double idleness = a.idle ? 5 : 0;
    double total = growth + sustained + steadiness + strength + duration + baseline + idleness;
    if (a.consistency < 0.5) {
        total = std::min(total, 20.0);
    }
    // A leak rises in most steps; one or two jumps (a load, a cache fill) are not one.
    if (a.step || a.steadiness < 0.5) {
        total = std::min(total, 25.0);
    }
    if (footprint < tuning_.minFootprintMiB * 1024) {
        total = std::min(total, 20.0);
    }
    return static_cast<int>(std::lround(std::clamp(total, 0.0, 100.0)));
}

FindingVerdict FamilyScorer::verdictFor(int score, const FamilyAssessment& a) const {
    bool exhausting = a.exhaustionSeconds &&
                      *a.exhaustionSeconds <= tuning_.exhaustionCriticalMinutes * 60 &&
                      score >= tuning_.watchScore;
    if (score >= tuning_.criticalScore || exhausting) {
        return FindingVerdict::criticalRunaway;
    }
    if (score >= tuning_.probableScore) {
        return FindingVerdict::probable;
    }
    if (score >= tuning_.suspectScore) {
        return FindingVerdict::suspect;
    }
    if (score >= tuning_.watchScore) {
        return FindingVerdict::watch;
    }
    return FindingVerdict::normal;
}

} // namespace velmora
