// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora {

// The run of steps up that ends at the newest bucket: memory that grows by chunks every few
// minutes (a cache per batch, an arena, a heap that expands) and gives none of it back. Between
// steps the level is flat, so the ramp signals see little; the steps themselves are the
// evidence.
struct StairRun {
    std::size_t steps = 0;         // steps up since the run began
    std::size_t spanBuckets = 0;   // from the level before the first step to the newest bucket
    double riseKiB = 0;            // how far the level rose over the run
    std::size_t sinceLastStep = 0; // buckets since the newest step
    std::size_t longestGap = 0;    // the longest time between two steps, in buckets
    bool even = false;             // steps of like size at a like pace, and all of them kept
};

// Finds the run in closed bucket medians (oldest first). A step rises by more than `stepShare`
// of the newest level and by far more than the bucket-to-bucket noise; a fall of a good part of
// a step ends the run there.
StairRun findStairs(std::span<const uint32_t> medians, double stepShare);

} // namespace velmora
