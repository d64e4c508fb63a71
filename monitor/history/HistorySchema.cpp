// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/HistorySchema.h"

#include "monitor/history/SqliteConnection.h"

#include <array>
#include <string>
#include <string_view>

namespace velmora {

namespace {

// Version 1: families, one-minute footprints, compacted incidents, actions, artifacts and a
// small key-value table (last prune time).
constexpr std::string_view kVersion1 = R"sql(
CREATE TABLE families (
    id INTEGER PRIMARY KEY,
    key TEXT NOT NULL UNIQUE,
    title TEXT NOT NULL,
    first_seen_ms INTEGER NOT NULL,
    last_seen_ms INTEGER NOT NULL
);
CREATE TABLE footprints (
    family_id INTEGER NOT NULL REFERENCES families(id) ON DELETE CASCADE,
    minute INTEGER NOT NULL,
    median_bytes INTEGER NOT NULL,
    score INTEGER NOT NULL,
    PRIMARY KEY (family_id, minute)
) WITHOUT ROWID;
CREATE TABLE incidents (
    id INTEGER PRIMARY KEY,
    family_id INTEGER NOT NULL REFERENCES families(id) ON DELETE CASCADE,
    start_ms INTEGER NOT NULL,
    end_ms INTEGER NOT NULL,
    peak_score INTEGER NOT NULL,
    critical INTEGER NOT NULL,
    peak_rate REAL NOT NULL,
    minutes INTEGER NOT NULL
);
CREATE INDEX incidents_by_end ON incidents (end_ms);
CREATE INDEX incidents_by_family ON incidents (family_id, end_ms);
CREATE TABLE actions (
    id INTEGER PRIMARY KEY,
    family_id INTEGER NOT NULL REFERENCES families(id) ON DELETE CASCADE,
    at_ms INTEGER NOT NULL,
    action TEXT NOT NULL,
    outcome TEXT NOT NULL,
    succeeded INTEGER NOT NULL
);
CREATE INDEX actions_by_family ON actions (family_id, at_ms);
CREATE TABLE artifacts (
    id INTEGER PRIMARY KEY,
    family_id INTEGER REFERENCES families(id) ON DELETE SET NULL,
    path TEXT NOT NULL UNIQUE,
    kind TEXT NOT NULL,
    size_bytes INTEGER NOT NULL,
    created_ms INTEGER NOT NULL
);
CREATE INDEX artifacts_by_family ON artifacts (family_id, created_ms);
CREATE TABLE meta (
    key TEXT PRIMARY KEY,
    value INTEGER NOT NULL
) WITHOUT ROWID;
)sql";

// Version 2: a per-family, per-day rollup of the footprints (samples, sum and peak), so the
// typical and peak footprint of an offender never scan a month of minutes. Filled from the
// footprints already stored.
constexpr std::string_view kVersion2 = R"sql(
CREATE TABLE family_days (
    family_id INTEGER NOT NULL REFERENCES families(id) ON DELETE CASCADE,
    day INTEGER NOT NULL,
    samples INTEGER NOT NULL,
    sum_bytes INTEGER NOT NULL,
    peak_bytes INTEGER NOT NULL,
    PRIMARY KEY (family_id, day)
) WITHOUT ROWID;
INSERT INTO family_days (family_id, day, samples, sum_bytes, peak_bytes)
    SELECT family_id, minute / 1440, COUNT(*), SUM(median_bytes), MAX(median_bytes)
    FROM footprints GROUP BY family_id, minute / 1440;
)sql";

constexpr std::array<std::string_view, 2> kSteps{kVersion1, kVersion2};

} // namespace

namespace HistorySchema {

int64_t currentVersion() {
    return static_cast<int64_t>(kSteps.size());
}

int64_t storedVersion(SqliteConnection& db) {
    return db.scalar("PRAGMA user_version");
}

void migrateTo(SqliteConnection& db, int64_t version) {
    for (int64_t from = storedVersion(db); from < version; ++from) {
        SqliteTransaction transaction(db);
        db.exec(kSteps[static_cast<std::size_t>(from)]);
        db.exec("PRAGMA user_version = " + std::to_string(from + 1));
        transaction.commit();
    }
}

void migrate(SqliteConnection& db) {
    migrateTo(db, currentVersion());
}

} // namespace HistorySchema

} // namespace velmora
