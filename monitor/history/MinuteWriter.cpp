// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/MinuteWriter.h"

#include "monitor/history/Clock.h"
#include "monitor/history/SqliteConnection.h"

namespace velmora {

void MinuteWriter::write(SqliteConnection& db, const std::vector<FamilyMinute>& minutes) {
    for (const auto& minute : minutes) {
        int64_t id = familyId(db, minute.key, minute.title, minute.minuteMs);
        writeFootprint(db, id, minute);
        if (minute.isSuspect()) {
            writeIncident(db, id, minute);
        }
    }
}

int64_t MinuteWriter::familyId(SqliteConnection& db, const std::string& key,
                               const std::string& title, int64_t seenMs) {
    auto& upsert = db.statement(
        "INSERT INTO families (key, title, first_seen_ms, last_seen_ms) VALUES (?1, ?2, ?3, ?3) "
        "ON CONFLICT (key) DO UPDATE SET title = excluded.title, "
        "first_seen_ms = min(first_seen_ms, excluded.first_seen_ms), "
        "last_seen_ms = max(last_seen_ms, excluded.last_seen_ms) RETURNING id");
    upsert.bind(1, key).bind(2, title).bind(3, seenMs);
    return upsert.runForInteger();
}

void MinuteWriter::writeFootprint(SqliteConnection& db, int64_t familyId,
                                  const FamilyMinute& minute) {
    auto bytes = static_cast<int64_t>(minute.medianBytes);
    int64_t minuteIndex = minute.minuteMs / kMinuteMs;
    db.statement("INSERT INTO footprints (family_id, minute, median_bytes, score) "
                 "VALUES (?1, ?2, ?3, ?4) ON CONFLICT DO NOTHING")
        .bind(1, familyId)
        .bind(2, minuteIndex)
        .bind(3, bytes)
        .bind(4, static_cast<int64_t>(minute.score))
        .run();
    if (db.changes() == 0) {
        return; // this minute is already stored; the day rollup already counts it
    }
    db.statement("INSERT INTO family_days (family_id, day, samples, sum_bytes, peak_bytes) "
                 "VALUES (?1, ?2, 1, ?3, ?3) ON CONFLICT (family_id, day) DO UPDATE SET "
                 "samples = samples + 1, sum_bytes = sum_bytes + excluded.sum_bytes, "
                 "peak_bytes = max(peak_bytes, excluded.peak_bytes)")
        .bind(1, familyId)
        .bind(2, minute.minuteMs / kDayMs)
        .bind(3, bytes)
        .run();
}

void MinuteWriter::writeIncident(SqliteConnection& db, int64_t familyId,
                                 const FamilyMinute& minute) {
    auto& latest = latestIncident(db, familyId);
    if (latest && latest->absorbs(minute, mergeGapMs_)) {
        latest->absorb(minute);
        updateIncident(db, *latest);
        return;
    }
    if (latest && minute.minuteMs < latest->startMs) {
        // A late minute from before the latest incident: it joins an earlier incident it is
        // near, or becomes one of its own; the latest incident stays the latest.
        if (auto earlier = incidentNear(db, familyId, minute)) {
            earlier->absorb(minute);
            updateIncident(db, *earlier);
        } else {
            insertIncident(db, familyId, IncidentSpan::startingWith(minute));
        }
        return;
    }
    latest = insertIncident(db, familyId, IncidentSpan::startingWith(minute));
}

IncidentSpan MinuteWriter::insertIncident(SqliteConnection& db, int64_t familyId,
                                          IncidentSpan span) {
    auto& insert = db.statement(
        "INSERT INTO incidents (family_id, start_ms, end_ms, peak_score, critical, peak_rate, "
        "minutes) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) RETURNING id");
    insert.bind(1, familyId)
        .bind(2, span.startMs)
        .bind(3, span.endMs)
        .bind(4, static_cast<int64_t>(span.peakScore))
        .bind(5, static_cast<int64_t>(span.critical))
        .bind(6, span.peakRate)
        .bind(7, span.minutes);
    span.id = insert.runForInteger();
    return span;
}

void MinuteWriter::updateIncident(SqliteConnection& db, const IncidentSpan& span) {
    db.statement("UPDATE incidents SET start_ms = ?2, end_ms = ?3, peak_score = ?4, "
                 "critical = ?5, peak_rate = ?6, minutes = ?7 WHERE id = ?1")
        .bind(1, span.id)
        .bind(2, span.startMs)
        .bind(3, span.endMs)
        .bind(4, static_cast<int64_t>(span.peakScore))
        .bind(5, static_cast<int64_t>(span.critical))
        .bind(6, span.peakRate)
        .bind(7, span.minutes)
        .run();
}

namespace {

const std::string kSpanColumns =
    "SELECT id, start_ms, end_ms, peak_score, critical, peak_rate, minutes FROM incidents ";

std::optional<IncidentSpan> firstSpan(SqliteStatement& query) {
    std::optional<IncidentSpan> span;
    if (query.step()) {
        span = IncidentSpan{query.integer(0),      query.integer(1),
                            query.integer(2),      static_cast<uint32_t>(query.integer(3)),
                            query.integer(4) != 0, query.real(5),
                            query.integer(6)};
    }
    query.reset();
    return span;
}

} // namespace

std::optional<IncidentSpan> MinuteWriter::incidentNear(SqliteConnection& db, int64_t familyId,
                                                       const FamilyMinute& minute) {
    auto& query =
        db.statement(kSpanColumns + "WHERE family_id = ?1 AND end_ms > ?2 ORDER BY end_ms LIMIT 1");
    query.bind(1, familyId).bind(2, minute.minuteMs - mergeGapMs_);
    auto span = firstSpan(query);
    if (span && span->absorbs(minute, mergeGapMs_)) {
        return span;
    }
    return std::nullopt;
}

std::optional<IncidentSpan>& MinuteWriter::latestIncident(SqliteConnection& db, int64_t familyId) {
    auto found = latestIncident_.find(familyId);
    if (found != latestIncident_.end()) {
        return found->second;
    }
    auto& query = db.statement(kSpanColumns + "WHERE family_id = ?1 ORDER BY end_ms DESC LIMIT 1");
    query.bind(1, familyId);
    return latestIncident_.emplace(familyId, firstSpan(query)).first->second;
}

} // namespace velmora
