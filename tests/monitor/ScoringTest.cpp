// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/WhereActions.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/compose/FamilyTexts.h"
#include "monitor/scoring/FamilyScorer.h"
#include "monitor/scoring/RunawayRule.h"
#include "monitor/scoring/TrendStats.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr double kMiB = 1024.0; // KiB
constexpr uint64_t kGiBKiB = 1024 * 1024;

// Feeds one sample per second for `seconds` into a series with one-minute buckets.
FamilySeries seriesOf(
    double seconds, const std::function<double(double)>& footprintKiB,
    const std::function<uint64_t(double)>& cpu = [](double t) {
        return static_cast<uint64_t>(t * 50); // half a CPU: busy
    }) {
    ScoringTuning t;
    FamilySeries series(static_cast<std::size_t>(t.fineSampleCount),
                        static_cast<std::size_t>(t.bucketCount), t.bucketSeconds);
    for (double s = 0; s < seconds; s += 1.0) {
        series.append(s, static_cast<uint64_t>(footprintKiB(s)), cpu(s));
    }
    return series;
}

// Scores one family as the sampler does: the scorer, then the machine-wide runaway rule.
FamilyAssessment assess(const FamilySeries& series, uint64_t reserveKiB = 16 * 1024 * kMiB) {
    FamilyAssessment a = FamilyScorer(ScoringTuning{}, 1.0, 100).assess(series, reserveKiB);
    applyRunawayRule({&a}, MachineOutlook{reserveKiB, std::nullopt}, ScoringTuning{});
    return a;
}

TEST(TrendStats, TheilSenAndMannKendallOnRampsAndNoise) {
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 20; ++i) {
        ramp.push_back(1000 + 10 * i + (i % 3 == 0 ? 7 : 0)); // outliers do not move the slope
    }
    TrendFit fit = fitTrend(ramp);
    EXPECT_NEAR(fit.slopePerPoint, 10.0, 1.0);
    EXPECT_GT(fit.tau, 0.8);

    std::vector<uint32_t> flat(30, 5000);
    EXPECT_EQ(fitTrend(flat).slopePerPoint, 0.0);
    EXPECT_EQ(fitTrend(flat).tau, 0.0);

    // 360 points are reduced to at most 128 and the slope stays per original point.
    std::vector<uint32_t> longRamp;
    for (uint32_t i = 0; i < 360; ++i) {
        longRamp.push_back(100000 + 4 * i);
    }
    TrendFit reduced = fitTrend(longRamp, 128);
    EXPECT_LE(reduced.points, 128u);
    EXPECT_NEAR(reduced.slopePerPoint, 4.0, 0.1);
}

TEST(TrendStats, StepIsToldApartFromRamp) {
    std::vector<uint32_t> step(15, 1000);
    for (std::size_t i = 7; i < step.size(); ++i) {
        step[i] = 5000;
    }
    EXPECT_TRUE(looksLikeStep(step));
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 15; ++i) {
        ramp.push_back(1000 + 300 * i);
    }
    EXPECT_FALSE(looksLikeStep(ramp));
}

TEST(FamilyScorer, SteadyGrowthIsAProbableLeakWithItsRate) {
    // 200 MiB growing 8 MiB/min for 20 minutes.
    auto series = seriesOf(20 * 60, [](double s) { return 200 * kMiB + 8 * kMiB * s / 60; });
    FamilyAssessment a = assess(series);
    ASSERT_TRUE(a.hasRate);
    EXPECT_NEAR(a.rateKiBPerSecond * 60 / kMiB, 8.0, 0.2);
    EXPECT_GE(a.steadiness, 0.9);
    EXPECT_GE(static_cast<int>(a.verdict), static_cast<int>(FindingVerdict::suspect));
    ASSERT_TRUE(a.curvature);
    EXPECT_NEAR(*a.curvature, 1.0, 0.2);
}

TEST(FamilyScorer, AStoredBaselineReplacesTheSeriesOwn) {
    // Flat at 400 MiB for an hour: by its own series it is at its baseline.
    auto series = seriesOf(60 * 60, [](double) { return 400 * kMiB; });
    EXPECT_NEAR(assess(series).baselineMultiple, 1.0, 0.01);
    // The stored week says it usually holds 100 MiB: four times its usual footprint.
    FamilyAssessment a = FamilyScorer(ScoringTuning{}, 1.0, 100)
                             .assess(series, 16 * 1024 * kMiB, static_cast<uint64_t>(100 * kMiB));
    EXPECT_EQ(a.baselineKiB, static_cast<uint64_t>(100 * kMiB));
    EXPECT_NEAR(a.baselineMultiple, 4.0, 0.01);
    EXPECT_EQ(a.verdict, FindingVerdict::normal) << "a high baseline multiple alone is no leak";
}

TEST(FamilyScorer, SawtoothStepAndFlatAreNotLeaks) {
    // Allocate for five minutes, free it all, again and again.
    auto sawtooth = seriesOf(
        30 * 60, [](double s) { return 300 * kMiB + 40 * kMiB * std::fmod(s, 360.0) / 360.0; });
    EXPECT_LT(assess(sawtooth).score, 30);

    // One allocation of 300 MiB in the middle, flat before and after.
    auto step = seriesOf(20 * 60, [](double s) { return s < 600 ? 200 * kMiB : 500 * kMiB; });
    EXPECT_LT(static_cast<int>(assess(step).verdict), static_cast<int>(FindingVerdict::suspect));

    auto flat =
        seriesOf(20 * 60, [](double s) { return 900 * kMiB + (static_cast<int>(s) % 7) * 10; });
    EXPECT_EQ(assess(flat).verdict, FindingVerdict::normal);

    // Tiny families never score high, however steadily they grow.
    auto tiny = seriesOf(20 * 60, [](double s) { return 2 * kMiB + 2 * kMiB * s / 1200; });
    EXPECT_LE(assess(tiny).score, 20);
}

TEST(FamilyScorer, ShortBurstAfterQuietDoesNotScoreHigh) {
    auto burst = seriesOf(20 * 60, [](double s) {
        return s < 16 * 60 ? 300 * kMiB : 300 * kMiB + 60 * kMiB * (s - 16 * 60) / 240;
    });
    EXPECT_LT(assess(burst).score, 50);
}

TEST(FamilyScorer, SlowGrowthOverADayIsFlaggedByTheLongWindows) {
    // 100 MiB to 400 MiB over 24 hours, while idle.
    ScoringTuning t;
    FamilySeries series(static_cast<std::size_t>(t.fineSampleCount),
                        static_cast<std::size_t>(t.bucketCount), t.bucketSeconds);
    for (double s = 0; s < 86400; s += 10) {
        series.append(s, static_cast<uint64_t>(100 * kMiB + 300 * kMiB * s / 86400), 0);
    }
    FamilyAssessment a = assess(series);
    ASSERT_TRUE(a.sixHourRateKiBPerSecond);
    EXPECT_NEAR(*a.sixHourRateKiBPerSecond * 86400 / kMiB, 300, 15);
    EXPECT_TRUE(a.idle);
    EXPECT_GE(static_cast<int>(a.verdict), static_cast<int>(FindingVerdict::suspect));
    EXPECT_NE(a.verdict, FindingVerdict::criticalRunaway);
}

TEST(FamilyScorer, RunawayThatExhaustsMemorySoonIsCritical) {
    auto runaway = seriesOf(10 * 60, [](double s) { return 500 * kMiB + 200 * kMiB * s / 60; });
    FamilyAssessment a = assess(runaway, 2048 * kMiB); // 2 GiB left: about 10 minutes
    ASSERT_TRUE(a.exhaustionSeconds);
    EXPECT_LT(*a.exhaustionSeconds, 15 * 60);
    EXPECT_EQ(a.verdict, FindingVerdict::criticalRunaway);
    EXPECT_EQ(severityOf(a.verdict), FindingSeverity::critical);
}

TEST(TrendStats, GrowthOnsetIsFoundOnlyAfterAFlatStretch) {
    std::vector<uint32_t> late(15, 1000);
    for (uint32_t i = 8; i < 15; ++i) {
        late[i] = 1000 + 100 * (i - 7);
    }
    EXPECT_EQ(growthOnset(late), 7u);
    std::vector<uint32_t> ramp;
    for (uint32_t i = 0; i < 15; ++i) {
        ramp.push_back(1000 + 100 * i);
    }
    EXPECT_EQ(growthOnset(ramp), 0u);
    std::vector<uint32_t> flat(15, 1000);
    EXPECT_EQ(growthOnset(flat), 0u) << "no rise, no onset";
}

TEST(TrendStats, ReleasesAreSharpFallsAndEvenStepsAreSignificant) {
    // A collector's sawtooth hands 100 MiB back at once each minute; a walk never does.
    std::vector<uint32_t> sawtooth;
    std::vector<uint32_t> walk;
    uint32_t level = 200 * 1024;
    for (uint32_t s = 0; s < 600; ++s) {
        sawtooth.push_back(300 * 1024 + 100 * 1024 * (s % 60) / 60);
        level = s % 2 == 0 ? level + 4096 : level - 3072 * (s % 3);
        walk.push_back(level);
    }
    EXPECT_EQ(countReleases(sawtooth, 2048), 9u);
    EXPECT_EQ(countReleases(walk, 2048), 0u);

    // Ten even steps of +5 are sure; a climb of the same size in uneven steps is not.
    std::vector<double> even{0, 5, 10, 15, 20, 25, 30, 35, 40, 45, 50};
    std::vector<double> uneven{0, 20, 12, 30, 24, 50, 35, 31, 44, 60, 50};
    EXPECT_EQ(incrementSignificance(even), 100.0);
    EXPECT_LT(incrementSignificance(uneven), 4.0);
    EXPECT_LT(incrementSignificance(std::vector<double>{50, 40, 30}), 0.0);
}

TEST(FamilyScorer, GrowthThatLevelsOffFallsBackAndSaysSince) {
    // 20 MiB/min for 12 minutes, then flat: a leak while it grows, not once it has stopped.
    auto plateau = [](double end) {
        return seriesOf(end,
                        [](double s) { return 200 * kMiB + 20 * kMiB * std::min(s, 720.0) / 60; });
    };
    EXPECT_GE(static_cast<int>(assess(plateau(11 * 60)).verdict),
              static_cast<int>(FindingVerdict::suspect));
    FamilyAssessment settled = assess(plateau(17 * 60));
    EXPECT_LT(static_cast<int>(settled.verdict), static_cast<int>(FindingVerdict::suspect));
    ASSERT_TRUE(settled.stoppedSeconds);
    FamilyView view;
    view.assessment = settled;
    EXPECT_NE(explanationOf(view).find("growth stopped 4 min ago"), std::string::npos)
        << explanationOf(view);
}

TEST(FamilyScorer, UnderASawtoothTheFloorDecides) {
    // Rises 100 MiB over a minute and releases it, again and again, for 20 minutes.
    auto tooth = [](double s) { return 100 * kMiB * std::fmod(s, 60.0) / 60; };
    auto flatFloor = seriesOf(20 * 60, [&](double s) { return 300 * kMiB + tooth(s); });
    EXPECT_EQ(assess(flatFloor).verdict, FindingVerdict::normal);

    // The same teeth on a floor rising 8 MiB/min: a leak at the floor's rate.
    auto rising =
        seriesOf(20 * 60, [&](double s) { return 300 * kMiB + 8 * kMiB * s / 60 + tooth(s); });
    FamilyAssessment a = assess(rising);
    EXPECT_TRUE(a.floorBased);
    EXPECT_NEAR(a.rateKiBPerSecond * 60 / kMiB, 8.0, 1.0);
    EXPECT_GE(static_cast<int>(a.verdict), static_cast<int>(FindingVerdict::suspect));
    FamilyView view;
    view.assessment = a;
    EXPECT_EQ(explanationOf(view).rfind("Floor (low points after releases) grew +", 0), 0u)
        << explanationOf(view);
}

// A family flagged for one member's own growth says which member, with the member's figures
// and the family's own beside them; its commands and heap tracking aim at that member, even
// where another member is larger or has grown more since it was first seen.
TEST(FamilyScorer, AFamilyFlaggedForAMemberNamesItAndAimsAtIt) {
    auto member =
        assess(seriesOf(20 * 60, [](double s) { return 40 * kMiB + 10 * kMiB * s / 60; }));
    ASSERT_GE(static_cast<int>(member.verdict), static_cast<int>(FindingVerdict::suspect));
    FamilyView family;
    family.key = "proc:browser:500:1";
    family.footprintKiB = 900 * kMiB;
    family.assessment = member;
    family.familyAssessment = assess(seriesOf(20 * 60, [](double) { return 900 * kMiB; }));
    MemberView child;
    child.identity.pid = 601;
    child.name = "browser";
    child.footprintKiB = 500 * kMiB;
    child.growthKiB = 400 * kMiB; // a child that started small moments ago
    MemberView grower;
    grower.identity.pid = 500;
    grower.name = "browser";
    grower.footprintKiB = 240 * kMiB;
    grower.growthKiB = 200 * kMiB;
    grower.growing = true;
    family.members = {child, grower};

    std::string explanation = explanationOf(family);
    EXPECT_EQ(explanation.rfind("PID 500 (browser) grows on its own: Median grew +10", 0), 0u)
        << explanation;
    EXPECT_NE(explanation.find("of the family's 900"), std::string::npos) << explanation;
    std::vector<std::string> reasons = reasonsOf(family);
    ASSERT_GE(reasons.size(), 3u);
    EXPECT_EQ(reasons.front().rfind("PID 500 (browser), one of the family's 2 processes", 0), 0u)
        << reasons.front();
    EXPECT_EQ(reasons.back().rfind("The family as a whole: Median grew", 0), 0u) << reasons.back();
    EXPECT_NE(reasons.back().find("(Normal on its own)"), std::string::npos) << reasons.back();
    EXPECT_NE(nextCommandsOf(family).front().command.find("/proc/500/"), std::string::npos);
    ASSERT_TRUE(largestGrowingMember(family));
    EXPECT_EQ(largestGrowingMember(family)->identity.pid, 500);

    // A protected grower is never tracked: the next member that grew is.
    family.members[1].isProtected = true;
    EXPECT_EQ(largestGrowingMember(family)->identity.pid, 601);
}

TEST(FamilyScorer, CriticalOnlyWhileTheMachineRunsOutAndTheFamilyIsWhy) {
    // A steady 8 MiB/min leak in a 150 MiB process: a leak, but memory lasts for days.
    auto steady = seriesOf(20 * 60, [](double s) { return 150 * kMiB + 8 * kMiB * s / 60; });
    FamilyAssessment a = assess(steady);
    EXPECT_GE(static_cast<int>(a.verdict), static_cast<int>(FindingVerdict::suspect));
    EXPECT_NE(a.verdict, FindingVerdict::criticalRunaway);
    // The same leak with 400 MiB left runs memory out within the hour.
    EXPECT_EQ(assess(steady, 400 * kMiB).verdict, FindingVerdict::criticalRunaway);
    // 60 MiB/min doubles a 200 MiB family within minutes, but 16 GiB last hours: suspect until
    // the growth has lasted ten minutes, probable after.
    auto rate = [](double s) { return 200 * kMiB + 60 * kMiB * s / 60; };
    auto doubling = seriesOf(10 * 60, rate);
    EXPECT_EQ(assess(doubling).verdict, FindingVerdict::suspect);
    EXPECT_EQ(assess(seriesOf(13 * 60, rate)).verdict, FindingVerdict::probable);
    // Growth that alone would use up what is left within two hours is probable at once.
    EXPECT_EQ(assess(steady, 900 * kMiB).verdict, FindingVerdict::probable);

    // Two leaks while 1 GiB is left: only the faster one is the runaway.
    FamilyScorer scorer(ScoringTuning{}, 1.0, 100);
    FamilyAssessment fast = scorer.assess(doubling, 1024 * kMiB);
    FamilyAssessment slow = scorer.assess(steady, 1024 * kMiB);
    applyRunawayRule({&fast, &slow}, MachineOutlook{kGiBKiB, std::nullopt}, ScoringTuning{});
    EXPECT_EQ(fast.verdict, FindingVerdict::criticalRunaway);
    EXPECT_NE(slow.verdict, FindingVerdict::criticalRunaway);
    // Memory runs out within the hour, but something else eats it (another user, 200 MiB/min):
    // the slow leak alone would last two hours and is not that runaway.
    FamilyAssessment alone = scorer.assess(steady, 16 * 1024 * kMiB);
    applyRunawayRule({&alone}, MachineOutlook{kGiBKiB, 5.0 * 60}, ScoringTuning{});
    EXPECT_NE(alone.verdict, FindingVerdict::criticalRunaway);
    // Once the machine's reserve recovers, the verdict falls back to the scorer's.
    applyRunawayRule({&fast}, MachineOutlook{64 * kGiBKiB, std::nullopt}, ScoringTuning{});
    EXPECT_EQ(fast.verdict, fast.scoredVerdict);
}

TEST(FamilyScorer, AYoungFamilyNeedsGrowthThatDoesNotSlow) {
    // An exponential warm-up to 600 MiB (time constant 3 min) slows from the start: at six
    // minutes it is growing fast, but it is a warm-up, not a leak.
    auto warmup = seriesOf(
        6 * 60 + 1, [](double s) { return 100 * kMiB + 600 * kMiB * (1 - std::exp(-s / 180)); });
    FamilyAssessment a = assess(warmup);
    EXPECT_TRUE(a.young);
    EXPECT_LT(static_cast<int>(a.verdict), static_cast<int>(FindingVerdict::suspect));
    // A steady 20 MiB/min leak of the same age is called one.
    auto leak = seriesOf(6 * 60 + 1, [](double s) { return 100 * kMiB + 20 * kMiB * s / 60; });
    EXPECT_GE(static_cast<int>(assess(leak).verdict), static_cast<int>(FindingVerdict::suspect));
}

TEST(FamilySeries, GapsRepeatTheLastMedianAndStorageStaysCompact) {
    ScoringTuning t;
    FamilySeries series(1200, 1440, 60);
    series.append(0, 1000, 0);
    series.append(30, 1000, 0);
    series.append(600, 2000, 0); // nine buckets without samples
    EXPECT_EQ(series.medianCount(), 10u);
    EXPECT_EQ(series.medians(10).front(), 1000u);
    for (double s = 600; s < 600 + 86400; s += 1) {
        series.append(s, 3000, 1);
    }
    EXPECT_EQ(series.medianCount(), 1440u);
    EXPECT_LT(series.memoryBytes(), 32 * 1024u);
}

} // namespace
} // namespace velmora
