// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/OffenderSeries.h"

#include <algorithm>

namespace velmora {

MemorySeries offenderSeries(const std::vector<FootprintSample>& footprints,
                            const std::vector<FamilyMoment>& moments, int64_t sinceMs,
                            int64_t nowMs, int64_t bucketMs) {
    MemorySeries series;
    const auto most = static_cast<int64_t>(MemorySeries::maxPoints);
    bucketMs = std::max({bucketMs, (nowMs - sinceMs + most - 1) / most, int64_t{1}});
    series.stepSeconds = static_cast<double>(bucketMs) / 1000;
    series.nowWallSeconds = static_cast<double>(nowMs) / 1000;
    const auto bucketCount = static_cast<std::size_t>((nowMs - sinceMs + bucketMs - 1) / bucketMs);
    std::vector<double> sums(bucketCount, 0);
    std::vector<uint32_t> counts(bucketCount, 0);
    for (const FootprintSample& sample : footprints) {
        if (sample.minuteMs < sinceMs || sample.minuteMs >= nowMs) {
            continue;
        }
        const auto bucket = static_cast<std::size_t>((sample.minuteMs - sinceMs) / bucketMs);
        sums[bucket] += static_cast<double>(sample.medianBytes) / 1024;
        ++counts[bucket];
    }
    const auto first = std::find_if(counts.begin(), counts.end(), [](uint32_t n) { return n > 0; });
    if (first == counts.end()) {
        return series;
    }
    const auto last =
        std::find_if(counts.rbegin(), counts.rend(), [](uint32_t n) { return n > 0; });
    const auto from = static_cast<std::size_t>(first - counts.begin());
    const auto to = static_cast<std::size_t>(counts.rend() - last); // one past the last
    uint64_t previous = 0;
    for (std::size_t i = from; i < to; ++i) {
        if (counts[i] > 0) {
            previous = static_cast<uint64_t>(sums[i] / counts[i]);
        }
        series.footprintKiB.push_back(previous);
    }
    // Each bucket stands at its middle.
    const double newestAt = static_cast<double>(sinceMs) +
                            (static_cast<double>(to) - 0.5) * static_cast<double>(bucketMs);
    series.newestAgoSeconds = std::max(0.0, (static_cast<double>(nowMs) - newestAt) / 1000);
    for (const FamilyMoment& moment : moments) {
        const double agoOfNewest = (newestAt - static_cast<double>(moment.atMs)) / 1000;
        if (moment.atMs < sinceMs || moment.atMs > nowMs) {
            continue;
        }
        switch (moment.kind) {
        case FamilyMoment::Kind::outOfMemoryKill:
            series.outOfMemoryKills.push_back(agoOfNewest);
            break;
        case FamilyMoment::Kind::criticalIncident:
            series.marks.push_back({agoOfNewest, FindingVerdict::criticalRunaway});
            break;
        case FamilyMoment::Kind::incident:
            series.marks.push_back({agoOfNewest, FindingVerdict::probable});
            break;
        }
    }
    return series;
}

} // namespace velmora
