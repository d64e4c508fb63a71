// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace velmora {

// What the answers show: how many rows, and when and how relief is offered. The series' shape
// is copied from the scoring settings, for the texts that describe it.
struct ComposeTuning {
    int maxRows = 12;
    double reliefHeadroomFraction = 0.15; // below this share of MemAvailable, offer relief
    // What a relief plan aims for, and how many families it offers: one screenful of choices,
    // and enough free memory that the machine is out of reclaim trouble.
    double reliefTargetFraction = 0.2;
    int reliefCandidates = 5;
    // The cadences and the series' shape, as the sampler and the scorer use them.
    double sampleIntervalSeconds = 1.0;
    double suspectDetailSeconds = 2.0;
    double backgroundDetailSeconds = 10.0;
    double bucketSeconds = 60.0;
    int rateWindowBuckets = 15;
    int minRateBuckets = 5;

    bool operator==(const ComposeTuning&) const = default;
};

} // namespace velmora
