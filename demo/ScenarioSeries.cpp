// SPDX-License-Identifier: GPL-3.0-or-later
#include "demo/ScenarioLibrary.h"

#include <algorithm>
#include <cmath>

namespace velmora::ScenarioLibrary {

namespace {

constexpr double kiBPerMB = 1024;
// The moment the demo's "now" stands for: 1 January 2026, 14:05 UTC (its history's day began
// at midnight).
constexpr double demoNow = 1767225600 + 14 * 3600 + 5 * 60;
constexpr double demoHistoryNow = 1767225600;

// The parts of each point: mostly anonymous memory, a little shared, and swap that creeps in
// over the last `swapMinutes` points to `swapShare` of the footprint.
MemoryKindPoints kindsOf(const std::vector<uint64_t>& footprints, double swapShare, int swapMinutes,
                         double sharedShare) {
    MemoryKindPoints kinds;
    const auto count = static_cast<int>(footprints.size());
    for (int i = 0; i < count; ++i) {
        const auto kib = static_cast<double>(footprints[static_cast<std::size_t>(i)]);
        const double swapped =
            swapMinutes > 0
                ? swapShare * std::clamp(1.0 - (count - 1 - i) / double(swapMinutes), 0.0, 1.0)
                : 0.0;
        const auto swap = static_cast<uint64_t>(kib * swapped);
        const auto shared = static_cast<uint64_t>(kib * sharedShare);
        kinds.anonKiB.push_back(static_cast<uint64_t>(kib) - swap - shared);
        kinds.swapKiB.push_back(swap);
        kinds.sharedKiB.push_back(shared);
    }
    if (swapMinutes == 0) {
        kinds.swapKiB.clear();
    }
    return kinds;
}

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
    series.nowWallSeconds = demoNow;
    series.anonKiB = static_cast<uint64_t>(nowKiB * 0.93);
    series.swapKiB = static_cast<uint64_t>(nowKiB * 0.05);
    series.sharedKiB = series.footprintKiB.back() - series.anonKiB - series.swapKiB;
    series.kinds = kindsOf(series.footprintKiB, 0.05, 20, 0.02);
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
    series.nowWallSeconds = demoNow;
    series.anonKiB = series.footprintKiB.back() - 24 * 1024;
    series.swapKiB = 0;
    series.sharedKiB = 24 * 1024;
    series.kinds = kindsOf(series.footprintKiB, 0, 0, 0);
    for (std::size_t i = 0; i < series.footprintKiB.size(); ++i) {
        series.kinds->anonKiB[i] = series.footprintKiB[i] - series.sharedKiB;
        series.kinds->sharedKiB[i] = series.sharedKiB;
    }
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

MemorySeries growingMemberSeries() {
    MemorySeries series;
    series.stepSeconds = 60;
    series.nowWallSeconds = demoNow;
    // A 400 MB family whose 80 MB workers come and go, hiding one that grows 6 MB a minute.
    MemberMemorySeries member{4242, "worker", {}, std::nullopt};
    for (int i = 0; i <= 60; ++i) {
        const double grower = (60 + 6.0 * i) * kiBPerMB + wobble(i, 2 * kiBPerMB);
        const double churn = ((i / 7) % 3) * 80 * kiBPerMB;
        member.footprintKiB.push_back(static_cast<uint64_t>(grower));
        series.footprintKiB.push_back(static_cast<uint64_t>(400 * kiBPerMB + grower + churn));
    }
    const double rate = 6 * kiBPerMB / 60;
    member.trend = MemoryTrendLine{20 * 60, static_cast<double>(member.footprintKiB[40]), rate};
    series.growingMember = std::move(member);
    series.anonKiB = series.footprintKiB.back() - 30 * 1024;
    series.sharedKiB = 30 * 1024;
    series.kinds = kindsOf(series.footprintKiB, 0, 0, 0.04);
    series.trend = MemoryTrendLine{20 * 60, static_cast<double>(series.footprintKiB[40]), rate};
    series.marks = {{31 * 60, FindingVerdict::watch}, {22 * 60, FindingVerdict::suspect}};
    return series;
}

} // namespace velmora::ScenarioLibrary

namespace velmora::ScenarioLibrary {

const PopoverSnapshot& detailGrowingMember() {
    static const PopoverSnapshot snapshot = [] {
        PopoverSnapshot value = suspect();
        DetailSnapshot detail =
            ScenarioLibrary::detail(value.rows.back().key, FindingSeverity::suspect);
        detail.memorySeries = growingMemberSeries();
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
    series.nowWallSeconds = demoHistoryNow;
    series.anonKiB = series.footprintKiB.back();
    series.marks = {{19 * 86400, FindingVerdict::probable},
                    {9.6 * 86400, FindingVerdict::criticalRunaway},
                    {1.5 * 86400, FindingVerdict::probable}};
    series.outOfMemoryKills = {9 * 86400 + 3600};
    return series;
}

} // namespace velmora::ScenarioLibrary
