// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/OffenderWording.h"
#include "monitor/live/HistoryService.h"
#include "tests/history/HistoryTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::ManualClock;
using testing::TemporaryDirectory;

const std::string kTagOnce = "ended by the OOM killer 1\u00d7 in 30 days";
const std::string kTagTwice = "ended by the OOM killer 2\u00d7 in 30 days";

OutOfMemoryKill killOf(const std::string& id, const std::string& key, double wallAt) {
    return {id, key, key + " app", 42, 2 * 1024 * 1024, 3 * 1024 * 1024, 0.0, wallAt};
}

bool hasTag(const std::vector<std::string>& tags, const std::string& tag) {
    return std::find(tags.begin(), tags.end(), tag) != tags.end();
}

TEST(OutOfMemoryKillWording, TheTagCountsTheKillsOfThirtyDays) {
    using Tags = std::vector<Recorded<OffenderTagCode>>;
    OffenderStats stats;
    stats.key = "editor";
    stats.title = "Editor";
    stats.firstSeenMs = 0;
    int64_t now = 40 * kDayMs;
    EXPECT_TRUE(OffenderWording(stats, false, now).tags().empty());

    stats.succeededActions30d[kOutOfMemoryKillAction] = 1;
    stats.lastOutOfMemoryKillMs = now - 3 * 3'600'000;
    OffenderWording once(stats, false, now);
    EXPECT_EQ(once.tags(), (Tags{{OffenderTagCode::outOfMemoryKills, {.count = 1}}}));
    EXPECT_EQ(once.lastSeen(), (Recorded<LastSeenCode>{LastSeenCode::ago, {.seconds = 3 * 3600}}))
        << "a kill is a sighting";
    EXPECT_EQ(once.riskCode(), OffenderRiskCode::suspect);
    EXPECT_EQ(once.typicalityCode(), TypicalityCode::usuallyHealthy);
    EXPECT_EQ(once.interpretation(), (Recorded<InterpretationCode>{
                                         InterpretationCode::killedWithoutIncident, {.count = 1}}));

    stats.succeededActions30d[kOutOfMemoryKillAction] = 2;
    EXPECT_EQ(OffenderWording(stats, false, now).typicalityCode(),
              TypicalityCode::occasionalSpikes);
    stats.criticalIncidentCount30d = 1;
    stats.incidentCount30d = 1;
    EXPECT_EQ(OffenderWording(stats, false, now).tags(),
              (Tags{{OffenderTagCode::critical, {.count = 1}},
                    {OffenderTagCode::outOfMemoryKills, {.count = 2}}}));
}

struct History {
    History() { history.afterPass(view); }
    // A pass whose view holds `kills` (the sampler keeps them an hour).
    void pass(std::vector<OutOfMemoryKill> kills) {
        view.outOfMemoryKills = std::move(kills);
        clock.nowMs += 1000;
        history.afterPass(view);
    }
    AdvancedHistorySnapshot snapshot(const std::string& selected) {
        auto result = history.snapshot(selected, {});
        EXPECT_TRUE(result.ok()) << result.error().message;
        return result.ok() ? result.value() : AdvancedHistorySnapshot{};
    }

    TemporaryDirectory dir;
    ManualClock clock;
    HistoryService history{DataFolder{dir.path()}, SettingsStorageMode::balanced, clock.clock()};
    LiveView view;
};

TEST(OutOfMemoryKillHistory, EachKillIsRecordedOnceAndTaggedOnTheOffender) {
    History h;
    OutOfMemoryKill first = killOf("oom-42-1", "editor", 1.78e9);
    h.pass({first});
    h.pass({first}); // the same kill in the next view: not recorded again
    AdvancedHistorySnapshot snapshot = h.snapshot("editor");
    ASSERT_EQ(snapshot.offenders.size(), 1u) << "a killed family is an offender";
    EXPECT_EQ(snapshot.offenders[0].key, "editor");
    EXPECT_EQ(snapshot.offenders[0].title, "editor app");
    EXPECT_EQ(snapshot.offenders[0].evidenceTags, std::vector<std::string>{kTagOnce});
    ASSERT_TRUE(snapshot.selectedDetail);
    EXPECT_EQ(snapshot.selectedDetail->evidenceTags, std::vector<std::string>{kTagOnce});
    EXPECT_EQ(snapshot.selectedDetail->riskLabel, "Historical suspect");
    auto lastAction = std::find_if(
        snapshot.selectedDetail->metrics.begin(), snapshot.selectedDetail->metrics.end(),
        [](const HistoryMetric& metric) { return metric.label == "Last action"; });
    ASSERT_NE(lastAction, snapshot.selectedDetail->metrics.end());
    EXPECT_EQ(lastAction->value, "None") << "the kernel's kill is not someone's action";
    const auto& insights = snapshot.selectedDetail->insightLines;
    EXPECT_TRUE(hasTag(insights,
                       "Ended by the out-of-memory killer once in 30 days; the latest just now."));

    h.pass({first, killOf("oom-43-1", "editor", 1.78e9 + 60)});
    snapshot = h.snapshot("editor");
    ASSERT_EQ(snapshot.offenders.size(), 1u);
    EXPECT_EQ(snapshot.offenders[0].evidenceTags, std::vector<std::string>{kTagTwice});
    EXPECT_EQ(snapshot.selectedDetail->evidenceTags, std::vector<std::string>{kTagTwice});
}

TEST(OutOfMemoryKillHistory, KillsOlderThanThirtyDaysAreNotCounted) {
    History h;
    h.pass({killOf("oom-42-1", "editor", 1.78e9)});
    h.pass({}); // an hour later the view no longer holds it
    h.clock.nowMs += 29 * kDayMs;
    h.pass({killOf("oom-43-1", "editor", 1.78e9 + 29 * 86400.0)});
    EXPECT_EQ(h.snapshot("editor").offenders.at(0).evidenceTags,
              std::vector<std::string>{kTagTwice});

    h.clock.nowMs += 2 * kDayMs; // the first kill is now 31 days old
    h.pass({});
    AdvancedHistorySnapshot snapshot = h.snapshot("editor");
    ASSERT_EQ(snapshot.offenders.size(), 1u);
    EXPECT_EQ(snapshot.offenders[0].evidenceTags, std::vector<std::string>{kTagOnce});

    h.clock.nowMs += 30 * kDayMs;
    h.pass({});
    snapshot = h.snapshot("editor");
    EXPECT_TRUE(snapshot.offenders.empty()) << "no incident and no kill in 30 days";
}

} // namespace
} // namespace velmora
