// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/AdvancedHistory.h"

#include "HistoryTestSupport.h"
#include "model/Codec.h"
#include "monitor/history/OffenderSeries.h"

#include <fstream>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::ManualClock;
using test::openStore;
using test::recordIncident;
using testing::TemporaryDirectory;

// Encodes and decodes through the model, as the monitor and the UI do.
AdvancedHistorySnapshot roundTripped(const AdvancedHistorySnapshot& snapshot) {
    auto decoded = decodeText<AdvancedHistorySnapshot>(encode(snapshot).dump());
    EXPECT_TRUE(decoded.ok()) << (decoded.ok() ? "" : decoded.error().text());
    return decoded.ok() ? decoded.value() : AdvancedHistorySnapshot{};
}

class AdvancedHistoryTest : public ::testing::Test {
protected:
    int64_t daysAgo(double days) { return clock.nowMs - static_cast<int64_t>(days * kDayMs); }

    AdvancedHistorySnapshot snapshot(std::optional<std::string> selected = std::nullopt,
                                     std::set<std::string> live = {}) {
        auto result = AdvancedHistory(*store).snapshot(selected, live);
        EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
        return result.ok() ? roundTripped(result.value()) : AdvancedHistorySnapshot{};
    }

    void action(const std::string& key, const std::string& id, bool succeeded, int64_t atMs) {
        ASSERT_TRUE(store
                        ->recordAction(ActionRecord{key, key + " title", id,
                                                    succeeded ? "Ended cleanly." : "Still running.",
                                                    succeeded, atMs})
                        .ok());
    }

    void artifact(const std::string& key, int64_t atMs) {
        ArtifactRecord record;
        record.familyKey = key;
        record.path = (dir.path() / (key + std::to_string(atMs) + ".json")).string();
        record.createdMs = atMs;
        ASSERT_TRUE(store->recordArtifact(record).ok());
    }

    TemporaryDirectory dir;
    ManualClock clock;
    std::unique_ptr<HistoryStore> store = openStore(dir.path(), clock);
};

TEST_F(AdvancedHistoryTest, AnEmptyHistoryHasNoOffendersAndNoDetailForAnUnknownKey) {
    auto empty = snapshot("app.unknown");
    EXPECT_EQ(empty.generatedAtMs, clock.nowMs);
    EXPECT_TRUE(empty.offenders.empty());
    EXPECT_FALSE(empty.selectedDetail);
    EXPECT_EQ(AdvancedHistory(*store).historyFor("app.unknown").text(),
              "History: no incidents in 30d");
}

TEST_F(AdvancedHistoryTest, OneOffenderCarriesItsCountsLabelsAndTags) {
    recordIncident(*store, "app.a", daysAgo(20), 4, 58);
    recordIncident(*store, "app.a", daysAgo(3), 6, 71);
    recordIncident(*store, "app.a", daysAgo(40), 3, 99, true); // outside the 30-day window
    artifact("app.a", daysAgo(3));
    artifact("app.a", daysAgo(2));
    action("app.a", "restart", true, daysAgo(3));
    action("app.a", "restart", true, daysAgo(2));
    action("app.a", "restart", false, daysAgo(1)); // failed: not counted as a restart
    clock.nowMs += 12 * kMinuteMs;

    auto history = snapshot();
    ASSERT_EQ(history.offenders.size(), 1u);
    const auto& a = history.offenders[0];
    EXPECT_EQ(a.key, "app.a");
    EXPECT_EQ(a.title, "app.a title");
    EXPECT_FALSE(a.liveNow);
    EXPECT_EQ(a.incidentCount30d, 2u);
    EXPECT_EQ(a.incidentCount7d, 1u);
    EXPECT_EQ(a.criticalIncidentCount30d, 0u);
    EXPECT_EQ(a.peakScore30d, 71u);
    EXPECT_EQ(a.lastSeenMs, daysAgo(3) - 12 * kMinuteMs + 6 * kMinuteMs);
    EXPECT_EQ(a.lastSeenText, "3d ago");
    EXPECT_EQ(a.riskLabel, "Historical suspect");
    EXPECT_EQ(a.typicalityLabel, "Occasional spikes");
    EXPECT_EQ(a.evidenceTags, (std::vector<std::string>{"2 artifacts", "restarted 2x"}));
    EXPECT_EQ(a.interpretation,
              "2 incidents in 30 days, peaking at score 71; worth watching when it grows again.");
}

TEST_F(AdvancedHistoryTest, RanksByIncidentsThenCriticalThenPeakThenLastSeen) {
    for (double day : {10, 5, 1}) {
        recordIncident(*store, "app.most", daysAgo(day), 2, 55);
    }
    recordIncident(*store, "app.critical", daysAgo(9), 2, 60, true);
    recordIncident(*store, "app.critical", daysAgo(8), 2, 60);
    recordIncident(*store, "app.peak", daysAgo(9), 2, 90);
    recordIncident(*store, "app.peak", daysAgo(8), 2, 60);
    recordIncident(*store, "app.recent", daysAgo(4), 2, 60);
    recordIncident(*store, "app.recent", daysAgo(2), 2, 60);
    recordIncident(*store, "app.older", daysAgo(7), 2, 60);
    recordIncident(*store, "app.older", daysAgo(6), 2, 60);

    std::vector<std::string> order;
    for (const auto& offender : snapshot().offenders) {
        order.push_back(offender.key);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"app.most", "app.critical", "app.peak", "app.recent",
                                               "app.older"}));
    auto limited = AdvancedHistory(*store, 2).snapshot(std::nullopt, {});
    EXPECT_EQ(limited.value().offenders.size(), 2u);
}

TEST_F(AdvancedHistoryTest, LabelsFollowCriticalityRecurrenceAndRecency) {
    recordIncident(*store, "app.critical", daysAgo(6), 3, 88, true);
    recordIncident(*store, "app.watch", daysAgo(0.125), 2, 52);
    recordIncident(*store, "app.peak", daysAgo(29), 2, 66);
    for (int day = 1; day <= 12; ++day) { // every other day of the last 24
        recordIncident(*store, "app.recurring", daysAgo(2 * day), 2, 55);
    }
    recordIncident(*store, "app.new", clock.nowMs - 12 * kMinuteMs - kMinuteMs, 1, 60);

    std::map<std::string, HistoricalOffenderSummarySnapshot> byKey;
    for (auto& offender : snapshot(std::nullopt, {"app.new"}).offenders) {
        byKey[offender.key] = offender;
    }
    EXPECT_EQ(byKey["app.critical"].riskLabel, "Historical critical");
    EXPECT_EQ(byKey["app.critical"].evidenceTags, (std::vector<std::string>{"critical once"}));
    EXPECT_EQ(byKey["app.critical"].lastSeenText, "5d ago");
    EXPECT_EQ(byKey["app.critical"].interpretation,
              "Went critical once in 30 days; treat new growth from app.critical title as "
              "urgent.");
    EXPECT_EQ(byKey["app.watch"].riskLabel, "Historical watch");
    EXPECT_EQ(byKey["app.watch"].lastSeenText, "2h ago");
    EXPECT_EQ(byKey["app.watch"].typicalityLabel, "Too new to judge");
    EXPECT_EQ(byKey["app.peak"].riskLabel, "Historical suspect");
    EXPECT_EQ(byKey["app.peak"].typicalityLabel, "Usually healthy");
    EXPECT_EQ(byKey["app.recurring"].typicalityLabel, "Recurring above baseline");
    EXPECT_EQ(byKey["app.recurring"].interpretation,
              "Incidents started on 12 of the last 24 days watched; this growth keeps coming "
              "back above its baseline.");
    EXPECT_TRUE(byKey["app.new"].liveNow);
    EXPECT_EQ(byKey["app.new"].lastSeenText, "Live now");
}

TEST_F(AdvancedHistoryTest, TheSelectedDetailHasMetricsAndInsightLines) {
    for (int day = 0; day < 3; ++day) {
        for (int i = 0; i < 60; ++i) { // an hour of calm footprints each day, 100 MB
            store->record(test::minuteOf("app.a", daysAgo(10 - day) + i * kMinuteMs, 5,
                                         FindingVerdict::normal));
        }
    }
    store->record(
        test::minuteOf("app.a", daysAgo(2), 77, FindingVerdict::probable, 350u << 20, 8.25));
    store->record(test::minuteOf("app.a", daysAgo(2) + kMinuteMs, 92,
                                 FindingVerdict::criticalRunaway, 400u << 20, 12.0));
    store->flush();
    artifact("app.a", daysAgo(2));
    action("app.a", "restart", true, clock.nowMs - 3 * kHourMs);

    auto history = snapshot("app.a");
    ASSERT_TRUE(history.selectedDetail);
    const auto& detail = *history.selectedDetail;
    EXPECT_EQ(detail.key, "app.a");
    EXPECT_EQ(detail.riskLabel, "Historical critical");
    EXPECT_EQ(detail.lastSeenText, "1d ago");
    EXPECT_EQ(detail.evidenceTags,
              (std::vector<std::string>{"critical once", "1 artifact", "restarted once"}));
    EXPECT_EQ(detail.metrics, (std::vector<HistoryMetric>{{"Incidents 30d", "1"},
                                                          {"Incidents 7d", "1"},
                                                          {"Critical 30d", "1"},
                                                          {"Peak score", "92"},
                                                          {"Peak rate", "+12.0 MB/min"},
                                                          {"Typical footprint", "100 MB"},
                                                          {"Peak footprint", "400 MB"},
                                                          {"Last action", "Restart 3h ago"}}));
    EXPECT_EQ(detail.insightLines,
              (std::vector<std::string>{"Longest incident lasted 2m.",
                                        "Peak footprint reached 4.0x its typical footprint.",
                                        "Last action: Restart 3h ago, succeeded (Ended cleanly.).",
                                        "1 evidence artifact kept; newest captured 2d ago.",
                                        "Watched since 10d ago."}));
    EXPECT_EQ(AdvancedHistory(*store).historyFor("app.a").text(),
              "History: 1 incident in 30d; 1 critical; peak score 92");
}

TEST_F(AdvancedHistoryTest, TheSelectedDetailChartsItsMonthWithIncidentsAndKills) {
    for (int i = 0; i < 60; ++i) { // an hour at 100 MB ten days ago
        store->record(
            test::minuteOf("app.a", daysAgo(10) + i * kMinuteMs, 5, FindingVerdict::normal));
    }
    store->record(
        test::minuteOf("app.a", daysAgo(2), 92, FindingVerdict::criticalRunaway, 400u << 20, 12.0));
    store->flush();
    action("app.a", kOutOfMemoryKillAction, true, daysAgo(1));

    auto history = snapshot("app.a");
    ASSERT_TRUE(history.selectedDetail);
    ASSERT_TRUE(history.selectedDetail->memorySeries);
    const MemorySeries& series = *history.selectedDetail->memorySeries;
    EXPECT_EQ(series.stepSeconds, 7200);
    // Two-hour figures from the first stored minute to the last, the days between repeating.
    ASSERT_EQ(series.footprintKiB.size(), 8u * 12 + 1);
    EXPECT_EQ(series.footprintKiB.front(), 100u * 1024);
    EXPECT_EQ(series.footprintKiB[50], 100u * 1024);
    EXPECT_EQ(series.footprintKiB.back(), 400u * 1024);
    EXPECT_NEAR(series.newestAgoSeconds, 2 * 86400, 7200);
    // The incident at its peak verdict, the kill a day after the newest figure.
    ASSERT_EQ(series.marks.size(), 1u);
    EXPECT_EQ(series.marks[0].verdict, FindingVerdict::criticalRunaway);
    EXPECT_LE(std::abs(series.marks[0].agoSeconds), 7200); // within the newest figure's bucket
    ASSERT_EQ(series.outOfMemoryKills.size(), 1u);
    EXPECT_NEAR(nowAgo(series, series.outOfMemoryKills[0]), 86400, 1);

    // A family with nothing stored in 30 days has an empty series.
    EXPECT_TRUE(offenderSeries({}, {}, daysAgo(30), clock.nowMs, 7200000).footprintKiB.empty());
}

TEST_F(AdvancedHistoryTest, AFamilyWithoutIncidentsStillOpensADetail) {
    store->record(test::minuteOf("app.calm", daysAgo(1), 5, FindingVerdict::normal));
    store->flush();
    auto history = snapshot("app.calm");
    EXPECT_TRUE(history.offenders.empty());
    ASSERT_TRUE(history.selectedDetail);
    EXPECT_EQ(history.selectedDetail->riskLabel, "No incidents on record");
    EXPECT_EQ(history.selectedDetail->lastSeenText, "Not seen in 30d");
    EXPECT_EQ(history.selectedDetail->insightLines.front(), "No incidents in the last 30 days.");
}

TEST_F(AdvancedHistoryTest, AnUnreadableDatabaseAnswersWithAMessage) {
    std::filesystem::path blocked = dir.path() / "blocked";
    std::ofstream(blocked) << "x";
    auto broken = openStore(blocked, clock);
    auto result = AdvancedHistory(*broken).snapshot(std::nullopt, {});
    ASSERT_FALSE(result.ok());
    EXPECT_NE(result.error().message.find("History database could not be opened"),
              std::string::npos);
    EXPECT_EQ(AdvancedHistory(*broken).historyFor("app.a").text(), "History unavailable");
}

} // namespace
} // namespace velmora
