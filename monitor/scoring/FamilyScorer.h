// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/scoring/FamilyAssessment.h"
#include "monitor/scoring/FamilySeries.h"
#include "monitor/scoring/ScoringTuning.h"
#include "monitor/scoring/TrendStats.h"

#include <optional>
#include <vector>

namespace velmora {

// Turns a family's series into signals, a 0-100 score and a verdict up to "probable" (whether a
// leak puts the machine at risk is for the runaway rule, which sees every family). The family
// is judged from after its start-up. The score rises with growth relative to the footprint,
// steadiness, trend strength, duration, the baseline multiple and idleness; tiny families,
// one-off steps, sawtooths, warm-ups and short bursts never score high.
class FamilyScorer {
public:
    // sampleIntervalSeconds is the sampler's tick: how far apart the fine samples are.
    FamilyScorer(const ScoringTuning& tuning, double sampleIntervalSeconds,
                 double clockTicksPerSecond);

    // reserveKiB is what the machine has left: available memory plus free swap; none when the
    // machine's figures cannot be read (then no exhaustion is estimated).
    // storedBaselineKiB, when known, is the family's typical footprint over a longer history
    // than the series holds; it replaces the series' own baseline. `previous` is the verdict
    // of the family's last assessment: a flagged family is not dropped for one weak bucket.
    FamilyAssessment assess(const FamilySeries& series, std::optional<uint64_t> reserveKiB,
                            std::optional<uint64_t> storedBaselineKiB = std::nullopt,
                            FindingVerdict previous = FindingVerdict::normal) const;
    FindingVerdict verdictFor(int score, const FamilyAssessment& signals) const;

private:
    // The closed bucket medians after the start-up, the newest `count`.
    class JudgedSpan;

    int score(const FamilyAssessment& a, const FamilySeries& series, bool wasFlagged) const;
    double highestAllowed(const FamilyAssessment& a, const FamilySeries& series,
                          bool wasFlagged) const;
    bool leakEvidence(const FamilyAssessment& a, double bucketSeconds) const;
    void judgeFloor(FamilyAssessment& a, const std::vector<uint32_t>& minima,
                    const std::vector<uint32_t>& medians, const std::vector<uint32_t>& fine) const;
    void judgeReleaseFloors(FamilyAssessment& a, const std::vector<ReleaseFloor>& releases) const;
    void judgeRecentGrowth(FamilyAssessment& a, const std::vector<uint32_t>& medians,
                           double epsilon) const;
    void judgeLongWindows(FamilyAssessment& a, const JudgedSpan& span) const;
    void judgeShape(FamilyAssessment& a, const JudgedSpan& span,
                    const std::vector<uint32_t>& window) const;
    void judgeStairs(FamilyAssessment& a, const JudgedSpan& span) const;
    bool revisited(const FamilyAssessment& a, const JudgedSpan& span,
                   std::size_t windowBuckets) const;

    ScoringTuning tuning_;
    double sampleSeconds_;
    double ticksPerSecond_;
};

} // namespace velmora
