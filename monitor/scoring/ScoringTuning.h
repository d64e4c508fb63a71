// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// The series the scorer keeps and every window and threshold of its judgement. The defaults are
// the production values; the "tuning" object in config.json can shorten them (tests run a real
// leaking child for seconds instead of minutes this way).
struct ScoringTuning {
    double bucketSeconds = 60.0; // the "one-minute" medians
    int fineSampleCount = 1200;  // 20 minutes of 1 s samples
    int bucketCount = 1440;      // 24 hours of one-minute medians
    int rateWindowBuckets = 15;  // growth rate window
    int minRateBuckets = 5;      // data needed before any rate
    int curvatureBuckets = 5;    // recent window compared with the rate window
    int hourWindowBuckets = 60;
    int sixHourWindowBuckets = 360;
    int maxWindowPoints = 128;        // Theil-Sen is quadratic: downsample beyond this
    double minFootprintMiB = 32.0;    // tiny families never score high
    double minLeakMiBPerMinute = 1.0; // slower growth is worth watching, not a leak
    int recentBuckets = 3;            // the newest buckets that say whether growth goes on
    int warmupBuckets = 15;           // a family's first buckets: growth needs more evidence
    int warmupMinBuckets = 6;         // the rate window a young family needs before a verdict
    int revisitBuckets = 60;          // how far back a higher level means "wandering, not leaking"
    // The machine at risk: memory as a whole (available plus free swap) runs out within the hour
    // and the family is the main contributor; within a quarter of an hour even a family only
    // worth watching is. A leak that alone would use it all up within two hours, or that doubles
    // the family within a quarter of an hour, is at least "probable".
    double exhaustionCriticalMinutes = 15.0;
    double runawayExhaustionMinutes = 60.0;
    double probableExhaustionMinutes = 120.0;
    double probableDoublingMinutes = 15.0;
    // "Probable" notifies: it needs growth that has lasted this long, unless memory runs out
    // within probableExhaustionMinutes at its rate. Warm-ups, jobs and caches that fill to
    // their bound stop before it.
    double probableGrowthMinutes = 10.0;
    double idleCpuFraction = 0.02; // CPU share below which a family counts as idle
    // What growth must show before it is called a leak (below these it is at most "watch").
    double leakSteadyShare = 0.85; // share of rising bucket steps, or of rising floor stretches
    // Trend strength (Kendall's tau) above which growth counts at all: a rate is stated only
    // for it, and the score's strength points start there. Noise around a flat line stays
    // below it.
    double trendFloor = 0.3;
    // Below this share, a window's thirds disagree with its slope, its floor with its medians,
    // or its steps rise no more often than they fall: memory that rises and falls, not a climb.
    double agreementFloor = 0.5;
    double leakTrendStrength = 0.8;   // Mann-Kendall tau of the window
    double minSignificance = 4.0;     // mean step over its standard error: even steps, not a walk
    double floorTrendStrength = 0.65; // ... under a sawtooth, whose medians follow the teeth
    double minRiseShare = 0.015;      // share of the footprint the window must add
    double longRiseShare = 0.10;      // ... or the hour or six-hour window, growing steadily
    double slowingShare = 0.5;        // recent rate under this share of the window's: slowing
    double stoppedShare = 0.2;        // ... and under this one, growth has stopped
    double youngSteadyShare = 0.85;   // a young family's growth must not slow below this
    int floorStretchBuckets = 3;      // a stretch of the floor: longer than most GC cycles
    // Evidence that makes steady growth "suspect" whatever else the score says: at least this
    // fast, lasting this many buckets, and having added this share of the footprint over its
    // steady stretch (up to an hour).
    double suspectMinMiBPerMinute = 1.8; // 2 MB/min, less what estimating the rate may miss
    int suspectMinBuckets = 6;
    double suspectRiseShare = 0.05;
    // A warm-up's long tail: the rate window grows at under this share of the window before it
    // or of the hour.
    double slowerShare = 0.7;
    // Growth in stairs: steps of at least this share of the footprint, this many of them, none
    // given back, over at least this many buckets.
    double stairStepShare = 0.012;
    int stairMinSteps = 4;
    int stairMinBuckets = 8;
    // A family's first buckets that may be its start-up (judged neither way).
    int startUpMaxBuckets = 3;
    int watchScore = 30;
    int suspectScore = 50;
    int probableScore = 65;

    bool operator==(const ScoringTuning&) const = default;
};

} // namespace velmora
