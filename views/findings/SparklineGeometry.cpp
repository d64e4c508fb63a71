// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/findings/SparklineGeometry.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr double emptySeriesValue = 500;
constexpr double lowestLevel = 0.08;
constexpr double highestLevel = 0.92;

} // namespace

std::vector<double> simplifiedSamples(const std::vector<double>& values, std::size_t targetCount) {
    if (targetCount >= values.size()) {
        return values;
    }
    if (targetCount == 0) {
        return {};
    }
    if (targetCount == 1) {
        return {values.front()};
    }
    std::vector<double> picked;
    picked.reserve(targetCount);
    const double last = static_cast<double>(values.size() - 1);
    for (std::size_t i = 0; i < targetCount; ++i) {
        const double position =
            last * static_cast<double>(i) / static_cast<double>(targetCount - 1);
        const auto index = static_cast<std::size_t>(std::lround(position));
        picked.push_back(values[std::min(index, values.size() - 1)]);
    }
    return picked;
}

std::vector<double> simplifiedNormalized(const std::vector<uint16_t>& samples) {
    std::vector<double> source(samples.begin(), samples.end());
    if (source.empty()) {
        source.push_back(emptySeriesValue);
    }
    auto values = simplifiedSamples(source, sparklinePointCount);
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    const double minimum = *low;
    const double range = std::max(*high - minimum, 1.0);
    for (auto& value : values) {
        value = std::clamp((value - minimum) / range, lowestLevel, highestLevel);
    }
    return values;
}

std::vector<SparklinePoint> sparklinePoints(const std::vector<double>& normalized, double width,
                                            double height) {
    const auto yOf = [&](double level) { return height - (height - 4) * level - 2; };
    if (normalized.size() == 1) {
        // One point alone would stroke nothing; hold its level across the whole box.
        const double y = yOf(normalized.front());
        return {{0, y}, {width, y}};
    }
    std::vector<SparklinePoint> points;
    points.reserve(normalized.size());
    const double steps = static_cast<double>(std::max<std::size_t>(normalized.size(), 2) - 1);
    for (std::size_t i = 0; i < normalized.size(); ++i) {
        points.push_back({width * static_cast<double>(i) / steps, yOf(normalized[i])});
    }
    return points;
}

} // namespace velmora
