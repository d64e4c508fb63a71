#pragma once

#include <cstdint>
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

// Where growth began when the window's older part is flat (within a tenth of the net rise) for
// at least a third of it and the growth came after: the last index of that flat run, else 0.
std::size_t growthOnset(std::span<const uint32_t> window);

// Medians of consecutive groups so that at most maxPoints remain; the group size is returned.
std::vector<double> reduceToMedians(std::span<const uint32_t> values, std::size_t maxPoints,
                                    std::size_t& groupSize);

} // namespace velmora
