// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/common/RingBuffer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace velmora {

// The machine's reserve (available memory plus free swap) over the last ten minutes, as one
// point per ten seconds (the median of the passes in it) in a fixed ring, and its robust trend:
// the Theil-Sen slope over the points with Kendall's tau from the same pairs. It is fitted once
// per closed point, so a pass only appends a sample.
class MemoryTrend {
public:
    static constexpr double kPointSeconds = 10;
    static constexpr double kWindowSeconds = 600;
    // Fewer points than this (two minutes) say nothing yet.
    static constexpr std::size_t kMinPoints = 12;
    // A fall this consistent (tau at or below) counts as steady; noise around a flat line and
    // a sawtooth stay well above it.
    static constexpr double kSteadyTau = -0.5;

    struct Fit {
        double slopeKiBPerSecond = 0;
        double tau = 0;
        std::size_t points = 0;
        double spanSeconds = 0;
    };

    void add(double now, uint64_t reserveKiB);
    // The fit of the points in the window, as of the last closed point.
    const Fit& fit() const { return fit_; }
    bool fallingSteadily() const;
    // Seconds until the reserve reaches zero at the fitted rate, from the latest sample; only
    // while it falls steadily.
    std::optional<double> exhaustionSeconds() const;
    std::size_t memoryBytes() const { return points_.memoryBytes(); }

private:
    struct Point {
        double time = 0;
        double kib = 0;
    };
    void closePoint();
    void refit(double now);

    RingBuffer<Point> points_{static_cast<std::size_t>(kWindowSeconds / kPointSeconds) + 1};
    std::array<double, 16> pending_{};
    std::size_t pendingCount_ = 0;
    double pendingTimeSum_ = 0;
    double pendingStart_ = 0;
    double latestKiB_ = 0;
    bool hasLatest_ = false;
    Fit fit_;
};

} // namespace velmora
