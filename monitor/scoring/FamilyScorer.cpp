#include "monitor/scoring/FamilyScorer.h"

#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {
namespace {

constexpr double kNoLeakCap = 20;      // the score of what is no leak: below "watch" by default
constexpr double kReleaseShare = 0.02; // a release gives back at least this share at once
constexpr std::size_t kReleasesForFloor = 2; // releases in the window that make it a sawtooth

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
                                      std::optional<uint64_t> storedBaselineKiB,
                                      FindingVerdict previous) const {
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
    a.young = series.closedBuckets() < static_cast<uint64_t>(tuning_.warmupBuckets);
    const double epsilon = std::max(64.0, 0.0005 * static_cast<double>(a.footprintKiB));
    a.steadiness = risingShare(window, epsilon);
    auto growth = std::span<const uint32_t>(window);
    if (auto onset = growthOnset(window); onset > 0) {
        // Flat, then growing: the flat part says nothing against the growth after it.
        growth = growth.subspan(onset);
        a.steadiness = std::max(a.steadiness, risingShare(growth, epsilon));
        a.tau = std::max(a.tau, fitTrend(growth, points).tau);
    }
    a.significance = incrementSignificance(std::vector<double>(growth.begin(), growth.end()));
    a.step = looksLikeStep(window);

    // A ramp moves its thirds apart by two thirds of the rise; a sawtooth or a burst does not.
    std::size_t third = std::max<std::size_t>(window.size() / 3, 1);
    double thirdsRise = medianOfRange(window, window.size() - third, window.size()) -
                        medianOfRange(window, 0, third);
    double expected = a.rateKiBPerSecond * a.windowSeconds * 2.0 / 3.0;
    a.consistency = expected > 0 ? clamp01(thirdsRise / expected) : 0;

    auto fineCount = static_cast<std::size_t>(a.windowSeconds / tuning_.sampleIntervalSeconds) + 1;
    judgeFloor(a, series.minima(window.size()), window, series.fineSamples(fineCount));
    judgeRecentGrowth(a, window, epsilon);
    a.revisited = revisited(a, series, window.size());

    // The hour and six-hour windows, once there is data: slow growth that only shows over
    // hours is sustained when it added a good share of the footprint, steadily.
    auto longRate = [&](int buckets) -> std::optional<double> {
        auto values = series.medians(static_cast<std::size_t>(buckets));
        if (values.size() * 3 < static_cast<std::size_t>(buckets) * 2 ||
            values.size() <= window.size()) {
            return std::nullopt;
        }
        TrendFit longFit = fitTrend(values, points);
        double rate = longFit.slopePerPoint / bucket;
        double seconds = static_cast<double>(values.size() - 1) * bucket;
        if (longFit.tau >= tuning_.leakTrendStrength &&
            relativeGrowth(rate, seconds, static_cast<double>(a.footprintKiB)) >=
                tuning_.longRiseShare) {
            a.sustainedGrowth = true;
        }
        return rate;
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
    if (a.growing() && a.tau > 0.3 && !a.stoppedSeconds) {
        a.exhaustionSeconds = static_cast<double>(memAvailableKiB) / a.rateKiBPerSecond;
    }
    a.score =
        score(a, series, static_cast<int>(previous) >= static_cast<int>(FindingVerdict::suspect));
    a.verdict = verdictFor(a.score, a);
    return a;
}

void FamilyScorer::judgeFloor(FamilyAssessment& a, const std::vector<uint32_t>& minima,
                              const std::vector<uint32_t>& medians,
                              const std::vector<uint32_t>& fine) const {
    const std::size_t n = std::min(minima.size(), medians.size());
    if (n < 3 || a.rateKiBPerSecond <= 0) {
        return;
    }
    const double bucket = a.windowSeconds / static_cast<double>(medians.size() - 1);
    // Under a sawtooth memory is handed back at once, again and again: sharp falls between
    // two samples. A wandering working set moves in small steps either way and has none.
    a.floorBased = countReleases(fine, kReleaseShare * static_cast<double>(a.footprintKiB)) >=
                   kReleasesForFloor;
    std::size_t third = n / 3;
    auto lowest = [&](std::size_t from, std::size_t to) {
        return static_cast<double>(
            *std::min_element(minima.end() - static_cast<std::ptrdiff_t>(n - from),
                              minima.end() - static_cast<std::ptrdiff_t>(n - to)));
    };
    double first = lowest(0, third);
    double last = lowest(n - third, n);
    double span = static_cast<double>(n - third) * bucket;
    double floorRate = (last - first) / span;
    a.floorAgreement = clamp01(floorRate / a.rateKiBPerSecond);
    if (a.floorBased) {
        // Under a sawtooth the medians follow the teeth: the floor's rate is the leak's, and
        // its rise must be spread over the window rather than one jump.
        a.rateKiBPerSecond = std::max(floorRate, 0.0);
        // The floor of each stretch of the window (a few buckets each) must sit above the one
        // before: one rise and a long flat floor, or a walk, fails some stretch.
        std::size_t stretches =
            std::max<std::size_t>(3, n / static_cast<std::size_t>(tuning_.floorStretchBuckets));
        std::vector<double> floors;
        for (std::size_t k = 0; k < stretches; ++k) {
            floors.push_back(lowest(k * n / stretches, (k + 1) * n / stretches));
        }
        double minimumRise = 0.1 * (last - first) / static_cast<double>(stretches - 1);
        std::size_t rising = 0;
        for (std::size_t k = 1; k < stretches; ++k) {
            rising += floors[k] - floors[k - 1] > minimumRise ? 1 : 0;
        }
        a.steadiness = static_cast<double>(rising) / static_cast<double>(stretches - 1);
        a.significance = incrementSignificance(floors);
    }
}

void FamilyScorer::judgeRecentGrowth(FamilyAssessment& a, const std::vector<uint32_t>& medians,
                                     double epsilon) const {
    std::size_t recent =
        std::min<std::size_t>(static_cast<std::size_t>(tuning_.recentBuckets), medians.size());
    if (recent < 2 || a.rateKiBPerSecond <= 0) {
        return;
    }
    const double bucket = a.windowSeconds / static_cast<double>(medians.size() - 1);
    std::span<const uint32_t> tail(medians.data() + medians.size() - recent, recent);
    // Under a sawtooth the newest medians follow the teeth: the floor's thirds judge instead.
    a.recentRateKiBPerSecond =
        a.floorBased ? a.rateKiBPerSecond : fitTrend(tail).slopePerPoint / bucket;
    if (a.recentRateKiBPerSecond > tuning_.stoppedShare * a.rateKiBPerSecond) {
        return;
    }
    // Growth stopped: since the newest bucket that sits clearly below the latest level.
    double latest = static_cast<double>(medians.back());
    double band = std::max(epsilon, 0.5 * a.rateKiBPerSecond * bucket);
    std::size_t flat = 0;
    while (flat + 1 < medians.size() &&
           latest - static_cast<double>(medians[medians.size() - 2 - flat]) <= band) {
        ++flat;
    }
    a.stoppedSeconds = static_cast<double>(flat) * bucket;
}

bool FamilyScorer::revisited(const FamilyAssessment& a, const FamilySeries& series,
                             std::size_t windowBuckets) const {
    auto older = series.medians(windowBuckets + static_cast<std::size_t>(tuning_.revisitBuckets));
    if (older.size() <= windowBuckets + 1) {
        return false;
    }
    older.resize(older.size() - windowBuckets);
    auto now = series.medians(static_cast<std::size_t>(tuning_.recentBuckets));
    double level = medianOfRange(now, 0, now.size());
    double highest = 0;
    double drawdown = 0; // the largest fall from a high to a later low
    for (uint32_t value : older) {
        highest = std::max(highest, static_cast<double>(value));
        drawdown = std::max(drawdown, highest - static_cast<double>(value));
    }
    // It has been this large before, or it has already given back as much as it now gained:
    // a working set wandering within its range. A sawtooth's teeth are judged by its floor.
    double rise = a.rateKiBPerSecond * a.windowSeconds;
    return highest >= level || (!a.floorBased && drawdown >= 0.25 * rise);
}

int FamilyScorer::score(const FamilyAssessment& a, const FamilySeries& series,
                        bool wasFlagged) const {
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
    total = std::min(total, highestAllowed(a, series, wasFlagged));
    return static_cast<int>(std::lround(std::clamp(total, 0.0, 100.0)));
}

double FamilyScorer::highestAllowed(const FamilyAssessment& a, const FamilySeries& series,
                                    bool wasFlagged) const {
    // What is no leak however fast it grew: one or two jumps (a load, a cache fill), memory
    // that rises and falls again, a floor that stays put under a sawtooth, growth that has
    // stopped, a tiny family.
    const double footprint = static_cast<double>(a.footprintKiB);
    if (a.consistency < 0.5 || a.floorAgreement < 0.5 || a.step || a.stoppedSeconds ||
        (a.steadiness < 0.5 && !a.sustainedGrowth) || footprint < tuning_.minFootprintMiB * 1024) {
        return kNoLeakCap;
    }
    // A family already flagged keeps its verdict through a bucket that misses one of the
    // gates below while it still grows, so the verdict does not flap from one minute to the
    // next; it falls back once the growth stops or turns out to be none of the above.
    if (wasFlagged) {
        return 100;
    }
    if (a.steadiness < tuning_.leakSteadyShare && !a.sustainedGrowth) {
        return kNoLeakCap;
    }
    // Growth too weak, too uneven or too slow over the rate window (unless the long windows
    // show it sustained), slowing, back where it has been before, or not yet past a young
    // family's warm-up is worth watching, not yet a leak.
    bool weak =
        a.tau < (a.floorBased ? tuning_.floorTrendStrength : tuning_.leakTrendStrength) ||
        a.significance < tuning_.minSignificance ||
        a.rateKiBPerSecond * 60 < tuning_.minLeakMiBPerMinute * 1024 ||
        relativeGrowth(a.rateKiBPerSecond, a.windowSeconds, footprint) < tuning_.minRiseShare;
    bool slowing = a.recentRateKiBPerSecond < tuning_.slowingShare * a.rateKiBPerSecond;
    bool tooEarly =
        a.young && (a.windowSeconds < static_cast<double>(tuning_.warmupMinBuckets - 1) *
                                          series.bucketSeconds() ||
                    a.recentRateKiBPerSecond < tuning_.youngSteadyShare * a.rateKiBPerSecond);
    if (((weak || slowing) && !a.sustainedGrowth) || tooEarly || a.revisited) {
        return static_cast<double>(tuning_.suspectScore - 1);
    }
    return 100;
}

FindingVerdict FamilyScorer::verdictFor(int score, const FamilyAssessment& a) const {
    // A runaway threatens the machine or the family soon: memory gone within the hour at this
    // rate, or the family doubling within a quarter of an hour; or memory gone within minutes
    // at a rate that is only worth watching.
    bool leak = score >= tuning_.suspectScore;
    bool exhaustsSoon = a.exhaustionSeconds &&
                        *a.exhaustionSeconds <= tuning_.exhaustionCriticalMinutes * 60 &&
                        score >= tuning_.watchScore;
    bool exhaustsWithinTheHour =
        a.exhaustionSeconds && *a.exhaustionSeconds <= tuning_.runawayExhaustionMinutes * 60;
    bool doublesSoon =
        a.rateKiBPerSecond > 0 && static_cast<double>(a.footprintKiB) / a.rateKiBPerSecond <=
                                      tuning_.runawayDoublingMinutes * 60;
    if (exhaustsSoon || (leak && (exhaustsWithinTheHour || doublesSoon))) {
        return FindingVerdict::criticalRunaway;
    }
    if (score >= tuning_.probableScore) {
        return FindingVerdict::probable;
    }
    if (leak) {
        return FindingVerdict::suspect;
    }
    if (score >= tuning_.watchScore) {
        return FindingVerdict::watch;
    }
    return FindingVerdict::normal;
}

} // namespace velmora
