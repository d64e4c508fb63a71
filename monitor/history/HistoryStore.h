// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/ActionRecord.h"
#include "monitor/history/ArtifactRecord.h"
#include "monitor/history/Clock.h"
#include "monitor/history/FamilyMinute.h"
#include "monitor/history/OffenderStats.h"
#include "monitor/history/Outcome.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velmora {

class MinuteWriter;
class SqliteConnection;

using Done = std::monostate;
// Receives one diagnostic line (no trailing newline); the default writes it to standard error.
using DiagnosticSink = std::function<void(const std::string&)>;

struct HistoryStoreOptions {
    std::filesystem::path file; // <data dir>/history.sqlite3
    Clock clock = systemClock();
    DiagnosticSink diagnostics;
    // Suspect minutes closer than this to an incident belong to it.
    int64_t incidentMergeGapMs = 10 * kMinuteMs;
    // Minutes kept for a retry while the database cannot be written.
    std::size_t maxPendingMinutes = 100'000;
};

// The monitor's history in SQLite (WAL, synchronous NORMAL, foreign keys on). Minutes are
// buffered by record() and written by flush() in one transaction. Every call is thread-safe.
//
// A file that is damaged or is not a database is moved aside ("history.sqlite3.corrupt-
// 20261206T195012Z"), reported in one diagnostic line, and a fresh database takes its place;
// this also happens when the damage only shows during a later call, which then fails with a
// message. A file that cannot be opened at all, or was written by a newer schema, makes every
// call fail with a message until it can be opened (each call tries again); it is left alone.
class HistoryStore {
public:
    explicit HistoryStore(HistoryStoreOptions options);
    ~HistoryStore(); // flushes what is still buffered
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    const std::filesystem::path& file() const { return options_.file; }
    int64_t now() const { return options_.clock(); }
    // Nothing when the database is open, else why it is not.
    std::optional<std::string> unavailableReason() const;

    // Buffers one family minute for the next flush.
    void record(FamilyMinute minute);
    // Writes the buffered minutes in one transaction; returns how many were written. On
    // failure they stay buffered for the next flush.
    Outcome<std::size_t> flush();

    Outcome<int64_t> recordAction(const ActionRecord& action);
    // Registers a file (replacing an earlier row for the same path); returns its id.
    Outcome<int64_t> recordArtifact(const ArtifactRecord& artifact);

    Outcome<std::vector<OffenderStats>> offenders(const HistoryWindow& window);
    Outcome<std::optional<OffenderDetailStats>> offender(const std::string& key,
                                                         const HistoryWindow& window);
    Outcome<std::vector<FootprintSample>> footprints(const std::string& key, int64_t sinceMs);
    // The family's day rollups from the day holding sinceMs on, oldest first.
    Outcome<std::vector<DailyFootprint>> dailyFootprints(const std::string& key, int64_t sinceMs);
    // The incidents begun and the out-of-memory kills since sinceMs, oldest first.
    Outcome<std::vector<FamilyMoment>> moments(const std::string& key, int64_t sinceMs);
    Outcome<std::optional<ArtifactRecord>> latestArtifact(const std::string& key);

    // Retention support.
    Outcome<std::optional<int64_t>> oldestHistoryMs();
    // Deletes footprints, day rollups, incidents and actions older than the cutoff, and the
    // families last seen before it that keep no artifact; returns the rows removed.
    Outcome<int64_t> removeHistoryBefore(int64_t cutoffMs);
    Outcome<std::vector<ArtifactRecord>> artifacts();
    Outcome<Done> forgetArtifact(const std::string& path);
    // Returns freed pages to the file system and truncates the write-ahead log.
    Outcome<Done> compact();
    Outcome<std::optional<int64_t>> lastPruneMs();
    Outcome<Done> setLastPruneMs(int64_t atMs);

    // "ok" for a sound database.
    Outcome<std::string> integrityCheck();

private:
    template <class Body>
    auto guarded(Body&& body) -> Outcome<decltype(body(std::declval<SqliteConnection&>()))>;
    bool ensureOpen();
    void open();
    void moveAside(const std::string& reason);
    void close();
    Outcome<std::size_t> writePending();
    void diagnose(const std::string& line) const;

    HistoryStoreOptions options_;
    mutable std::mutex mutex_;
    std::unique_ptr<SqliteConnection> db_;
    std::unique_ptr<MinuteWriter> writer_;
    std::optional<std::string> unavailable_;
    std::vector<FamilyMinute> pending_;
};

} // namespace velmora
