// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/Stairs.h"

#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {
namespace {

constexpr double kNoiseMultiple = 6;   // a step stands this far above the typical change
constexpr double kMinStepKiB = 1024;   // ... and is at least a MiB
constexpr double kGiveBackShare = 0.3; // a fall of this share of a step gives memory back
constexpr double kSizeSpread = 4;      // the largest step at most this many times the smallest
constexpr double kPaceSpread = 3;      // the longest gap at most this many times the shortest
constexpr double kKeptShare = 0.8;     // the level keeps this share of what the steps added

} // namespace

StairRun findStairs(std::span<const uint32_t> medians, double stepShare) {
    StairRun run;
    const std::size_t n = medians.size();
    if (n < 4) {
        return run;
    }
    std::vector<double> changes(n);
    std::vector<double> sizes;
    for (std::size_t i = 1; i < n; ++i) {
        changes[i] = static_cast<double>(medians[i]) - static_cast<double>(medians[i - 1]);
        sizes.push_back(std::fabs(changes[i]));
    }
    const double noise = medianOf(sizes);
    const double threshold = std::max(
        {kNoiseMultiple * noise, stepShare * static_cast<double>(medians.back()), kMinStepKiB});
    const double giveBack = std::max(3 * noise, kGiveBackShare * threshold);
    std::vector<std::size_t> at; // where each step landed, newest first
    std::vector<double> stepSizes;
    std::size_t start = n - 1;
    for (std::size_t i = n - 1; i >= 1; --i) {
        if (changes[i] < -giveBack) {
            break;
        }
        start = i - 1;
        if (changes[i] > threshold) {
            at.push_back(i);
            stepSizes.push_back(changes[i]);
        }
    }
    run.steps = at.size();
    if (at.empty()) {
        return run;
    }
    run.spanBuckets = n - 1 - start;
    run.riseKiB = static_cast<double>(medians[n - 1]) - static_cast<double>(medians[start]);
    run.sinceLastStep = n - 1 - at.front();
    std::size_t shortestGap = n;
    for (std::size_t k = 1; k < at.size(); ++k) {
        std::size_t gap = at[k - 1] - at[k];
        run.longestGap = std::max(run.longestGap, gap);
        shortestGap = std::min(shortestGap, gap);
    }
    auto [smallest, largest] = std::minmax_element(stepSizes.begin(), stepSizes.end());
    double added = 0;
    for (double size : stepSizes) {
        added += size;
    }
    run.even = *largest <= kSizeSpread * *smallest &&
               (at.size() < 3 || static_cast<double>(run.longestGap) <=
                                     kPaceSpread * static_cast<double>(shortestGap)) &&
               run.riseKiB >= kKeptShare * added;
    return run;
}

} // namespace velmora
