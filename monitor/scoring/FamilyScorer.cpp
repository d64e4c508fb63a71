// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/FamilyScorer.h"

#include "monitor/scoring/Stairs.h"
#include "monitor/scoring/StartUp.h"
#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {
namespace {

constexpr double kNoLeakCap = 20;      // the score of what is no leak: below "watch" by default
constexpr double kReleaseShare = 0.02; // a release gives back at least this share at once
constexpr std::size_t kReleasesForFloor = 2;      // releases in the window that make it a sawtooth
constexpr std::size_t kReleasesForFloorTrend = 4; // ... and that give the floor's own trend

// Share of consecutive floors that sit above the one before by a tenth of the average rise
// at least: one rise and a long flat floor, or a walk, fails some of them.
double risingFloorShare(const std::vector<double>& floors) {
    if (floors.size() < 2) {
        return 0;
    }
    double minimumRise =
        0.1 * (floors.back() - floors.front()) / static_cast<double>(floors.size() - 1);
    std::size_t rising = 0;
    for (std::size_t k = 1; k < floors.size(); ++k) {
        rising += floors[k] - floors[k - 1] > minimumRise ? 1 : 0;
    }
    return static_cast<double>(rising) / static_cast<double>(floors.size() - 1);
}

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

// The family's closed buckets after its start-up: what it is judged on.
class FamilyScorer::JudgedSpan {
public:
    JudgedSpan(const FamilySeries& series, std::size_t startUp)
        : series_(series), held_(series.medianCount() - std::min(startUp, series.medianCount())) {}

    std::vector<uint32_t> medians(std::size_t count) const {
        return series_.medians(std::min(count, held_));
    }
    std::size_t held() const { return held_; }
    const FamilySeries& series() const { return series_; }

private:
    const FamilySeries& series_;
    std::size_t held_;
};

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

FamilyScorer::FamilyScorer(const ScoringTuning& tuning, double sampleIntervalSeconds,
                           double clockTicksPerSecond)
    : tuning_(tuning), sampleSeconds_(sampleIntervalSeconds),
      ticksPerSecond_(clockTicksPerSecond > 0 ? clockTicksPerSecond : 100) {}

FamilyAssessment FamilyScorer::assess(const FamilySeries& series,
                                      std::optional<uint64_t> reserveKiB,
                                      std::optional<uint64_t> storedBaselineKiB,
                                      FindingVerdict previous) const {
    FamilyAssessment a;
    a.footprintKiB = series.latestKiB();
    a.baselineKiB = storedBaselineKiB.value_or(series.baselineKiB());
    a.baselineMultiple =
        a.baselineKiB > 0 ? static_cast<double>(a.footprintKiB) / static_cast<double>(a.baselineKiB)
                          : 1.0;
    a.startUpBuckets =
        startUpBuckets(series, static_cast<std::size_t>(std::max(tuning_.startUpMaxBuckets, 0)));
    const JudgedSpan span(series, a.startUpBuckets);
    const double bucket = series.bucketSeconds();
    const auto window = span.medians(static_cast<std::size_t>(tuning_.rateWindowBuckets));
    if (window.size() < static_cast<std::size_t>(tuning_.minRateBuckets)) {
        return a;
    }
    const auto points = static_cast<std::size_t>(tuning_.maxWindowPoints);
    TrendFit fit = fitTrend(window, points);
    a.hasRate = true;
    a.rateKiBPerSecond = fit.slopePerPoint / bucket;
    a.tau = fit.tau;
    a.windowSeconds = static_cast<double>(window.size() - 1) * bucket;
    a.young =
        series.closedBuckets() - a.startUpBuckets < static_cast<uint64_t>(tuning_.warmupBuckets);
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
    // How long it has grown: the buckets at either end of the growth hold only part of it.
    a.growthSeconds = static_cast<double>(std::max<std::size_t>(growth.size(), 2) - 2) * bucket;
    a.step = looksLikeStep(window);

    // A ramp moves its thirds apart by two thirds of the rise; a sawtooth or a burst does not.
    std::size_t third = std::max<std::size_t>(window.size() / 3, 1);
    double thirdsRise = medianOfRange(window, window.size() - third, window.size()) -
                        medianOfRange(window, 0, third);
    double expected = a.rateKiBPerSecond * a.windowSeconds * 2.0 / 3.0;
    a.consistency = expected > 0 ? clamp01(thirdsRise / expected) : 0;

    auto fineCount = static_cast<std::size_t>(a.windowSeconds / sampleSeconds_) + 1;
    judgeFloor(a, series.minima(window.size()), window, series.fineSamples(fineCount));
    judgeRecentGrowth(a, window, epsilon);
    a.revisited = revisited(a, span, window.size());
    judgeLongWindows(a, span);
    judgeShape(a, span, window);
    judgeStairs(a, span);
    // Growth goes on while its newest bucket still adds about what the rate says; a ramp that
    // has just levelled off does not count as growth that has lasted.
    if (!a.stairs && !a.floorBased &&
        static_cast<double>(window.back()) - static_cast<double>(window[window.size() - 2]) <
            0.5 * a.rateKiBPerSecond * bucket) {
        a.growthSeconds = 0;
    }

    a.rising = a.rateKiBPerSecond > 0 && a.consistency >= tuning_.agreementFloor;
    if (a.rateKiBPerSecond > 0) {
        auto recent = span.medians(static_cast<std::size_t>(tuning_.curvatureBuckets));
        if (recent.size() >= 2) {
            a.curvature = fitTrend(recent, points).slopePerPoint / bucket / a.rateKiBPerSecond;
        }
        double cpuSeconds =
            static_cast<double>(series.cpuTicks(window.size() - 1)) / ticksPerSecond_;
        a.idle = a.windowSeconds > 0 && cpuSeconds / a.windowSeconds < tuning_.idleCpuFraction;
    }
    if (reserveKiB && a.rateKiBPerSecond > 0 &&
        (a.stairs || (a.growing() && a.tau > tuning_.trendFloor && !a.stoppedSeconds))) {
        a.exhaustionSeconds = static_cast<double>(*reserveKiB) / a.rateKiBPerSecond;
    }
    a.score = score(a, series, atLeast(previous, FindingVerdict::suspect));
    a.verdict = verdictFor(a.score, a);
    a.scoredVerdict = a.verdict;
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
    const auto releases = releaseFloors(fine, kReleaseShare * static_cast<double>(a.footprintKiB));
    a.floorBased = releases.size() >= kReleasesForFloor;
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
    if (!a.floorBased) {
        return;
    }
    if (releases.size() >= kReleasesForFloorTrend) {
        judgeReleaseFloors(a, releases);
        return;
    }
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
    a.steadiness = risingFloorShare(floors);
    a.significance = incrementSignificance(floors);
}

void FamilyScorer::judgeReleaseFloors(FamilyAssessment& a,
                                      const std::vector<ReleaseFloor>& releases) const {
    // Where each collection brought memory back down: under a leak those levels climb, one
    // after the other, whatever the teeth's period and wherever they fall in the buckets.
    std::vector<double> times;
    std::vector<double> levels;
    for (const ReleaseFloor& release : releases) {
        times.push_back(static_cast<double>(release.index) * sampleSeconds_);
        levels.push_back(release.level);
    }
    TrendFit fit = fitUnevenTrend(times, levels);
    const double medianRate = a.rateKiBPerSecond;
    a.rateKiBPerSecond = std::max(fit.slopePerPoint, 0.0);
    a.floorAgreement = medianRate > 0 ? clamp01(a.rateKiBPerSecond / medianRate) : 0;
    a.tau = fit.tau;
    a.steadiness = risingFloorShare(levels);
    a.significance = incrementSignificance(levels);
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

void FamilyScorer::judgeLongWindows(FamilyAssessment& a, const JudgedSpan& span) const {
    const double bucket = span.series().bucketSeconds();
    const auto points = static_cast<std::size_t>(tuning_.maxWindowPoints);
    const auto windowBuckets = static_cast<std::size_t>(a.windowSeconds / bucket) + 1;
    // The hour and six-hour windows, once there is data: slow growth that only shows over
    // hours is sustained when it added a good share of the footprint, steadily, without
    // slowing down to a crawl (a warm-up's long tail).
    auto longRate = [&](int buckets) -> std::optional<double> {
        auto values = span.medians(static_cast<std::size_t>(buckets));
        if (values.size() * 3 < static_cast<std::size_t>(buckets) * 2 ||
            values.size() <= windowBuckets) {
            return std::nullopt;
        }
        TrendFit longFit = fitTrend(values, points);
        double rate = longFit.slopePerPoint / bucket;
        double seconds = static_cast<double>(values.size() - 1) * bucket;
        if (longFit.tau >= tuning_.leakTrendStrength &&
            relativeGrowth(rate, seconds, static_cast<double>(a.footprintKiB)) >=
                tuning_.longRiseShare &&
            a.rateKiBPerSecond >= tuning_.slowerShare * rate) {
            a.sustainedGrowth = true;
        }
        return rate;
    };
    a.hourRateKiBPerSecond = longRate(tuning_.hourWindowBuckets);
    a.sixHourRateKiBPerSecond = longRate(tuning_.sixHourWindowBuckets);

    // What steady growth has added: over the rate window, or over the longest stretch up to
    // the hour that still rises steadily. A slow leak on a large base needs more than a
    // quarter of an hour to add a noticeable share.
    // A stretch of n buckets covers n buckets of growth, one more than its medians span.
    const double footprint = static_cast<double>(a.footprintKiB);
    a.steadyRiseShare =
        std::max(0.0, relativeGrowth(a.rateKiBPerSecond, a.windowSeconds + bucket, footprint));
    if (a.floorBased || a.rateKiBPerSecond <= 0) {
        return;
    }
    const double epsilon = std::max(64.0, 0.0005 * footprint);
    const auto hour = static_cast<std::size_t>(tuning_.hourWindowBuckets);
    for (std::size_t stretch = windowBuckets + 5; stretch < hour + 5; stretch += 5) {
        auto values = span.medians(std::min(stretch, hour));
        if (values.size() <= windowBuckets) {
            break;
        }
        TrendFit longFit = fitTrend(values, points);
        if (longFit.tau < tuning_.leakTrendStrength ||
            risingShare(values, epsilon) < tuning_.leakSteadyShare) {
            break;
        }
        double seconds = static_cast<double>(values.size()) * bucket;
        a.steadyRiseShare = std::max(
            a.steadyRiseShare, relativeGrowth(longFit.slopePerPoint / bucket, seconds, footprint));
        if (values.size() < std::min(stretch, hour)) {
            break; // the whole judged span
        }
    }
}

void FamilyScorer::judgeShape(FamilyAssessment& a, const JudgedSpan& span,
                              const std::vector<uint32_t>& window) const {
    const double bucket = span.series().bucketSeconds();
    // A warm-up that keeps slowing: its increments fall across the window and still fall in its
    // newer half, or its newest buckets grow slower than the window (a warm-up that gave way to
    // a leak has stopped slowing); or, its long tail, slower now than in the window
    // before or over the hour while not speeding up within this window.
    if (a.floorBased || a.rateKiBPerSecond <= 0) {
        return;
    }
    std::span<const uint32_t> all(window);
    bool slowingNow = incrementsSlowing(all) &&
                      (incrementsSlowing(all.last(std::max<std::size_t>(5, window.size() / 2))) ||
                       a.recentRateKiBPerSecond < tuning_.youngSteadyShare * a.rateKiBPerSecond);
    bool slowerThanBefore = false;
    bool notSpeedingUp = false;
    if (window.size() >= 9) {
        const std::size_t third = window.size() / 3;
        notSpeedingUp =
            fitTrend(all.last(third)).slopePerPoint <= fitTrend(all.first(third)).slopePerPoint;
        auto before = span.medians(2 * window.size());
        if (before.size() >= window.size() + 9) {
            before.resize(before.size() - window.size());
            double earlier = fitTrend(before).slopePerPoint / bucket;
            slowerThanBefore = earlier > 0 && a.rateKiBPerSecond < tuning_.slowerShare * earlier;
        }
    }
    bool slowerThanHour = a.hourRateKiBPerSecond && *a.hourRateKiBPerSecond > 0 &&
                          a.rateKiBPerSecond < tuning_.slowerShare * *a.hourRateKiBPerSecond;
    a.decelerating = slowingNow || (notSpeedingUp && (slowerThanBefore || slowerThanHour));
}

void FamilyScorer::judgeStairs(FamilyAssessment& a, const JudgedSpan& span) const {
    const double bucket = span.series().bucketSeconds();
    // Stairs over the last hour at most.
    auto recent = span.medians(static_cast<std::size_t>(tuning_.hourWindowBuckets));
    StairRun run = findStairs(recent, tuning_.stairStepShare);
    a.stairs = run.even && run.steps >= static_cast<std::size_t>(tuning_.stairMinSteps) &&
               run.spanBuckets >= static_cast<std::size_t>(tuning_.stairMinBuckets) &&
               run.sinceLastStep <= std::max<std::size_t>(run.longestGap, 2) + 1;
    if (a.stairs) {
        double seconds = static_cast<double>(run.spanBuckets) * bucket;
        a.stairSteps = run.steps;
        a.stairSeconds = seconds;
        a.growthSeconds = std::max(a.growthSeconds, seconds);
        a.rateKiBPerSecond = run.riseKiB / seconds;
        a.steadyRiseShare =
            std::max(a.steadyRiseShare, relativeGrowth(a.rateKiBPerSecond, seconds,
                                                       static_cast<double>(a.footprintKiB)));
    }
}

bool FamilyScorer::revisited(const FamilyAssessment& a, const JudgedSpan& span,
                             std::size_t windowBuckets) const {
    auto older = span.medians(windowBuckets + static_cast<std::size_t>(tuning_.revisitBuckets));
    if (older.size() <= windowBuckets + 1) {
        return false;
    }
    older.resize(older.size() - windowBuckets);
    auto now = span.medians(static_cast<std::size_t>(tuning_.recentBuckets));
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

bool FamilyScorer::leakEvidence(const FamilyAssessment& a, double bucketSeconds) const {
    // Steady growth, fast enough, long enough, that has added a fair share of the footprint;
    // or stairs that keep climbing.
    const double shortest = static_cast<double>(tuning_.suspectMinBuckets - 1) * bucketSeconds;
    return a.stairs ||
           (a.rateKiBPerSecond * 60 >= tuning_.suspectMinMiBPerMinute * 1024 &&
            a.windowSeconds >= shortest && a.steadyRiseShare >= tuning_.suspectRiseShare);
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
    double strength = 15 * clamp01((a.tau - tuning_.trendFloor) / (0.9 - tuning_.trendFloor));
    double duration =
        10 * clamp01(a.windowSeconds /
                     (series.bucketSeconds() * static_cast<double>(tuning_.rateWindowBuckets - 1)));
    double baseline = 10 * clamp01(a.baselineMultiple - 1.0);
    double idleness = a.idle ? 5 : 0;
    double total = growth + sustained + steadiness + strength + duration + baseline + idleness;
    double allowed = highestAllowed(a, series, wasFlagged);
    if (allowed >= 100 && leakEvidence(a, series.bucketSeconds())) {
        total = std::max(total, static_cast<double>(tuning_.suspectScore));
    }
    total = std::min(total, allowed);
    return static_cast<int>(std::lround(std::clamp(total, 0.0, 100.0)));
}

double FamilyScorer::highestAllowed(const FamilyAssessment& a, const FamilySeries& series,
                                    bool wasFlagged) const {
    const double footprint = static_cast<double>(a.footprintKiB);
    if (footprint < tuning_.minFootprintMiB * 1024) {
        return kNoLeakCap;
    }
    // Stairs keep climbing with flat stretches between the steps, which the ramp signals
    // below would read as growth that stopped.
    if (a.stairs) {
        return a.revisited ? static_cast<double>(tuning_.suspectScore - 1) : 100;
    }
    // What is no leak however fast it grew: one or two jumps (a load, a cache fill), memory
    // that rises and falls again, a floor that stays put under a sawtooth, growth that has
    // stopped.
    const double agree = tuning_.agreementFloor;
    if (a.consistency < agree || a.floorAgreement < agree || a.step || a.stoppedSeconds ||
        (a.steadiness < agree && !a.sustainedGrowth)) {
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
    // show it sustained), slowing, a warm-up that keeps slowing, back where it has been
    // before, or not yet past a young family's warm-up is worth watching, not yet a leak.
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
    if (((weak || slowing) && !a.sustainedGrowth) || tooEarly || a.revisited || a.decelerating) {
        return static_cast<double>(tuning_.suspectScore - 1);
    }
    return 100;
}

FindingVerdict FamilyScorer::verdictFor(int score, const FamilyAssessment& a) const {
    // A leak that alone would use up what the machine has left within two hours is probable at
    // once. Otherwise "probable", which notifies, waits for growth that has lasted and keeps
    // going: a warm-up, a job or a cache filling to its bound is suspect at first and stops
    // before then. A leak that doubles the family within a quarter of an hour is probable once
    // it has lasted.
    bool leak = score >= tuning_.suspectScore;
    bool exhaustsWithinHours =
        a.exhaustionSeconds && *a.exhaustionSeconds <= tuning_.probableExhaustionMinutes * 60;
    bool doublesSoon =
        a.rateKiBPerSecond > 0 && static_cast<double>(a.footprintKiB) / a.rateKiBPerSecond <=
                                      tuning_.probableDoublingMinutes * 60;
    bool keepsGrowing =
        a.stairs ||
        (!a.decelerating && a.recentRateKiBPerSecond >= tuning_.slowingShare * a.rateKiBPerSecond);
    bool lasted = keepsGrowing &&
                  (a.sustainedGrowth || a.growthSeconds >= tuning_.probableGrowthMinutes * 60);
    if ((leak && exhaustsWithinHours) ||
        (lasted && (score >= tuning_.probableScore || (leak && doublesSoon)))) {
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
