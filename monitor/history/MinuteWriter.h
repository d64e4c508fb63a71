// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/FamilyMinute.h"
#include "monitor/history/IncidentSpan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora {

class SqliteConnection;

// Writes batches of family minutes: the family row, the footprint, the day rollup and the
// incident each suspect minute extends or opens. It remembers every family's latest incident
// between batches; forget() drops that memory after a rollback or a prune.
class MinuteWriter {
public:
    explicit MinuteWriter(int64_t mergeGapMs) : mergeGapMs_(mergeGapMs) {}

    // Precondition: a transaction is open on `db`.
    void write(SqliteConnection& db, const std::vector<FamilyMinute>& minutes);
    void forget() { latestIncident_.clear(); }

    // Inserts or refreshes the family row and returns its id.
    static int64_t familyId(SqliteConnection& db, const std::string& key, const std::string& title,
                            int64_t seenMs);

private:
    void writeFootprint(SqliteConnection& db, int64_t familyId, const FamilyMinute& minute);
    void writeIncident(SqliteConnection& db, int64_t familyId, const FamilyMinute& minute);
    std::optional<IncidentSpan>& latestIncident(SqliteConnection& db, int64_t familyId);
    // The stored incident that `minute` lies near, if any.
    std::optional<IncidentSpan> incidentNear(SqliteConnection& db, int64_t familyId,
                                             const FamilyMinute& minute);
    static IncidentSpan insertIncident(SqliteConnection& db, int64_t familyId, IncidentSpan span);
    static void updateIncident(SqliteConnection& db, const IncidentSpan& span);

    int64_t mergeGapMs_;
    std::unordered_map<int64_t, std::optional<IncidentSpan>> latestIncident_;
};

} // namespace velmora
