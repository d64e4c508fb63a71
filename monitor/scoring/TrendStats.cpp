// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>

namespace velmora {

std::vector<double> reduceToMedians(std::span<const uint32_t> values, std::size_t maxPoints,
                                    std::size_t& groupSize) {
    maxPoints = std::max<std::size_t>(maxPoints, 2);
    groupSize = (values.size() + maxPoints - 1) / maxPoints;
    groupSize = std::max<std::size_t>(groupSize, 1);
    std::vector<double> out;
    out.reserve(values.size() / groupSize + 1);
    // Groups are aligned to the newest point so the most recent data is never a partial group.
    std::size_t start = values.size() % groupSize;
    std::vector<uint32_t> group;
    for (std::size_t i = start; i + groupSize <= values.size(); i += groupSize) {
        group.assign(values.begin() + static_cast<std::ptrdiff_t>(i),
                     values.begin() + static_cast<std::ptrdiff_t>(i + groupSize));
        auto middle = group.begin() + static_cast<std::ptrdiff_t>(group.size() / 2);
        std::nth_element(group.begin(), middle, group.end());
        out.push_back(static_cast<double>(*middle));
    }
    return out;
}

TrendFit fitTrend(std::span<const uint32_t> values, std::size_t maxPoints) {
    std::size_t groupSize = 1;
    std::vector<double> y = reduceToMedians(values, maxPoints, groupSize);
    std::vector<double> x(y.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        x[i] = static_cast<double>(i);
    }
    TrendFit fit = fitUnevenTrend(x, y);
    fit.slopePerPoint /= static_cast<double>(groupSize);
    return fit;
}

double medianOf(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    double median = *middle;
    if (values.size() % 2 == 0) {
        median = (median + *std::max_element(values.begin(), middle)) / 2;
    }
    return median;
}

double risingShare(std::span<const uint32_t> values, double epsilon) {
    if (values.size() < 2) {
        return 0;
    }
    std::size_t rising = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        if (static_cast<double>(values[i]) - static_cast<double>(values[i - 1]) > epsilon) {
            ++rising;
        }
    }
    return static_cast<double>(rising) / static_cast<double>(values.size() - 1);
}

bool looksLikeStep(std::span<const uint32_t> values) {
    std::size_t n = values.size();
    if (n < 4) {
        return false;
    }
    double net = static_cast<double>(values[n - 1]) - static_cast<double>(values[0]);
    if (net <= 0) {
        return false;
    }
    double largest = 0;
    for (std::size_t i = 1; i < n; ++i) {
        largest =
            std::max(largest, static_cast<double>(values[i]) - static_cast<double>(values[i - 1]));
    }
    if (largest < 0.6 * net) {
        return false;
    }
    auto spread = [&](std::size_t from, std::size_t to) {
        auto [lo, hi] = std::minmax_element(values.begin() + static_cast<std::ptrdiff_t>(from),
                                            values.begin() + static_cast<std::ptrdiff_t>(to));
        return static_cast<double>(*hi) - static_cast<double>(*lo);
    };
    std::size_t third = std::max<std::size_t>(n / 3, 1);
    return spread(0, third) < 0.2 * net && spread(n - third, n) < 0.2 * net;
}

double incrementSignificance(std::span<const double> values) {
    constexpr double cap = 100;
    std::size_t n = values.size();
    if (n < 3) {
        return 0;
    }
    double sum = 0;
    for (std::size_t i = 1; i < n; ++i) {
        sum += values[i] - values[i - 1];
    }
    double mean = sum / static_cast<double>(n - 1);
    double squares = 0;
    for (std::size_t i = 1; i < n; ++i) {
        double d = values[i] - values[i - 1] - mean;
        squares += d * d;
    }
    double error = std::sqrt(squares / static_cast<double>(n - 2)) / std::sqrt(n - 1.0);
    if (error <= 0) {
        return mean > 0 ? cap : mean < 0 ? -cap : 0;
    }
    return std::clamp(mean / error, -cap, cap);
}

namespace {

constexpr std::size_t kReleaseSamples = 5; // a collection lands within this many samples

// The fall a release must exceed: `minimumFall`, and eight times the median step.
double releaseFall(std::span<const uint32_t> samples, double minimumFall) {
    std::vector<double> steps;
    steps.reserve(samples.size() - 1);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        steps.push_back(
            std::fabs(static_cast<double>(samples[i]) - static_cast<double>(samples[i - 1])));
    }
    auto middle = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() / 2);
    std::nth_element(steps.begin(), middle, steps.end());
    return std::max(minimumFall, 8 * *middle);
}

} // namespace

std::size_t countReleases(std::span<const uint32_t> samples, double minimumFall) {
    return releaseFloors(samples, minimumFall).size();
}

std::vector<ReleaseFloor> releaseFloors(std::span<const uint32_t> samples, double minimumFall) {
    std::vector<ReleaseFloor> floors;
    if (samples.size() < 3) {
        return floors;
    }
    const double fall = releaseFall(samples, minimumFall);
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (static_cast<double>(samples[i - 1]) - static_cast<double>(samples[i]) <= fall) {
            continue;
        }
        std::size_t end = std::min(samples.size(), i + kReleaseSamples);
        auto lowest = std::min_element(samples.begin() + static_cast<std::ptrdiff_t>(i),
                                       samples.begin() + static_cast<std::ptrdiff_t>(end));
        if (!floors.empty() && i - floors.back().index < kReleaseSamples) {
            floors.back().level = std::min(floors.back().level, static_cast<double>(*lowest));
        } else {
            floors.push_back({i, static_cast<double>(*lowest)});
        }
    }
    return floors;
}

TrendFit fitUnevenTrend(std::span<const double> x, std::span<const double> y) {
    TrendFit fit;
    const std::size_t n = std::min(x.size(), y.size());
    fit.points = n;
    if (n < 2) {
        return fit;
    }
    std::vector<double> slopes;
    slopes.reserve(n * (n - 1) / 2);
    long long s = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            double dx = x[j] - x[i];
            double dy = y[j] - y[i];
            if (dx > 0) {
                slopes.push_back(dy / dx);
            }
            s += (dy > 0) - (dy < 0);
        }
    }
    fit.slopePerPoint = medianOf(std::move(slopes));
    fit.tau = static_cast<double>(s) / static_cast<double>(n * (n - 1) / 2);
    return fit;
}

std::size_t growthOnset(std::span<const uint32_t> window) {
    constexpr std::size_t kFlatPoints = 3;   // a pause lasts at least this long
    constexpr std::size_t kGrowthPoints = 5; // ... and growth since then at least this
    const std::size_t n = window.size();
    if (n < kFlatPoints + kGrowthPoints) {
        return 0;
    }
    // The newest flat run that growth to the end of the window follows: the last index of the
    // run. Whatever came before it (a warm-up, an earlier spell of the same leak) is past.
    for (std::size_t end = n - kGrowthPoints; end + 1 >= kFlatPoints; --end) {
        double rise = static_cast<double>(window.back()) - static_cast<double>(window[end]);
        if (rise > 0) {
            auto [low, high] = std::minmax_element(
                window.begin() + static_cast<std::ptrdiff_t>(end + 1 - kFlatPoints),
                window.begin() + static_cast<std::ptrdiff_t>(end + 1));
            if (static_cast<double>(*high) - static_cast<double>(*low) <= 0.1 * rise) {
                return end;
            }
        }
        if (end == 0) {
            break;
        }
    }
    return 0;
}

bool incrementsSlowing(std::span<const uint32_t> values) {
    constexpr double kFallingTau = -0.5;
    constexpr double kFallShare = 0.25;
    if (values.size() < 5) {
        return false;
    }
    std::vector<uint32_t> increments;
    double sum = 0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        double step = static_cast<double>(values[i]) - static_cast<double>(values[i - 1]);
        increments.push_back(static_cast<uint32_t>(std::max(step, 0.0)));
        sum += step;
    }
    double mean = sum / static_cast<double>(increments.size());
    if (mean <= 0) {
        return false;
    }
    TrendFit fit = fitTrend(increments);
    double fall = -fit.slopePerPoint * static_cast<double>(increments.size() - 1);
    return fit.tau <= kFallingTau && fall >= kFallShare * mean;
}

} // namespace velmora
