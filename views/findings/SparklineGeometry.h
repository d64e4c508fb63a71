// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora {

// The sparkline draws at most this many points, whatever the length of the series.
inline constexpr std::size_t sparklinePointCount = 6;

// All values when `targetCount` covers them; otherwise, for each i in [0, targetCount), the
// value at the index nearest to (count - 1) * i / (targetCount - 1), halves rounded away
// from zero.
std::vector<double> simplifiedSamples(const std::vector<double>& values, std::size_t targetCount);

// The series as drawn: the samples (a single 500 when there are none), simplified to
// sparklinePointCount values, each mapped to (value - min) / range clamped to [0.08, 0.92],
// where a range of at most 1 counts as 1.
std::vector<double> simplifiedNormalized(const std::vector<uint16_t>& samples);

struct SparklinePoint {
    double x = 0;
    double y = 0;

    bool operator==(const SparklinePoint&) const = default;
};

// The polyline of normalised values in a width x height box: x = width * i / (max(n, 2) - 1),
// y = height - (height - 4) * v - 2. A single value is drawn as a flat line across the box.
std::vector<SparklinePoint> sparklinePoints(const std::vector<double>& normalized, double width,
                                            double height);

} // namespace velmora
