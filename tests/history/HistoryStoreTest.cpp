// SPDX-License-Identifier: GPL-3.0-or-later
#include "HistoryTestSupport.h"
#include "monitor/history/HistorySchema.h"
#include "monitor/history/SqliteConnection.h"

#include <fstream>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::ManualClock;
using test::minuteOf;
using test::openStore;
using testing::TemporaryDirectory;

OffenderStats statsOf(HistoryStore& store, const std::string& key, int64_t nowMs) {
    auto detail = store.offender(key, HistoryWindow::endingAt(nowMs));
    EXPECT_TRUE(detail.ok());
    EXPECT_TRUE(detail.value().has_value());
    return detail.value()->stats;
}

TEST(HistoryStore, CompactsNearbySuspectMinutesIntoOneIncidentAndStartsANewOneAfterAGap) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto store = openStore(dir.path(), clock);
    int64_t t0 = clock.nowMs;
    for (int i = 0; i < 5; ++i) { // suspect minutes 0..4
        store->record(minuteOf("app.a", t0 + i * kMinuteMs, 55 + i, FindingVerdict::suspect,
                               100 << 20, 2.0 + i));
    }
    for (int i = 5; i < 9; ++i) { // calm minutes 5..8
        store->record(minuteOf("app.a", t0 + i * kMinuteMs, 10, FindingVerdict::normal));
    }
    // Minute 12 starts 7 minutes after the incident ended: the same incident.
    store->record(minuteOf("app.a", t0 + 12 * kMinuteMs, 70, FindingVerdict::probable));
    ASSERT_EQ(store->flush().value(), 10u);
    // Minutes 30 and 31 start 17 minutes after it: a new incident, which goes critical.
    store->record(minuteOf("app.a", t0 + 30 * kMinuteMs, 80, FindingVerdict::probable));
    store->record(minuteOf("app.a", t0 + 31 * kMinuteMs, 92, FindingVerdict::criticalRunaway));
    ASSERT_EQ(store->flush().value(), 2u);

    int64_t now = t0 + kHourMs;
    auto stats = statsOf(*store, "app.a", now);
    EXPECT_EQ(stats.incidentCount30d, 2u);
    EXPECT_EQ(stats.incidentCount7d, 2u);
    EXPECT_EQ(stats.criticalIncidentCount30d, 1u);
    EXPECT_EQ(stats.peakScore30d, 92u);
    EXPECT_EQ(stats.lastIncidentEndMs, t0 + 32 * kMinuteMs);
    EXPECT_EQ(stats.longestIncidentMs, 13 * kMinuteMs);
    EXPECT_DOUBLE_EQ(stats.peakRate30d, 6.0);
    EXPECT_EQ(stats.title, "app.a title");

    auto samples = store->footprints("app.a", t0);
    ASSERT_TRUE(samples.ok());
    ASSERT_EQ(samples.value().size(), 12u);
    EXPECT_EQ(samples.value().front(), (FootprintSample{t0, 100u << 20, 55}));
    EXPECT_EQ(samples.value().back().minuteMs, t0 + 31 * kMinuteMs);
}

TEST(HistoryStore, KeepsEverythingAcrossARestartAndContinuesTheOpenIncident) {
    TemporaryDirectory dir;
    ManualClock clock;
    int64_t t0 = clock.nowMs;
    {
        auto store = openStore(dir.path(), clock);
        store->record(minuteOf("app.a", t0, 60, FindingVerdict::suspect));
        store->record(minuteOf("app.a", t0 + kMinuteMs, 61, FindingVerdict::suspect));
        // Left buffered on purpose: the store flushes what it holds when it is destroyed.
        store->record(minuteOf("app.b", t0, 20, FindingVerdict::watch));
    }
    auto store = openStore(dir.path(), clock);
    store->record(minuteOf("app.a", t0 + 5 * kMinuteMs, 75, FindingVerdict::probable));
    ASSERT_TRUE(store->flush().ok());
    auto stats = statsOf(*store, "app.a", t0 + kHourMs);
    EXPECT_EQ(stats.incidentCount30d, 1u);
    EXPECT_EQ(stats.peakScore30d, 75u);
    EXPECT_EQ(store->footprints("app.b", 0).value().size(), 1u);
    EXPECT_EQ(store->integrityCheck().value(), "ok");
}

TEST(HistoryStore, AStoredMinuteIsCountedOnceEvenWhenRecordedTwice) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto store = openStore(dir.path(), clock);
    store->record(minuteOf("app.a", clock.nowMs, 10, FindingVerdict::normal, 100));
    store->record(minuteOf("app.a", clock.nowMs, 10, FindingVerdict::normal, 900));
    store->flush();
    auto detail = store->offender("app.a", HistoryWindow::endingAt(clock.nowMs));
    EXPECT_EQ(detail.value()->typicalFootprintBytes, 100u);
    EXPECT_EQ(detail.value()->peakFootprintBytes, 100u);
}

TEST(HistoryStore, UpgradesAVersionOneDatabaseAndFillsTheDayRollupFromItsFootprints) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto file = dir.path() / "history.sqlite3";
    int64_t minute = clock.nowMs / kMinuteMs;
    {
        SqliteConnection db(file);
        HistorySchema::migrateTo(db, 1);
        db.exec("INSERT INTO families VALUES (1, 'app.old', 'Old', 0, " +
                std::to_string(clock.nowMs) + ")");
        for (int i = 0; i < 3; ++i) {
            db.exec("INSERT INTO footprints VALUES (1, " + std::to_string(minute - i) + ", " +
                    std::to_string((i + 1) * 1000) + ", 5)");
        }
        ASSERT_EQ(HistorySchema::storedVersion(db), 1);
    }
    auto store = openStore(dir.path(), clock);
    ASSERT_FALSE(store->unavailableReason());
    auto detail = store->offender("app.old", HistoryWindow::endingAt(clock.nowMs));
    ASSERT_TRUE(detail.value().has_value());
    EXPECT_EQ(detail.value()->peakFootprintBytes, 3000u);
    store.reset();
    SqliteConnection db(file);
    EXPECT_EQ(HistorySchema::storedVersion(db), HistorySchema::currentVersion());
}

TEST(HistoryStore, LeavesADatabaseFromANewerVersionAloneAndSaysSo) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto file = dir.path() / "history.sqlite3";
    {
        SqliteConnection db(file);
        db.exec("PRAGMA user_version = 99");
    }
    std::vector<std::string> diagnostics;
    auto store = openStore(dir.path(), clock, &diagnostics);
    ASSERT_TRUE(store->unavailableReason());
    EXPECT_NE(store->unavailableReason()->find("newer version"), std::string::npos);
    auto offenders = store->offenders(HistoryWindow::endingAt(clock.nowMs));
    ASSERT_FALSE(offenders.ok());
    EXPECT_NE(offenders.error().message.find("schema 99"), std::string::npos);
    EXPECT_TRUE(diagnostics.empty());
    store.reset();
    SqliteConnection db(file);
    EXPECT_EQ(HistorySchema::storedVersion(db), 99);
}

void overwrite(const std::filesystem::path& file, std::streamoff at, std::size_t bytes) {
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(at);
    out << std::string(bytes, '\x5a');
}

TEST(HistoryStore, MovesAGarbageFileAsideWithOneLineAndStartsAFreshDatabase) {
    TemporaryDirectory dir;
    ManualClock clock;
    {
        std::ofstream garbage(dir.path() / "history.sqlite3", std::ios::binary);
        garbage << std::string(10'000, '\x7f') << "not a database";
    }
    std::vector<std::string> diagnostics;
    auto store = openStore(dir.path(), clock, &diagnostics);
    EXPECT_FALSE(store->unavailableReason());
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_NE(diagnostics[0].find("moved it to"), std::string::npos);
    auto aside = dir.path() / "history.sqlite3.corrupt-20260528T202600Z";
    EXPECT_TRUE(std::filesystem::exists(aside)) << diagnostics[0];
    store->record(minuteOf("app.a", clock.nowMs, 60, FindingVerdict::suspect));
    ASSERT_TRUE(store->flush().ok());
    EXPECT_EQ(store->integrityCheck().value(), "ok");
}

TEST(HistoryStore, MovesADatabaseWithDamagedPagesAsideAndKeepsWorking) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto file = dir.path() / "history.sqlite3";
    {
        auto store = openStore(dir.path(), clock);
        for (int i = 0; i < 2000; ++i) {
            store->record(minuteOf("app." + std::to_string(i % 50), clock.nowMs + i * kMinuteMs, 60,
                                   FindingVerdict::suspect));
        }
        store->flush();
        store->compact();
    }
    overwrite(file, 4096, 64 * 4096); // every page after the first
    std::vector<std::string> diagnostics;
    auto store = openStore(dir.path(), clock, &diagnostics);
    auto first = store->offenders(HistoryWindow::endingAt(clock.nowMs));
    auto second = store->offenders(HistoryWindow::endingAt(clock.nowMs));
    ASSERT_EQ(diagnostics.size(), 1u);
    // Found either while opening (then the first answer is already an empty history) or by
    // the first query (then that answer is the message and the next one is empty).
    if (!first.ok()) {
        EXPECT_NE(first.error().message.find("moved aside"), std::string::npos);
    }
    ASSERT_TRUE(second.ok());
    EXPECT_TRUE(second.value().empty());
}

TEST(HistoryStore, ADatabaseThatCannotBeOpenedFailsEveryCallAndRecoversWhenItCan) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto blocker = dir.path() / "data";
    std::ofstream(blocker) << "a file where the data folder should be";
    auto store = openStore(blocker, clock);
    ASSERT_TRUE(store->unavailableReason());
    store->record(minuteOf("app.a", clock.nowMs, 60, FindingVerdict::suspect));
    auto flushed = store->flush();
    ASSERT_FALSE(flushed.ok());
    EXPECT_NE(flushed.error().message.find("could not be opened"), std::string::npos);

    std::filesystem::remove(blocker);
    ASSERT_TRUE(store->flush().ok()); // the minute was kept for the retry
    EXPECT_EQ(store->footprints("app.a", 0).value().size(), 1u);
}

TEST(HistoryStore, RemovesHistoryBeforeACutoffButKeepsFamiliesThatStillHaveArtifacts) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto store = openStore(dir.path(), clock);
    int64_t old = clock.nowMs - 40 * kDayMs;
    test::recordIncident(*store, "app.gone", old, 3, 70);
    test::recordIncident(*store, "app.kept", old, 3, 70);
    ArtifactRecord artifact;
    artifact.familyKey = "app.kept";
    artifact.path = (dir.path() / "a.json").string();
    artifact.createdMs = old;
    ASSERT_TRUE(store->recordArtifact(artifact).ok());
    test::recordIncident(*store, "app.new", clock.nowMs - kHourMs, 2, 60);

    EXPECT_EQ(store->oldestHistoryMs().value(), old / kDayMs * kDayMs);
    auto removed = store->removeHistoryBefore(clock.nowMs - 30 * kDayMs);
    ASSERT_TRUE(removed.ok());
    EXPECT_GT(removed.value(), 6);
    auto window = HistoryWindow::endingAt(clock.nowMs);
    EXPECT_FALSE(store->offender("app.gone", window).value().has_value());
    EXPECT_TRUE(store->offender("app.kept", window).value().has_value());
    EXPECT_EQ(store->latestArtifact("app.kept").value()->path, artifact.path);
    EXPECT_EQ(store->offenders(window).value().size(), 1u);
    EXPECT_TRUE(store->compact().ok());
}

} // namespace
} // namespace velmora
