// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace velmora {

// The signals and verdict of one family, computed from its series.
struct FamilyAssessment {
    bool hasRate = false;        // enough closed buckets for a growth rate
    double rateKiBPerSecond = 0; // Theil-Sen slope over the rate window
    std::optional<double> hourRateKiBPerSecond;
    std::optional<double> sixHourRateKiBPerSecond;
    double tau = 0;          // Mann-Kendall strength of the trend
    double steadiness = 0;   // share of rising bucket-to-bucket steps
    double significance = 0; // mean step over its standard error (of the floor if floorBased)
    double consistency = 0;  // how well the thirds of the window agree with the slope
    bool step = false;       // a one-off step rather than a ramp
    // The floor: the low points of each bucket. Under a sawtooth (memory released again and
    // again) the rate is the floor's, and a floor that does not rise is no leak.
    bool floorBased = false;              // releases seen in the window: judged by the floor
    double floorAgreement = 0;            // floor rise against the rise the rate implies
    double recentRateKiBPerSecond = 0;    // slope of the newest few buckets
    std::optional<double> stoppedSeconds; // growth has stopped: how long ago
    bool young = false;                   // still within its warm-up
    bool sustainedGrowth = false;         // the hour or six-hour window rose steadily
    bool revisited = false;               // it has been this large before and came back down
    bool stairs = false;                  // grows in steps that are never given back
    std::size_t stairSteps = 0;           // ... how many steps, over how long
    double stairSeconds = 0;
    bool decelerating = false;       // a warm-up that keeps slowing down
    double steadyRiseShare = 0;      // what steady growth added, as a share of where it began
    std::size_t startUpBuckets = 0;  // first buckets left out as the family's start-up
    std::optional<double> curvature; // recent slope / window slope, when growing
    double windowSeconds = 0;        // time the rate window covers
    double growthSeconds = 0;        // how long the growth judged has lasted
    uint64_t footprintKiB = 0;
    uint64_t baselineKiB = 0;
    double baselineMultiple = 1;
    bool idle = false;
    std::optional<double> exhaustionSeconds;
    int score = 0;
    FindingVerdict verdict = FindingVerdict::normal;
    FindingVerdict scoredVerdict = FindingVerdict::normal; // before the machine-wide runaway rule

    // Growing at a stated rate: a positive slope that the window's thirds agree with.
    bool rising = false;
    bool growing() const { return rising; }
};

FindingSeverity severityOf(FindingVerdict verdict);

} // namespace velmora
