// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/HistoryStore.h"

#include "monitor/history/ActionRecord.h"
#include "monitor/history/HistorySchema.h"
#include "monitor/history/MinuteWriter.h"
#include "monitor/history/OffenderQueries.h"
#include "monitor/history/SqliteConnection.h"
#include "monitor/history/SqliteError.h"
#include "monitor/history/UtcStamp.h"

#include <iostream>

namespace velmora {

namespace fs = std::filesystem;

namespace {

const std::string kArtifactColumns =
    "SELECT a.id, IFNULL(f.key, ''), IFNULL(f.title, ''), a.path, a.kind, a.size_bytes, "
    "a.created_ms FROM artifacts a LEFT JOIN families f ON f.id = a.family_id ";

ArtifactRecord readArtifact(const SqliteStatement& row) {
    return ArtifactRecord{row.integer(0), row.text(1), row.text(2),
                          row.text(3),    row.text(4), static_cast<uint64_t>(row.integer(5)),
                          row.integer(6)};
}

// The first column of the first row, or nothing when it is NULL or there is no row.
std::optional<int64_t> optionalScalar(SqliteConnection& db, const std::string& sql) {
    auto& query = db.statement(sql);
    std::optional<int64_t> value;
    if (query.step() && !query.isNull(0)) {
        value = query.integer(0);
    }
    query.reset();
    return value;
}

fs::path withSuffix(const fs::path& file, const std::string& suffix) {
    return fs::path(file.string() + suffix);
}

} // namespace

HistoryStore::HistoryStore(HistoryStoreOptions options) : options_(std::move(options)) {
    std::lock_guard lock(mutex_);
    ensureOpen();
}

HistoryStore::~HistoryStore() {
    flush();
}

template <class Body>
auto HistoryStore::guarded(Body&& body)
    -> Outcome<decltype(body(std::declval<SqliteConnection&>()))> {
    std::lock_guard lock(mutex_);
    if (!ensureOpen()) {
        return Failure{*unavailable_};
    }
    try {
        return body(*db_);
    } catch (const SqliteError& error) {
        if (error.isCorruption()) {
            moveAside(error.what());
            return Failure{std::string("History database could not be read (") + error.what() +
                           "); it was moved aside and a fresh one started."};
        }
        writer_->forget();
        return Failure{std::string("History database error: ") + error.what()};
    } catch (const std::exception& error) {
        writer_->forget();
        return Failure{std::string("History store error: ") + error.what()};
    }
}

std::optional<std::string> HistoryStore::unavailableReason() const {
    std::lock_guard lock(mutex_);
    return unavailable_;
}

bool HistoryStore::ensureOpen() {
    if (db_) {
        return true;
    }
    for (int attempt = 0; attempt < 2 && !db_; ++attempt) {
        try {
            open();
        } catch (const SqliteError& error) {
            close();
            if (error.isCorruption() && attempt == 0) {
                moveAside(error.what());
                continue;
            }
            unavailable_ = std::string("History database could not be opened: ") + error.what();
        } catch (const std::exception& error) {
            close();
            unavailable_ = std::string("History database could not be opened: ") + error.what();
        }
    }
    return db_ != nullptr;
}

void HistoryStore::open() {
    std::error_code ignored;
    fs::create_directories(options_.file.parent_path(), ignored);
    auto db = std::make_unique<SqliteConnection>(options_.file);
    db->exec("PRAGMA busy_timeout = 5000");
    if (db->scalar("PRAGMA page_count") == 0) {
        db->exec("PRAGMA auto_vacuum = INCREMENTAL"); // only possible before the first table
    }
    db->exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; PRAGMA foreign_keys = ON");
    int64_t version = HistorySchema::storedVersion(*db);
    if (version > HistorySchema::currentVersion()) {
        unavailable_ = "History database was written by a newer version of Velmora (schema " +
                       std::to_string(version) + "); history is paused.";
        return;
    }
    HistorySchema::migrate(*db);
    db->scalar("SELECT count(*) FROM families");
    db_ = std::move(db);
    writer_ = std::make_unique<MinuteWriter>(options_.incidentMergeGapMs);
    unavailable_.reset();
}

void HistoryStore::close() {
    writer_.reset();
    db_.reset();
}

void HistoryStore::moveAside(const std::string& reason) {
    close();
    fs::path target = withSuffix(options_.file, ".corrupt-" + utcStamp(options_.clock()));
    for (int n = 1; fs::exists(target); ++n) {
        target = withSuffix(options_.file,
                            ".corrupt-" + utcStamp(options_.clock()) + "-" + std::to_string(n));
    }
    std::error_code error;
    fs::rename(options_.file, target, error);
    if (error) {
        unavailable_ = "History database could not be read (" + reason +
                       ") and could not be moved aside: " + error.message();
        diagnose("velmora: history database " + options_.file.string() + " could not be read (" +
                 reason + ") nor moved aside (" + error.message() + ")");
        return;
    }
    std::error_code ignored;
    fs::rename(withSuffix(options_.file, "-wal"), withSuffix(target, "-wal"), ignored);
    fs::remove(withSuffix(options_.file, "-shm"), ignored);
    diagnose("velmora: history database " + options_.file.string() + " could not be read (" +
             reason + "); moved it to " + target.string() + " and started a fresh one");
}

void HistoryStore::diagnose(const std::string& line) const {
    if (options_.diagnostics) {
        options_.diagnostics(line);
    } else {
        std::cerr << line << '\n';
    }
}

void HistoryStore::record(FamilyMinute minute) {
    std::lock_guard lock(mutex_);
    if (pending_.size() >= options_.maxPendingMinutes) {
        pending_.erase(pending_.begin(),
                       pending_.begin() + static_cast<std::ptrdiff_t>(pending_.size() / 10 + 1));
    }
    pending_.push_back(std::move(minute));
}

Outcome<std::size_t> HistoryStore::flush() {
    auto write = [this](SqliteConnection& db) {
        if (pending_.empty()) {
            return std::size_t{0};
        }
        SqliteTransaction transaction(db);
        writer_->write(db, pending_);
        transaction.commit();
        std::size_t written = pending_.size();
        pending_.clear();
        return written;
    };
    auto result = guarded(write);
    if (!result && !pending_.empty()) {
        // A damaged file has just been replaced by a fresh one: keep the minutes there.
        bool replaced = [this] {
            std::lock_guard lock(mutex_);
            return db_ == nullptr && !unavailable_;
        }();
        if (replaced) {
            return guarded(write);
        }
    }
    return result;
}

Outcome<int64_t> HistoryStore::recordAction(const ActionRecord& action) {
    return guarded([&](SqliteConnection& db) {
        int64_t family =
            MinuteWriter::familyId(db, action.familyKey, action.familyTitle, action.atMs);
        auto& insert = db.statement("INSERT INTO actions (family_id, at_ms, action, outcome, "
                                    "succeeded) VALUES (?1, ?2, ?3, ?4, ?5) RETURNING id");
        insert.bind(1, family)
            .bind(2, action.atMs)
            .bind(3, action.action)
            .bind(4, action.outcome)
            .bind(5, static_cast<int64_t>(action.succeeded));
        return insert.runForInteger();
    });
}

Outcome<int64_t> HistoryStore::recordArtifact(const ArtifactRecord& artifact) {
    return guarded([&](SqliteConnection& db) {
        std::optional<int64_t> family;
        if (!artifact.familyKey.empty()) {
            family = MinuteWriter::familyId(db, artifact.familyKey, artifact.familyTitle,
                                            artifact.createdMs);
        }
        auto& insert = db.statement(
            "INSERT INTO artifacts (family_id, path, kind, size_bytes, created_ms) "
            "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (path) DO UPDATE SET "
            "family_id = excluded.family_id, kind = excluded.kind, "
            "size_bytes = excluded.size_bytes, created_ms = excluded.created_ms RETURNING id");
        insert.bind(1, family)
            .bind(2, artifact.path)
            .bind(3, artifact.kind)
            .bind(4, static_cast<int64_t>(artifact.sizeBytes))
            .bind(5, artifact.createdMs);
        return insert.runForInteger();
    });
}

Outcome<std::vector<OffenderStats>> HistoryStore::offenders(const HistoryWindow& window) {
    return guarded([&](SqliteConnection& db) { return OffenderQueries::offenders(db, window); });
}

Outcome<std::optional<OffenderDetailStats>> HistoryStore::offender(const std::string& key,
                                                                   const HistoryWindow& window) {
    return guarded(
        [&](SqliteConnection& db) { return OffenderQueries::offender(db, key, window); });
}

Outcome<std::vector<FootprintSample>> HistoryStore::footprints(const std::string& key,
                                                               int64_t sinceMs) {
    return guarded([&](SqliteConnection& db) {
        auto& query = db.statement("SELECT p.minute, p.median_bytes, p.score FROM footprints p "
                                   "JOIN families f ON f.id = p.family_id "
                                   "WHERE f.key = ?1 AND p.minute >= ?2 ORDER BY p.minute");
        query.bind(1, key).bind(2, (sinceMs + kMinuteMs - 1) / kMinuteMs);
        std::vector<FootprintSample> samples;
        while (query.step()) {
            samples.push_back(FootprintSample{query.integer(0) * kMinuteMs,
                                              static_cast<uint64_t>(query.integer(1)),
                                              static_cast<uint32_t>(query.integer(2))});
        }
        query.reset();
        return samples;
    });
}

Outcome<std::vector<FamilyMoment>> HistoryStore::moments(const std::string& key, int64_t sinceMs) {
    return guarded([&](SqliteConnection& db) {
        auto& query = db.statement(
            "SELECT i.start_ms, CASE WHEN i.critical THEN 1 ELSE 0 END FROM incidents i "
            "JOIN families f ON f.id = i.family_id WHERE f.key = ?1 AND i.start_ms >= ?2 "
            "UNION ALL SELECT a.at_ms, 2 FROM actions a JOIN families f ON f.id = a.family_id "
            "WHERE f.key = ?1 AND a.at_ms >= ?2 AND a.action = ?3 ORDER BY 1");
        query.bind(1, key).bind(2, sinceMs).bind(3, std::string_view(kOutOfMemoryKillAction));
        std::vector<FamilyMoment> moments;
        while (query.step()) {
            const int64_t kind = query.integer(1);
            moments.push_back({query.integer(0), kind == 2   ? FamilyMoment::Kind::outOfMemoryKill
                                                 : kind == 1 ? FamilyMoment::Kind::criticalIncident
                                                             : FamilyMoment::Kind::incident});
        }
        query.reset();
        return moments;
    });
}

Outcome<std::vector<DailyFootprint>> HistoryStore::dailyFootprints(const std::string& key,
                                                                   int64_t sinceMs) {
    return guarded([&](SqliteConnection& db) {
        auto& query = db.statement("SELECT d.day, d.samples, d.sum_bytes / d.samples "
                                   "FROM family_days d JOIN families f ON f.id = d.family_id "
                                   "WHERE f.key = ?1 AND d.day >= ?2 AND d.samples > 0 "
                                   "ORDER BY d.day");
        query.bind(1, key).bind(2, sinceMs / kDayMs);
        std::vector<DailyFootprint> days;
        while (query.step()) {
            days.push_back(DailyFootprint{query.integer(0), static_cast<uint64_t>(query.integer(1)),
                                          static_cast<uint64_t>(query.integer(2))});
        }
        query.reset();
        return days;
    });
}

Outcome<std::optional<ArtifactRecord>> HistoryStore::latestArtifact(const std::string& key) {
    return guarded([&](SqliteConnection& db) {
        auto& query =
            db.statement(kArtifactColumns + "WHERE f.key = ?1 ORDER BY a.created_ms DESC LIMIT 1");
        query.bind(1, key);
        std::optional<ArtifactRecord> artifact;
        if (query.step()) {
            artifact = readArtifact(query);
        }
        query.reset();
        return artifact;
    });
}

Outcome<std::optional<int64_t>> HistoryStore::oldestHistoryMs() {
    return guarded([&](SqliteConnection& db) {
        std::optional<int64_t> oldest;
        for (const auto& sql :
             {"SELECT MIN(day) * 86400000 FROM family_days", "SELECT MIN(end_ms) FROM incidents",
              "SELECT MIN(at_ms) FROM actions"}) {
            auto value = optionalScalar(db, sql);
            if (value && (!oldest || *value < *oldest)) {
                oldest = value;
            }
        }
        return oldest;
    });
}

Outcome<int64_t> HistoryStore::removeHistoryBefore(int64_t cutoffMs) {
    return guarded([&](SqliteConnection& db) {
        SqliteTransaction transaction(db);
        int64_t removed = 0;
        auto remove = [&](const std::string& sql, int64_t bound) {
            db.statement(sql).bind(1, bound).run();
            removed += db.changes();
        };
        remove("DELETE FROM footprints WHERE family_id IN (SELECT id FROM families) "
               "AND minute < ?1",
               cutoffMs / kMinuteMs);
        remove("DELETE FROM family_days WHERE family_id IN (SELECT id FROM families) "
               "AND day < ?1",
               cutoffMs / kDayMs);
        remove("DELETE FROM incidents WHERE end_ms < ?1", cutoffMs);
        remove("DELETE FROM actions WHERE at_ms < ?1", cutoffMs);
        remove("DELETE FROM families WHERE last_seen_ms < ?1 AND id NOT IN "
               "(SELECT family_id FROM artifacts WHERE family_id IS NOT NULL)",
               cutoffMs);
        transaction.commit();
        writer_->forget();
        return removed;
    });
}

Outcome<std::vector<ArtifactRecord>> HistoryStore::artifacts() {
    return guarded([&](SqliteConnection& db) {
        auto& query = db.statement(kArtifactColumns + "ORDER BY a.created_ms");
        std::vector<ArtifactRecord> all;
        while (query.step()) {
            all.push_back(readArtifact(query));
        }
        query.reset();
        return all;
    });
}

Outcome<Done> HistoryStore::forgetArtifact(const std::string& path) {
    return guarded([&](SqliteConnection& db) {
        db.statement("DELETE FROM artifacts WHERE path = ?1").bind(1, path).run();
        return Done{};
    });
}

Outcome<Done> HistoryStore::compact() {
    return guarded([&](SqliteConnection& db) {
        db.exec("PRAGMA incremental_vacuum; PRAGMA wal_checkpoint(TRUNCATE)");
        return Done{};
    });
}

Outcome<std::optional<int64_t>> HistoryStore::lastPruneMs() {
    return guarded([&](SqliteConnection& db) {
        return optionalScalar(db, "SELECT value FROM meta WHERE key = 'last_prune_ms'");
    });
}

Outcome<Done> HistoryStore::setLastPruneMs(int64_t atMs) {
    return guarded([&](SqliteConnection& db) {
        db.statement("INSERT INTO meta (key, value) VALUES ('last_prune_ms', ?1) "
                     "ON CONFLICT (key) DO UPDATE SET value = excluded.value")
            .bind(1, atMs)
            .run();
        return Done{};
    });
}

Outcome<std::string> HistoryStore::integrityCheck() {
    return guarded([&](SqliteConnection& db) {
        auto& query = db.statement("PRAGMA integrity_check");
        std::string verdict = query.step() ? query.text(0) : "no answer";
        query.reset();
        return verdict;
    });
}

} // namespace velmora
