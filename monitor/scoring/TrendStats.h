// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora {

// Robust trend of an evenly spaced series: the Theil-Sen slope (median of pairwise slopes) and
// the Mann-Kendall statistic over the same pairs, as Kendall's tau in [-1, 1].
struct TrendFit {
    double slopePerPoint = 0; // units per original point, after any downsampling
    double tau = 0;
    std::size_t points = 0;
};

// Fits at most maxPoints points: longer series are first reduced to medians of equal groups.
TrendFit fitTrend(std::span<const uint32_t> values, std::size_t maxPoints = 128);

// The median (the mean of the middle two for an even count); 0 for none.
double medianOf(std::vector<double> values);

// Share of point-to-point steps that rise by more than epsilon.
double risingShare(std::span<const uint32_t> values, double epsilon);

// A one-off step rather than a ramp: most of the net rise happened in one step, and the first
// and last thirds are each nearly flat.
bool looksLikeStep(std::span<const uint32_t> values);

// How surely the steps of a series rise: the mean of the point-to-point increments over its
// standard error (a t statistic). A leak adds about the same each step and scores high; a
// random walk that happens to climb has uneven steps and scores low. Capped at 100.
double incrementSignificance(std::span<const double> values);

// Releases in a run of samples: falls from one sample to the next larger than `minimumFall`
// and than eight times the typical step, as when a collector hands memory back at once.
std::size_t countReleases(std::span<const uint32_t> samples, double minimumFall);

// Where each release landed: its sample index and the lowest level of the few samples after it
// (a collection may take a few seconds). Falls within those few samples count once.
struct ReleaseFloor {
    std::size_t index = 0;
    double level = 0;
};
std::vector<ReleaseFloor> releaseFloors(std::span<const uint32_t> samples, double minimumFall);

// Theil-Sen slope (per unit of x) and Kendall's tau of points at uneven places.
TrendFit fitUnevenTrend(std::span<const double> x, std::span<const double> y);

// Where growth began after a pause: the last index of the newest flat run (three points within a
// tenth of the rise that follows) after which the window grows to its end over at least five
// points, else 0.
std::size_t growthOnset(std::span<const uint32_t> window);

// Whether growth keeps slowing down over a run of points: its step-to-step increments fall
// consistently (Kendall's tau of the increments at or under -0.5) and by at least a quarter of
// their mean across the run, as in a warm-up approaching its plateau. A steady leak's increments
// scatter around a constant.
bool incrementsSlowing(std::span<const uint32_t> values);

// Medians of consecutive groups so that at most maxPoints remain; the group size is returned.
std::vector<double> reduceToMedians(std::span<const uint32_t> values, std::size_t maxPoints,
                                    std::size_t& groupSize);

} // namespace velmora
