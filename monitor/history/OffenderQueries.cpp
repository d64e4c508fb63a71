// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/OffenderQueries.h"

#include "monitor/history/ActionRecord.h"
#include "monitor/history/Clock.h"
#include "monitor/history/SqliteConnection.h"

#include <algorithm>
#include <unordered_map>

namespace velmora {

namespace {

// ?1 is the start of the 30-day window, ?2 the start of the 7-day window.
const std::string kStatsColumns =
    "SELECT f.id, f.key, f.title, f.first_seen_ms, COUNT(i.id), "
    "IFNULL(SUM(i.end_ms >= ?2), 0), IFNULL(SUM(i.critical), 0), IFNULL(MAX(i.peak_score), 0), "
    "IFNULL(MAX(i.end_ms), 0), IFNULL(MAX(i.peak_rate), 0.0), "
    "COUNT(DISTINCT i.start_ms / 86400000), IFNULL(MAX(i.end_ms - i.start_ms), 0) ";

OffenderStats readStats(const SqliteStatement& row) {
    OffenderStats stats;
    stats.familyId = row.integer(0);
    stats.key = row.text(1);
    stats.title = row.text(2);
    stats.firstSeenMs = row.integer(3);
    stats.incidentCount30d = static_cast<uint32_t>(row.integer(4));
    stats.incidentCount7d = static_cast<uint32_t>(row.integer(5));
    stats.criticalIncidentCount30d = static_cast<uint32_t>(row.integer(6));
    stats.peakScore30d = static_cast<uint32_t>(row.integer(7));
    stats.lastIncidentEndMs = row.integer(8);
    stats.peakRate30d = row.real(9);
    stats.incidentDays30d = static_cast<uint32_t>(row.integer(10));
    stats.longestIncidentMs = row.integer(11);
    return stats;
}

// Adds artifact counts and the successful actions of the window to the stats, by family id.
void addEvidence(SqliteConnection& db, const HistoryWindow& window,
                 std::vector<OffenderStats>& all) {
    std::unordered_map<int64_t, OffenderStats*> byId;
    for (auto& stats : all) {
        byId.emplace(stats.familyId, &stats);
    }
    auto& artifacts = db.statement("SELECT family_id, COUNT(*), MAX(created_ms) FROM artifacts "
                                   "WHERE family_id IS NOT NULL GROUP BY family_id");
    while (artifacts.step()) {
        if (auto found = byId.find(artifacts.integer(0)); found != byId.end()) {
            found->second->artifactCount = static_cast<uint32_t>(artifacts.integer(1));
            found->second->newestArtifactMs = artifacts.integer(2);
        }
    }
    artifacts.reset();
    auto& actions = db.statement("SELECT family_id, action, COUNT(*), MAX(at_ms) FROM actions "
                                 "WHERE at_ms >= ?1 AND succeeded = 1 GROUP BY family_id, action");
    actions.bind(1, window.since30dMs);
    while (actions.step()) {
        if (auto found = byId.find(actions.integer(0)); found != byId.end()) {
            std::string action = actions.text(1);
            if (action == kOutOfMemoryKillAction) {
                found->second->lastOutOfMemoryKillMs = actions.integer(3);
            }
            found->second->succeededActions30d[action] = static_cast<uint32_t>(actions.integer(2));
        }
    }
    actions.reset();
}

std::optional<uint64_t> median(std::vector<uint64_t> values) {
    if (values.empty()) {
        return std::nullopt;
    }
    auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

void addFootprint(SqliteConnection& db, const HistoryWindow& window, OffenderDetailStats& detail) {
    auto& days = db.statement("SELECT sum_bytes / samples, peak_bytes FROM family_days "
                              "WHERE family_id = ?1 AND day >= ?2");
    days.bind(1, detail.stats.familyId).bind(2, window.since30dMs / kDayMs);
    std::vector<uint64_t> dailyMeans;
    uint64_t peak = 0;
    while (days.step()) {
        dailyMeans.push_back(static_cast<uint64_t>(days.integer(0)));
        peak = std::max(peak, static_cast<uint64_t>(days.integer(1)));
    }
    days.reset();
    detail.typicalFootprintBytes = median(std::move(dailyMeans));
    if (detail.typicalFootprintBytes) {
        detail.peakFootprintBytes = peak;
    }
}

void addLastAction(SqliteConnection& db, OffenderDetailStats& detail) {
    // The kernel's kills are not actions someone took.
    auto& last = db.statement("SELECT action, outcome, succeeded, at_ms FROM actions "
                              "WHERE family_id = ?1 AND action != ?2 ORDER BY at_ms DESC LIMIT 1");
    last.bind(1, detail.stats.familyId).bind(2, std::string_view(kOutOfMemoryKillAction));
    if (last.step()) {
        detail.lastAction =
            LastAction{last.text(0), last.text(1), last.integer(2) != 0, last.integer(3)};
    }
    last.reset();
}

} // namespace

namespace OffenderQueries {

std::vector<OffenderStats> offenders(SqliteConnection& db, const HistoryWindow& window) {
    // Families with an incident or an out-of-memory kill in the window.
    auto& query = db.statement(
        kStatsColumns +
        "FROM families f LEFT JOIN incidents i ON i.family_id = f.id AND i.end_ms >= ?1 "
        "WHERE f.id IN (SELECT family_id FROM incidents WHERE end_ms >= ?1 UNION "
        "SELECT family_id FROM actions WHERE action = ?3 AND at_ms >= ?1 AND succeeded = 1) "
        "GROUP BY f.id");
    query.bind(1, window.since30dMs)
        .bind(2, window.since7dMs)
        .bind(3, std::string_view(kOutOfMemoryKillAction));
    std::vector<OffenderStats> all;
    while (query.step()) {
        all.push_back(readStats(query));
    }
    query.reset();
    addEvidence(db, window, all);
    return all;
}

std::optional<OffenderDetailStats> offender(SqliteConnection& db, const std::string& key,
                                            const HistoryWindow& window) {
    auto& query = db.statement(kStatsColumns + "FROM families f LEFT JOIN incidents i "
                                               "ON i.family_id = f.id AND i.end_ms >= ?1 "
                                               "WHERE f.key = ?3 GROUP BY f.id");
    query.bind(1, window.since30dMs).bind(2, window.since7dMs).bind(3, key);
    if (!query.step()) {
        query.reset();
        return std::nullopt;
    }
    std::vector<OffenderStats> one{readStats(query)};
    query.reset();
    addEvidence(db, window, one);
    OffenderDetailStats detail{std::move(one.front()), std::nullopt, std::nullopt, std::nullopt};
    addFootprint(db, window, detail);
    addLastAction(db, detail);
    return detail;
}

} // namespace OffenderQueries

} // namespace velmora
