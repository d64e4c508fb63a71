// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/AdvancedHistory.h"

#include "monitor/history/HistoryStore.h"
#include "monitor/history/OffenderSeries.h"
#include "monitor/history/OffenderWording.h"

#include <algorithm>
#include <tuple>

namespace velmora {

namespace {

bool ranksBefore(const OffenderStats& a, const OffenderStats& b) {
    return std::tuple(b.incidentCount30d, b.criticalIncidentCount30d, b.outOfMemoryKills30d(),
                      b.peakScore30d, b.lastIncidentEndMs, a.key) <
           std::tuple(a.incidentCount30d, a.criticalIncidentCount30d, a.outOfMemoryKills30d(),
                      a.peakScore30d, a.lastIncidentEndMs, b.key);
}

} // namespace

Outcome<AdvancedHistorySnapshot>
AdvancedHistory::snapshot(const std::optional<std::string>& selectedKey,
                          const std::set<std::string>& liveKeys) const {
    int64_t now = store_.now();
    auto window = HistoryWindow::endingAt(now);
    auto offenders = store_.offenders(window);
    if (!offenders) {
        return offenders.error();
    }
    auto ranked = std::move(offenders).value();
    std::sort(ranked.begin(), ranked.end(), ranksBefore);
    if (ranked.size() > maxOffenders_) {
        ranked.resize(maxOffenders_);
    }
    AdvancedHistorySnapshot snapshot;
    snapshot.generatedAtMs = now;
    for (const auto& stats : ranked) {
        snapshot.offenders.push_back(
            OffenderWording(stats, liveKeys.count(stats.key) > 0, now).summary());
    }
    if (selectedKey) {
        auto detail = store_.offender(*selectedKey, window);
        if (!detail) {
            return detail.error();
        }
        if (detail.value()) {
            snapshot.selectedDetail =
                offenderDetail(*detail.value(), liveKeys.count(*selectedKey) > 0, now);
            auto footprints = store_.footprints(*selectedKey, window.since30dMs);
            auto moments = store_.moments(*selectedKey, window.since30dMs);
            if (footprints && moments) {
                // Two-hour figures: 30 days in 360 points.
                snapshot.selectedDetail->memorySeries = offenderSeries(
                    footprints.value(), moments.value(), window.since30dMs, now, 2 * 3'600'000);
            }
        }
    }
    return snapshot;
}

HistoryLine AdvancedHistory::historyFor(const std::string& key) const {
    auto detail = store_.offender(key, HistoryWindow::endingAt(store_.now()));
    if (!detail) {
        return HistoryLine{false};
    }
    HistoryLine line;
    if (const auto& found = detail.value()) {
        line.incidentCount30d = found->stats.incidentCount30d;
        line.criticalIncidentCount30d = found->stats.criticalIncidentCount30d;
        line.peakScore30d = found->stats.peakScore30d;
    }
    return line;
}

} // namespace velmora
