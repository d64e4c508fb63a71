// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/session/Tuning.h"

#include <algorithm>

namespace velmora {
namespace {

void readSeconds(const Json& object, const char* key, double& field, double low, double high) {
    auto it = object.find(key);
    if (it != object.end() && it->is_number()) {
        double value = it->get<double>();
        if (value >= low && value <= high) {
            field = value;
        }
    }
}

void readCount(const Json& object, const char* key, int& field, int low, int high) {
    auto it = object.find(key);
    if (it != object.end() && it->is_number_integer()) {
        auto value = it->get<int64_t>();
        if (value >= low && value <= high) {
            field = static_cast<int>(value);
        }
    }
}

void readSampling(const Json& object, SamplingTuning& t) {
    readSeconds(object, "sampleIntervalSeconds", t.sampleIntervalSeconds, 0.05, 60);
    readSeconds(object, "suspectDetailSeconds", t.suspectDetailSeconds, 0.05, 600);
    readSeconds(object, "suspectSampleSeconds", t.suspectSampleSeconds, 0.05, 60);
    readSeconds(object, "backgroundDetailSeconds", t.backgroundDetailSeconds, 0.05, 3600);
    readSeconds(object, "quietDetailSeconds", t.quietDetailSeconds, 0.05, 3600);
    readCount(object, "sparklineBuckets", t.sparklineBuckets, 2, 1000);
    readSeconds(object, "recentFindingSeconds", t.recentFindingSeconds, 0, 1e7);
}

void readScoring(const Json& object, ScoringTuning& t) {
    readSeconds(object, "bucketSeconds", t.bucketSeconds, 0.1, 3600);
    readCount(object, "fineSampleCount", t.fineSampleCount, 8, 100000);
    readCount(object, "bucketCount", t.bucketCount, 8, 100000);
    readCount(object, "rateWindowBuckets", t.rateWindowBuckets, 3, 10000);
    readCount(object, "minRateBuckets", t.minRateBuckets, 3, 10000);
    readCount(object, "curvatureBuckets", t.curvatureBuckets, 2, 10000);
    readCount(object, "hourWindowBuckets", t.hourWindowBuckets, 3, 100000);
    readCount(object, "sixHourWindowBuckets", t.sixHourWindowBuckets, 3, 100000);
    readCount(object, "maxWindowPoints", t.maxWindowPoints, 8, 1024);
    readSeconds(object, "minFootprintMiB", t.minFootprintMiB, 0, 1e7);
    readSeconds(object, "minLeakMiBPerMinute", t.minLeakMiBPerMinute, 0, 1e6);
    readCount(object, "recentBuckets", t.recentBuckets, 2, 1000);
    readCount(object, "warmupBuckets", t.warmupBuckets, 0, 100000);
    readCount(object, "warmupMinBuckets", t.warmupMinBuckets, 2, 10000);
    readCount(object, "revisitBuckets", t.revisitBuckets, 0, 100000);
    readSeconds(object, "exhaustionCriticalMinutes", t.exhaustionCriticalMinutes, 0, 1e6);
    readSeconds(object, "runawayExhaustionMinutes", t.runawayExhaustionMinutes, 0, 1e6);
    readSeconds(object, "probableExhaustionMinutes", t.probableExhaustionMinutes, 0, 1e6);
    readSeconds(object, "probableDoublingMinutes", t.probableDoublingMinutes, 0, 1e6);
    readSeconds(object, "probableGrowthMinutes", t.probableGrowthMinutes, 0, 1e6);
    readSeconds(object, "idleCpuFraction", t.idleCpuFraction, 0, 1);
    readSeconds(object, "trendFloor", t.trendFloor, 0, 1);
    readSeconds(object, "agreementFloor", t.agreementFloor, 0, 1);
    readSeconds(object, "leakSteadyShare", t.leakSteadyShare, 0, 1);
    readSeconds(object, "leakTrendStrength", t.leakTrendStrength, 0, 1);
    readSeconds(object, "minSignificance", t.minSignificance, 0, 100);
    readSeconds(object, "floorTrendStrength", t.floorTrendStrength, 0, 1);
    readSeconds(object, "minRiseShare", t.minRiseShare, 0, 10);
    readSeconds(object, "longRiseShare", t.longRiseShare, 0, 10);
    readSeconds(object, "slowingShare", t.slowingShare, 0, 1);
    readSeconds(object, "stoppedShare", t.stoppedShare, 0, 1);
    readSeconds(object, "youngSteadyShare", t.youngSteadyShare, 0, 1);
    readCount(object, "floorStretchBuckets", t.floorStretchBuckets, 1, 1000);
    readSeconds(object, "suspectMinMiBPerMinute", t.suspectMinMiBPerMinute, 0, 1e6);
    readCount(object, "suspectMinBuckets", t.suspectMinBuckets, 2, 10000);
    readSeconds(object, "suspectRiseShare", t.suspectRiseShare, 0, 10);
    readSeconds(object, "slowerShare", t.slowerShare, 0, 1);
    readSeconds(object, "stairStepShare", t.stairStepShare, 0, 1);
    readCount(object, "stairMinSteps", t.stairMinSteps, 2, 1000);
    readCount(object, "stairMinBuckets", t.stairMinBuckets, 2, 10000);
    readCount(object, "startUpMaxBuckets", t.startUpMaxBuckets, 0, 100);
    readCount(object, "watchScore", t.watchScore, 0, 100);
    readCount(object, "suspectScore", t.suspectScore, 0, 100);
    readCount(object, "probableScore", t.probableScore, 0, 100);
    t.minRateBuckets = std::min(t.minRateBuckets, t.rateWindowBuckets);
    t.curvatureBuckets = std::min(t.curvatureBuckets, t.rateWindowBuckets);
    t.recentBuckets = std::min(t.recentBuckets, t.rateWindowBuckets);
    t.warmupMinBuckets = std::clamp(t.warmupMinBuckets, t.minRateBuckets, t.rateWindowBuckets);
    t.fineSampleCount = std::max(t.fineSampleCount, 8);
}

void readCompose(const Json& object, ComposeTuning& t) {
    readCount(object, "maxRows", t.maxRows, 1, 12);
    readSeconds(object, "reliefHeadroomFraction", t.reliefHeadroomFraction, 0, 1);
    readSeconds(object, "reliefTargetFraction", t.reliefTargetFraction, 0, 1);
    readCount(object, "reliefCandidates", t.reliefCandidates, 1, 12);
}

void readActions(const Json& object, ActionTuning& t) {
    readSeconds(object, "ignoreSeconds", t.ignoreSeconds, 0, 1e8);
    readSeconds(object, "actionWaitSeconds", t.actionWaitSeconds, 0, 30);
    readSeconds(object, "whereSeconds", t.whereSeconds, 1, 600);
}

} // namespace

Tuning Tuning::fromJson(const Json& object) {
    Tuning t;
    if (!object.is_object()) {
        return t;
    }
    readSampling(object, t.sampling);
    readScoring(object, t.scoring);
    readCompose(object, t.compose);
    readActions(object, t.actions);
    t.scoring.bucketCount =
        std::max({t.scoring.bucketCount, t.scoring.rateWindowBuckets, t.sampling.sparklineBuckets});
    t.compose.sampleIntervalSeconds = t.sampling.sampleIntervalSeconds;
    t.compose.suspectDetailSeconds = t.sampling.suspectDetailSeconds;
    t.compose.backgroundDetailSeconds = t.sampling.backgroundDetailSeconds;
    t.compose.bucketSeconds = t.scoring.bucketSeconds;
    t.compose.rateWindowBuckets = t.scoring.rateWindowBuckets;
    t.compose.minRateBuckets = t.scoring.minRateBuckets;
    return t;
}

} // namespace velmora
