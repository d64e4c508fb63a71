// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/FamilySeries.h"
#include "monitor/scoring/Stairs.h"
#include "monitor/scoring/StartUp.h"
#include "monitor/scoring/TrendStats.h"

#include <cmath>
#include <gtest/gtest.h>

namespace velmora {
namespace {

// One sample a second from `start` (seconds on the monitor's clock) for `seconds`.
FamilySeries seriesFrom(double start, double seconds, double (*mib)(double)) {
    FamilySeries series(1200, 1440, 60);
    for (double s = 0; s < seconds; s += 1) {
        series.append(start + s, static_cast<uint64_t>(mib(s) * 1024), 0);
    }
    return series;
}

TEST(StartUp, ABirthInsideTheFirstBucketIsLeftOutAndAFamilyFoundRunningHasNone) {
    // Born 40 s into a bucket with 4 MB, at 400 MB after 30 s, then leaking 3 MB/min.
    auto born = [](double s) { return s < 30 ? 4 + 396 * s / 30 : 400 + 3 * s / 60; };
    EXPECT_EQ(startUpBuckets(seriesFrom(40, 8 * 60, born), 3), 1u);
    // Found at 400 MB: nothing to leave out.
    auto running = [](double s) { return 400 + 3 * s / 60; };
    EXPECT_EQ(startUpBuckets(seriesFrom(40, 8 * 60, running), 3), 0u);
    // A fast leak on a small base doubles within its first bucket, which may then pass for a
    // start-up; the steady climb after it never does.
    auto fast = [](double s) { return 40 + 50 * s / 60; };
    EXPECT_LE(startUpBuckets(seriesFrom(0, 8 * 60, fast), 3), 1u);
}

TEST(Stairs, EvenStepsThatAreKeptMakeARunAndAGiveBackEndsIt) {
    // 300 MB, +5 % every three buckets, four times.
    std::vector<uint32_t> stairs;
    double level = 300 * 1024;
    for (int bucket = 0; bucket < 14; ++bucket) {
        if (bucket > 0 && bucket % 3 == 0) {
            level *= 1.05;
        }
        stairs.push_back(static_cast<uint32_t>(level + (bucket % 2) * 40));
    }
    StairRun run = findStairs(stairs, 0.012);
    EXPECT_EQ(run.steps, 4u);
    EXPECT_TRUE(run.even);
    EXPECT_EQ(run.longestGap, 3u);
    EXPECT_EQ(run.sinceLastStep, 1u);
    EXPECT_GE(run.spanBuckets, 10u);

    // Memory given back after the second step: the run starts after the fall.
    std::vector<uint32_t> fell = stairs;
    for (std::size_t i = 7; i < fell.size(); ++i) {
        fell[i] -= 20 * 1024;
    }
    EXPECT_LT(findStairs(fell, 0.012).steps, 4u);

    // A cache whose batches halve: the steps are not alike.
    std::vector<uint32_t> halving;
    double cache = 400 * 1024;
    double add = 48 * 1024;
    for (int bucket = 0; bucket < 16; ++bucket) {
        if (bucket > 0 && bucket % 3 == 0) {
            cache += add;
            add /= 2;
        }
        halving.push_back(static_cast<uint32_t>(cache));
    }
    EXPECT_FALSE(findStairs(halving, 0.005).even);
}

TEST(TrendStats, IncrementsThatKeepFallingAreAWarmUpNotALeak) {
    std::vector<uint32_t> warmup;
    std::vector<uint32_t> leak;
    for (int i = 0; i < 10; ++i) {
        warmup.push_back(static_cast<uint32_t>(200000 + 300000 * (1 - std::exp(-i / 6.0))));
        leak.push_back(static_cast<uint32_t>(200000 + 5000 * i + (i % 3) * 700));
    }
    EXPECT_TRUE(incrementsSlowing(warmup));
    EXPECT_FALSE(incrementsSlowing(leak));
}

TEST(TrendStats, ReleaseFloorsFollowTheLowPointsOfASawtooth) {
    // Teeth every 90 s, rising 60 MB, on a floor that climbs 1 MB a tooth.
    std::vector<uint32_t> samples;
    for (int s = 0; s < 900; ++s) {
        int tooth = s / 90;
        samples.push_back(static_cast<uint32_t>((300 + tooth + 60.0 * (s % 90) / 90) * 1024));
    }
    auto floors = releaseFloors(samples, 2 * 1024);
    ASSERT_EQ(floors.size(), 9u);
    EXPECT_EQ(floors.front().index, 90u);
    EXPECT_NEAR(floors[4].level / 1024, 305, 0.5);
    std::vector<double> x;
    std::vector<double> y;
    for (const auto& floor : floors) {
        x.push_back(static_cast<double>(floor.index));
        y.push_back(floor.level);
    }
    TrendFit fit = fitUnevenTrend(x, y);
    EXPECT_NEAR(fit.slopePerPoint * 90 / 1024, 1.0, 0.05);
    EXPECT_EQ(fit.tau, 1.0);
}

} // namespace
} // namespace velmora
