// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/HistoryService.h"

#include "monitor/actions/ArtifactRecall.h"
#include "monitor/common/Formatting.h"
#include "monitor/live/StoredBaselines.h"
#include "tests/history/HistoryTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::ManualClock;
using testing::TemporaryDirectory;

FamilyView familyOf(const std::string& key, int score, FindingVerdict verdict,
                    uint64_t footprintKiB) {
    FamilyView family;
    family.key = key;
    family.title = key + " app";
    family.footprintKiB = footprintKiB;
    family.sparklineKiB = {static_cast<uint32_t>(footprintKiB - 2048),
                           static_cast<uint32_t>(footprintKiB - 1024)};
    family.assessment.score = score;
    family.assessment.verdict = verdict;
    family.assessment.hasRate = true;
    family.assessment.rateKiBPerSecond = 1024.0 / 60.0; // 1 MB/min
    return family;
}

LiveView viewWithLeak() {
    LiveView view;
    view.families.push_back(familyOf("leaky", 70, FindingVerdict::probable, 512 * 1024));
    view.families.push_back(familyOf("calm", 5, FindingVerdict::normal, 900 * 1024));
    FamilyView smoke = familyOf("velmora.recovery.smoke.target", 0, FindingVerdict::normal, 4096);
    smoke.smokeRole = SmokeRole::recovery;
    view.families.push_back(smoke);
    return view;
}

TEST(HistoryMinutes, KeepTheNewestMedianOfEveryRealFamily) {
    auto minutes = minutesOf(viewWithLeak(), 120'000);
    ASSERT_EQ(minutes.size(), 2u) << "the self-check target is never stored";
    EXPECT_EQ(minutes[0].key, "leaky");
    EXPECT_EQ(minutes[0].title, "leaky app");
    EXPECT_EQ(minutes[0].minuteMs, 120'000);
    EXPECT_EQ(minutes[0].medianBytes, (512u * 1024 - 1024) * 1024);
    EXPECT_EQ(minutes[0].score, 70u);
    EXPECT_EQ(minutes[0].verdict, FindingVerdict::probable);
    EXPECT_DOUBLE_EQ(minutes[0].rateMbPerMin, 1.0);
    EXPECT_EQ(minutes[1].verdict, FindingVerdict::normal);

    LiveView fresh;
    fresh.families.push_back(familyOf("new", 0, FindingVerdict::normal, 4096));
    fresh.families[0].sparklineKiB.clear();
    fresh.families[0].assessment.hasRate = false;
    auto first = minutesOf(fresh, 0);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].medianBytes, 4096u * 1024) << "before any closed minute: the footprint";
    EXPECT_EQ(first[0].rateMbPerMin, 0.0);
}

TEST(HistoryService, ClosedMinutesBecomeOffendersAndTheHistoryLine) {
    TemporaryDirectory dir;
    ManualClock clock;
    HistoryService history(DataFolder{dir.path()}, SettingsStorageMode::balanced, clock.clock());
    LiveView view = viewWithLeak();

    history.afterPass(view); // the first pass opens a minute and prunes once
    EXPECT_EQ(history.footer().pruneText, "Last prune just now");
    clock.nowMs += 1000;
    history.afterPass(view); // same minute: nothing written
    auto empty = history.snapshot(std::nullopt, {});
    ASSERT_TRUE(empty.ok()) << empty.error().message;
    EXPECT_TRUE(empty.value().offenders.empty());
    ASSERT_TRUE(history.historyLine("leaky"));
    EXPECT_EQ(history.historyLine("leaky")->text(), "History: no incidents in 30d");
    EXPECT_EQ(history.historyLine("leaky")->code().code.known, HistoryCode::noIncidents);

    for (int minute = 0; minute < 5; ++minute) {
        clock.nowMs += kMinuteMs;
        history.afterPass(view);
    }
    std::optional<HistoryLine> line = history.historyLine("leaky");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->text(), "History: 1 incident in 30d; peak score 70");
    EXPECT_EQ(line->code(), (Coded<HistoryCode>{HistoryCode::incidents,
                                                {.count = 1, .criticalCount = 0, .score = 70}}));

    view.families[0].assessment.score = 90;
    clock.nowMs += kMinuteMs - 500; // into the next minute, which records the higher score
    history.afterPass(view);
    EXPECT_EQ(history.historyLine("leaky"), line) << "the line is cached for a minute";
    clock.nowMs += 1000;
    ASSERT_TRUE(history.historyLine("leaky"));
    EXPECT_EQ(history.historyLine("leaky")->text(), "History: 1 incident in 30d; peak score 90");

    auto result = history.snapshot(std::string("leaky"), {"leaky"});
    ASSERT_TRUE(result.ok()) << result.error().message;
    const AdvancedHistorySnapshot& snapshot = result.value();
    ASSERT_EQ(snapshot.offenders.size(), 1u) << "a calm family is a baseline, not an offender";
    EXPECT_EQ(snapshot.offenders[0].key, "leaky");
    EXPECT_TRUE(snapshot.offenders[0].liveNow);
    EXPECT_EQ(snapshot.offenders[0].peakScore30d, 90u);
    ASSERT_TRUE(snapshot.selectedDetail);
    EXPECT_EQ(snapshot.selectedDetail->title, "leaky app");

    FooterTelemetrySnapshot footer = history.footer();
    EXPECT_EQ(footer.storageText.rfind("Storage ", 0), 0u) << footer.storageText;
}

TEST(HistoryService, AnUnusableFolderGivesMessagesNotFailures) {
    TemporaryDirectory dir;
    std::ofstream(dir.path() / "file") << "not a folder";
    ManualClock clock;
    HistoryService history(DataFolder{dir.path() / "file" / "velmora"}, SettingsStorageMode::low,
                           clock.clock());
    LiveView view = viewWithLeak();
    history.afterPass(view);
    clock.nowMs += kMinuteMs;
    history.afterPass(view);
    history.recordAction("leaky", "leaky app", "recover", "Recovery failed: gone", false);
    history.recordArtifact("leaky", "leaky app", "/nowhere.json", 10, clock.nowMs);

    auto result = history.snapshot(std::nullopt, {});
    ASSERT_FALSE(result.ok());
    EXPECT_FALSE(result.error().message.empty());
    EXPECT_FALSE(history.historyLine("leaky"));
    EXPECT_EQ(history.footer().storageText.rfind("Storage ", 0), 0u);
}

TEST(ArtifactRecall, EvidenceCapturedBeforeARestartCountsAgainWhileItsFileIsThere) {
    TemporaryDirectory dir;
    ManualClock clock;
    HistoryService history(DataFolder{dir.path()}, SettingsStorageMode::balanced, clock.clock());
    const std::string kept = (dir.path() / "evidence-leaky.json").string();
    std::ofstream(kept) << "{\"a\":1}";
    history.recordArtifact("leaky", "leaky app", kept, 7, clock.nowMs - 3'600'000);
    history.recordArtifact("calm", "calm app", (dir.path() / "deleted.json").string(), 10,
                           clock.nowMs);

    InteractionState interaction;
    recallArtifacts(history, viewWithLeak(), interaction);
    ASSERT_EQ(interaction.artifacts.count("leaky"), 1u);
    const CapturedArtifact& artifact = interaction.artifacts.at("leaky");
    EXPECT_EQ(artifact.path, kept);
    EXPECT_EQ(artifact.bytes, 7u);
    EXPECT_DOUBLE_EQ(artifact.wallTime, static_cast<double>(clock.nowMs - 3'600'000) / 1000.0);
    EXPECT_EQ(interaction.artifacts.count("calm"), 0u) << "its file is gone";

    // Each family is looked up once: a capture made since is never replaced by the stored one.
    interaction.artifacts["leaky"].path = "/fresh.json";
    recallArtifacts(history, viewWithLeak(), interaction);
    EXPECT_EQ(interaction.artifacts.at("leaky").path, "/fresh.json");
}

TEST(StoredBaselines, TheMedianOfAWeeksDailyMeansOnceAnHourIsStored) {
    TemporaryDirectory dir;
    ManualClock clock;
    auto store = test::openStore(dir.path(), clock);
    StoredBaselines baselines(*store, clock.clock());
    auto day = [&](int daysAgo, int minutes, uint64_t mib) {
        for (int i = 0; i < minutes; ++i) {
            store->record(test::minuteOf("app", clock.nowMs - daysAgo * kDayMs - i * kMinuteMs, 10,
                                         FindingVerdict::normal, mib << 20));
        }
        store->flush();
    };
    day(8, 120, 900); // older than a week
    day(3, 59, 100);
    EXPECT_EQ(baselines.baselineKiB("app"), std::nullopt) << "59 minutes are not enough";

    day(2, 30, 100);
    day(0, 30, 500); // today it leaks: the median of the daily means stays at the usual
    EXPECT_EQ(baselines.baselineKiB("app"), std::nullopt) << "kept for ten minutes";
    clock.nowMs += StoredBaselines::kRefreshMs;
    EXPECT_EQ(baselines.baselineKiB("app"), uint64_t(100) << 10) << "in KiB";

    // A pass looks up a few families at most; the others wait for a later pass.
    for (int i = 0; i < StoredBaselines::kLookupsPerPass; ++i) {
        baselines.baselineKiB("other" + std::to_string(i));
    }
    EXPECT_EQ(baselines.baselineKiB("app"), uint64_t(100) << 10) << "cached values still answer";
    clock.nowMs += StoredBaselines::kRefreshMs;
    EXPECT_EQ(baselines.baselineKiB("app"), uint64_t(100) << 10) << "a slightly stale value";
    baselines.nextPass();
    day(1, 200, 300);
    EXPECT_EQ(baselines.baselineKiB("app"), uint64_t(300) << 10) << "looked up again";
}

TEST(Formatting, AMomentOfAnotherDayCarriesItsDate) {
    const double now = 1'779'999'960.0; // 28 May 2026, evening
    EXPECT_EQ(formatMoment(now - 60, now), formatClock(now - 60));
    const std::string yesterday = formatMoment(now - 2 * 86'400, now);
    EXPECT_NE(yesterday.find(" May "), std::string::npos) << yesterday;
    EXPECT_EQ(yesterday.substr(yesterday.size() - 5), formatClock(now - 2 * 86'400));
}

} // namespace
} // namespace velmora
