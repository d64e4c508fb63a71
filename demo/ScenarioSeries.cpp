// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"

#include <cmath>

namespace velmora::ScenarioLibrary {

namespace {

constexpr double kiBPerMB = 1024;

// A small, repeatable wobble so the curves look sampled rather than ruled.
double wobble(int i, double amplitudeKiB) {
    return amplitudeKiB * std::sin(i * 1.7) * std::cos(i * 0.45);
}

} // namespace

MemorySeries leakingSeries(FindingSeverity severity) {
    const bool critical = severity == FindingSeverity::critical;
    const double nowKiB = (critical ? 6.8 : 4.1) * 1024 * 1024;
    const double rate = (critical ? 14.7 : 8.2) * kiBPerMB / 60; // KiB a second
    const int flatMinutes = 15;
    MemorySeries series;
    series.stepSeconds = 60;
    for (int i = 0; i <= 60; ++i) {
        const int minutesAgo = 60 - i;
        const double growthMinutes = std::min(60 - flatMinutes, minutesAgo);
        const double kib = nowKiB - rate * 60 * growthMinutes + wobble(i, 24 * kiBPerMB);
        series.footprintKiB.push_back(static_cast<uint64_t>(std::max(0.0, kib)));
    }
    series.footprintKiB.back() = static_cast<uint64_t>(nowKiB);
    series.anonKiB = static_cast<uint64_t>(nowKiB * 0.93);
    series.swapKiB = static_cast<uint64_t>(nowKiB * 0.05);
    series.sharedKiB = series.footprintKiB.back() - series.anonKiB - series.swapKiB;
    series.trend = MemoryTrendLine{15 * 60, nowKiB - rate * 15 * 60, rate};
    series.marks = {
        {38 * 60, FindingVerdict::watch},
        {26 * 60, FindingVerdict::suspect},
        {12 * 60, critical ? FindingVerdict::criticalRunaway : FindingVerdict::probable}};
    if (critical) {
        series.runsOut = RunsOutLevel{25 * 60, static_cast<uint64_t>(nowKiB + rate * 25 * 60)};
    }
    return series;
}

MemorySeries warmUpSeries() {
    MemorySeries series;
    series.stepSeconds = 60;
    // Rose quickly from 180 MB after its start, then levelled off near 620 MB.
    for (int i = 0; i <= 60; ++i) {
        const double kib =
            (180 + 440 * (1 - std::exp(-i / 6.0))) * kiBPerMB + wobble(i, 3 * kiBPerMB);
        series.footprintKiB.push_back(static_cast<uint64_t>(kib));
    }
    series.anonKiB = series.footprintKiB.back() - 24 * 1024;
    series.swapKiB = 0;
    series.sharedKiB = 24 * 1024;
    series.marks = {{44 * 60, FindingVerdict::watch}, {20 * 60, FindingVerdict::normal}};
    return series;
}

} // namespace velmora::ScenarioLibrary

namespace velmora::ScenarioLibrary {

const PopoverSnapshot& detailRunaway() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = criticalRunaway();
        value.selectedDetail = detail(value.rows.front().key, FindingSeverity::critical);
        return value;
    }();
    return snapshot;
}

const PopoverSnapshot& detailWarmUp() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = suspect();
        DetailSnapshot detail =
            ScenarioLibrary::detail(value.rows.back().key, FindingSeverity::watch);
        detail.verdictBlock = VerdictBlock{
            "Normal", "settled · score 12",
            "Rose to 620 MB after its start, then levelled off: a warm-up, not a leak."};
        detail.whyBlock.reasons = {"Growth stopped 20 minutes ago and has not resumed."};
        detail.timeline.clear();
        detail.artifactBoundary.reset();
        detail.memorySeries = warmUpSeries();
        value.selectedDetail = std::move(detail);
        return value;
    }();
    return snapshot;
}

} // namespace velmora::ScenarioLibrary

namespace velmora::ScenarioLibrary {

MemorySeries offenderMonthSeries() {
    MemorySeries series;
    series.stepSeconds = 7200;
    const double gb = 1024.0 * 1024;
    // Thirty days at two-hour figures: it climbs from 1.4 GB after each restart, until the
    // out-of-memory killer ended it 9 days ago and it was restarted.
    for (int i = 0; i < 360; ++i) {
        const double hoursAgo = (359 - i) * 2.0;
        const double sinceRestart = hoursAgo > 9 * 24 ? 30 * 24 - hoursAgo : 9 * 24 - hoursAgo;
        const double kib = (1.4 + 0.011 * sinceRestart) * gb + wobble(i, 0.05 * gb);
        series.footprintKiB.push_back(static_cast<uint64_t>(kib));
    }
    series.anonKiB = series.footprintKiB.back();
    series.marks = {{19 * 86400, FindingVerdict::probable},
                    {9.6 * 86400, FindingVerdict::criticalRunaway},
                    {1.5 * 86400, FindingVerdict::probable}};
    series.outOfMemoryKills = {9 * 86400 + 3600};
    return series;
}

} // namespace velmora::ScenarioLibrary
