// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/scoring/StartUp.h"

#include "monitor/scoring/TrendStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {
namespace {

constexpr std::size_t kFollowingSteps = 6; // the steps a start-up's rise is compared with
constexpr double kDwarfs = 4;              // ... and how many times theirs it must be
constexpr double kMinRiseShare = 0.02;     // a start-up adds at least this share of the level
constexpr double kMinRiseKiB = 512;
constexpr double kBornShare = 0.5; // a bucket whose low point is under half the next level

double typicalStep(const std::vector<uint32_t>& life, std::size_t from) {
    std::vector<double> steps;
    for (std::size_t i = from; i + 1 < life.size() && steps.size() < kFollowingSteps; ++i) {
        steps.push_back(std::fabs(static_cast<double>(life[i + 1]) - life[i]));
    }
    return medianOf(std::move(steps));
}

} // namespace

std::size_t startUpBuckets(const FamilySeries& series, std::size_t maxBuckets) {
    // Only while the family's first buckets are still held.
    if (series.closedBuckets() != series.medianCount() || series.medianCount() < 2) {
        return 0;
    }
    const std::vector<uint32_t> life = series.oldestMedians(maxBuckets + kFollowingSteps + 1);
    const std::vector<uint32_t> lows = series.oldestMinima(maxBuckets + 1);
    std::size_t count = 0;
    while (count < maxBuckets && count + 1 < life.size()) {
        double next = life[count + 1];
        // Born within this bucket (a low point under half the next level), or still climbing
        // through it from far below its own level.
        double level = count == 0 ? next : static_cast<double>(life[count]);
        bool climbing = count < lows.size() && lows[count] < kBornShare * level;
        double rise = next - static_cast<double>(life[count]);
        double threshold =
            std::max({kDwarfs * typicalStep(life, count + 1), kMinRiseShare * next, kMinRiseKiB});
        if (!climbing && rise <= threshold) {
            break;
        }
        ++count;
    }
    return count;
}

} // namespace velmora
