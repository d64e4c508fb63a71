// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/NotificationPolicy.h"

#include "state/ManualScheduler.h"
#include "state/NotificationText.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;

FindingSnapshot row(const std::string& key, FindingVerdict verdict) {
    FindingSnapshot finding;
    finding.key = key;
    finding.title = key;
    finding.verdict = verdict;
    finding.rate = "+18 MB/min";
    return finding;
}

PopoverSnapshot with(std::vector<FindingSnapshot> rows) {
    PopoverSnapshot snapshot;
    snapshot.rows = std::move(rows);
    return snapshot;
}

PopoverSnapshot exhausting(uint64_t seconds) {
    PopoverSnapshot snapshot;
    MemoryForecastSnapshot forecast;
    forecast.exhaustionSeconds = seconds;
    forecast.exhaustionText = "Memory runs out in about 12 min at this rate";
    forecast.firstVictimKey = "firefox";
    forecast.firstVictimText = "First to be ended if memory runs out: Firefox, 3.2 GB";
    snapshot.memoryForecast = forecast;
    return snapshot;
}

OutOfMemoryKillSnapshot kill(const std::string& id, const std::string& title) {
    return {id, title + "-key", title, "3.2 GB",
            "Ended by the out-of-memory killer at 14:02 with 3.2 GB."};
}

std::vector<std::string> summaries(const std::vector<Notification>& notifications) {
    std::vector<std::string> texts;
    for (const auto& notification : notifications) {
        texts.push_back(notification.summary);
    }
    return texts;
}

struct Policy {
    std::shared_ptr<ManualScheduler> scheduler = std::make_shared<ManualScheduler>();
    std::shared_ptr<MemoryKeyValueStore> store = std::make_shared<MemoryKeyValueStore>();
    std::shared_ptr<AppSettings> settings = std::make_shared<AppSettings>(store);
    NotificationPolicy policy{scheduler, settings};

    void setLevel(NotificationLevel level) {
        settings->set(settingsKeys::notificationLevel, level);
    }

    // One poll `after` the previous one.
    std::vector<Notification> poll(const PopoverSnapshot& snapshot,
                                   Scheduler::Duration after = 1s) {
        scheduler->advance(after);
        return policy.review(snapshot);
    }
};

// A family that reaches the level notifies once, however many polls repeat it and however
// long it lasts; its escalation to a runaway notifies once more, critical, replacing the
// first on screen; flapping between the two changes nothing after that.
TEST(NotificationPolicy, NotifiesOncePerIncidentAndOnceMoreOnEscalation) {
    Policy p;
    const auto first = p.poll(with({row("firefox", FindingVerdict::probable)}));
    ASSERT_EQ(summaries(first), std::vector<std::string>{"Probable leak in firefox"});
    EXPECT_EQ(first[0].urgency, NotificationUrgency::normal);
    EXPECT_EQ(first[0].replacesId, 0u);
    EXPECT_EQ(first[0].familyKey, "firefox");
    p.policy.delivered(first[0].incident, 41);
    for (int poll = 0; poll < 200; ++poll) {
        ASSERT_TRUE(p.poll(with({row("firefox", FindingVerdict::probable)}), 30s).empty()) << poll;
    }

    const auto escalation = p.poll(with({row("firefox", FindingVerdict::criticalRunaway)}));
    ASSERT_EQ(summaries(escalation), std::vector<std::string>{"Runaway memory growth in firefox"});
    EXPECT_EQ(escalation[0].urgency, NotificationUrgency::critical);
    EXPECT_EQ(escalation[0].replacesId, 41u);
    for (const auto verdict : {FindingVerdict::criticalRunaway, FindingVerdict::probable,
                               FindingVerdict::criticalRunaway, FindingVerdict::probable}) {
        EXPECT_TRUE(p.poll(with({row("firefox", verdict)})).empty());
    }

    // A notification the server has closed is not replaced: the next one stands on its own.
    Policy q;
    const auto shown = q.poll(with({row("slack", FindingVerdict::probable)}));
    q.policy.delivered(shown.at(0).incident, 9);
    q.policy.closed(9);
    EXPECT_EQ(q.poll(with({row("slack", FindingVerdict::criticalRunaway)})).at(0).replacesId, 0u);
}

// A family that drops below the level and comes back within 30 minutes is the same incident;
// one that stays away for 30 minutes starts a new one. The quiet period runs from the last
// time it dropped.
TEST(NotificationPolicy, AClearedIncidentStaysQuietForThirtyMinutes) {
    Policy p;
    const auto probable = with({row("code", FindingVerdict::probable)});
    const auto calm = with({row("code", FindingVerdict::watch)});
    ASSERT_EQ(p.poll(probable).size(), 1u);
    EXPECT_TRUE(p.poll(calm).empty());
    EXPECT_TRUE(p.poll(probable, 29min).empty());
    EXPECT_TRUE(p.poll(PopoverSnapshot{}, 10min).empty()); // the row is gone: cleared again
    EXPECT_TRUE(p.poll(probable, 29min).empty());          // 29 min after that
    EXPECT_TRUE(p.poll(calm, 1s).empty());
    EXPECT_EQ(summaries(p.poll(probable, 30min)),
              std::vector<std::string>{"Probable leak in code"});
}

// At most three notifications in any ten minutes; the rest are told once in a summary, then
// nothing until the window has room again, and what the summary told is not repeated.
TEST(NotificationPolicy, CapsAtThreeInTenMinutesWithOneSummary) {
    Policy p;
    std::vector<FindingSnapshot> rows;
    for (const char* key : {"a", "b", "c", "d", "e"}) {
        rows.push_back(row(key, FindingVerdict::probable));
    }
    const auto burst = p.poll(with(rows));
    ASSERT_EQ(summaries(burst),
              (std::vector<std::string>{"Probable leak in a", "Probable leak in b",
                                        "Probable leak in c", "2 more suspects"}));
    EXPECT_EQ(burst[3].body, "Probable leak in d\nProbable leak in e");

    rows.push_back(row("f", FindingVerdict::probable));
    EXPECT_TRUE(p.poll(with(rows), 1min).empty()); // held back, no second summary
    EXPECT_TRUE(p.poll(with(rows), 8min).empty()); // 9 min after the burst

    rows.push_back(row("h", FindingVerdict::probable));
    const auto later = p.poll(with(rows), 1min); // the burst has left the window
    EXPECT_EQ(summaries(later),
              (std::vector<std::string>{"Probable leak in f", "Probable leak in h"}));
    for (int poll = 0; poll < 30; ++poll) {
        EXPECT_TRUE(p.poll(with(rows), 1min).empty()) << poll;
    }

    // Critical ones go first, all of them, and take no room from the others.
    Policy q;
    PopoverSnapshot mixed = exhausting(300);
    mixed.rows = {row("a", FindingVerdict::probable), row("b", FindingVerdict::probable),
                  row("c", FindingVerdict::probable), row("d", FindingVerdict::probable)};
    mixed.outOfMemoryKills = {kill("k1", "Firefox"), kill("k2", "Slack"), kill("k3", "Code")};
    const auto cut = q.poll(mixed);
    EXPECT_EQ(summaries(cut),
              (std::vector<std::string>{
                  "Memory runs out in about 5 min", "Firefox was ended by the out-of-memory killer",
                  "Slack was ended by the out-of-memory killer",
                  "Code was ended by the out-of-memory killer", "Probable leak in a",
                  "Probable leak in b", "Probable leak in c", "1 more suspect"}));
    EXPECT_EQ(cut.back().body, "Probable leak in d");
    EXPECT_EQ(cut.back().urgency, NotificationUrgency::normal);
}

// Critical alarms are never held back by the cap, not even after the window's summary: an
// escalation to a runaway, memory about to run out and a kill all go out. What the cap holds
// back after the summary is told, in one notification, once the window has room again, unless
// it has cleared by then.
TEST(NotificationPolicy, TheCapNeverHoldsBackACriticalAlarmAndTellsWhatItHeldLater) {
    Policy p;
    std::vector<FindingSnapshot> rows;
    for (const char* key : {"a", "b", "c", "d", "e"}) {
        rows.push_back(row(key, FindingVerdict::probable));
    }
    ASSERT_EQ(summaries(p.poll(with(rows))).back(), "2 more suspects");

    for (const char* key : {"f", "g", "h"}) {
        rows.push_back(row(key, FindingVerdict::probable)); // held back, after the summary
    }
    EXPECT_TRUE(p.poll(with(rows), 1min).empty());
    rows[0] = row("a", FindingVerdict::criticalRunaway);
    PopoverSnapshot critical = exhausting(4 * 60);
    critical.rows = rows;
    critical.outOfMemoryKills = {kill("k1", "Slack")};
    const auto alarms = p.poll(critical, 1min);
    EXPECT_EQ(summaries(alarms), (std::vector<std::string>{
                                     "Runaway memory growth in a", "Memory runs out in about 4 min",
                                     "Slack was ended by the out-of-memory killer"}));
    for (const auto& alarm : alarms) {
        EXPECT_EQ(alarm.urgency, NotificationUrgency::critical);
    }

    // "g" calms down before the window has room; "f" and "h" are told together once it has.
    critical.rows.erase(critical.rows.begin() + 6); // g
    EXPECT_TRUE(p.poll(critical, 7min).empty());    // 9 min after the burst
    const auto told = p.poll(critical, 1min);
    ASSERT_EQ(summaries(told), std::vector<std::string>{"2 more suspects"});
    EXPECT_EQ(told[0].body, "Probable leak in f\nProbable leak in h");
    EXPECT_EQ(told[0].urgency, NotificationUrgency::normal);
    for (int poll = 0; poll < 30; ++poll) {
        EXPECT_TRUE(p.poll(critical, 1min).empty()) << poll;
    }

    // A single family held back is told as itself, with its own buttons.
    Policy q;
    std::vector<FindingSnapshot> four;
    for (const char* key : {"a", "b", "c", "d"}) {
        four.push_back(row(key, FindingVerdict::probable));
    }
    ASSERT_EQ(summaries(q.poll(with(four))).back(), "1 more suspect");
    four.push_back(row("e", FindingVerdict::probable));
    EXPECT_TRUE(q.poll(with(four), 1min).empty());
    const auto alone = q.poll(with(four), 9min);
    ASSERT_EQ(summaries(alone), std::vector<std::string>{"Probable leak in e"});
    EXPECT_EQ(alone[0].familyKey, "e");
}

// At "off" nothing is sent, but incidents are still followed as they clear: a family that was
// told before notifications were turned off, and calmed down while they were, is told again
// when it leaks after they are turned on. Kills that happened meanwhile are not told late.
TEST(NotificationPolicy, AtOffIncidentsStillClearSoTheyAreToldAfterTurningBackOn) {
    Policy p;
    const auto leaking = with({row("firefox", FindingVerdict::probable)});
    ASSERT_EQ(p.poll(leaking).size(), 1u);
    p.setLevel(NotificationLevel::off);
    EXPECT_TRUE(p.poll(leaking, 5min).empty());
    PopoverSnapshot calm;
    calm.outOfMemoryKills = {kill("k1", "Slack")};
    EXPECT_TRUE(p.poll(calm, 1min).empty());
    EXPECT_TRUE(p.poll(calm, 31min).empty());
    p.setLevel(NotificationLevel::probableAndUp);
    EXPECT_TRUE(p.poll(calm, 1min).empty()); // the kill is past
    PopoverSnapshot again = leaking;
    again.outOfMemoryKills = calm.outOfMemoryKills;
    EXPECT_EQ(summaries(p.poll(again, 1min)), std::vector<std::string>{"Probable leak in firefox"});

    // Still leaking when they are turned on again: the same incident, not told twice.
    Policy q;
    ASSERT_EQ(q.poll(leaking).size(), 1u);
    q.setLevel(NotificationLevel::off);
    EXPECT_TRUE(q.poll(leaking, 40min).empty());
    q.setLevel(NotificationLevel::probableAndUp);
    EXPECT_TRUE(q.poll(leaking, 1min).empty());
}

// The level chooses the verdicts that notify; "off" silences everything, also memory running
// out and kills.
TEST(NotificationPolicy, TheLevelFiltersVerdictsAndOffSilencesEverything) {
    const std::vector<FindingSnapshot> rows{
        row("w", FindingVerdict::watch), row("s", FindingVerdict::suspect),
        row("p", FindingVerdict::probable), row("c", FindingVerdict::criticalRunaway)};
    const std::pair<NotificationLevel, std::vector<std::string>> expectations[] = {
        {NotificationLevel::criticalOnly, {"Runaway memory growth in c"}},
        {NotificationLevel::probableAndUp, {"Runaway memory growth in c", "Probable leak in p"}},
        {NotificationLevel::suspectAndUp,
         {"Runaway memory growth in c", "Suspected leak in s", "Probable leak in p"}},
    };
    for (const auto& [level, expected] : expectations) {
        Policy p;
        p.setLevel(level);
        EXPECT_EQ(summaries(p.poll(with(rows))), expected) << storedName(level);
    }

    Policy off;
    off.setLevel(NotificationLevel::off);
    PopoverSnapshot everything = exhausting(60);
    everything.rows = rows;
    everything.outOfMemoryKills = {kill("k1", "Firefox")};
    EXPECT_TRUE(off.poll(everything).empty());
}

// Memory running out within 15 minutes notifies once, critical, naming who goes first; a
// forecast further out does not; each new out-of-memory kill notifies once.
TEST(NotificationPolicy, MemoryRunningOutAndKillsNotifyOnce) {
    Policy p;
    EXPECT_TRUE(p.poll(exhausting(20 * 60)).empty());
    const auto soon = p.poll(exhausting(12 * 60 + 10));
    ASSERT_EQ(summaries(soon), std::vector<std::string>{"Memory runs out in about 12 min"});
    EXPECT_EQ(soon[0].urgency, NotificationUrgency::critical);
    EXPECT_EQ(soon[0].body, "First to be ended if memory runs out: Firefox, 3.2 GB");
    EXPECT_EQ(soon[0].familyKey, "firefox");
    EXPECT_TRUE(p.poll(exhausting(6 * 60)).empty());
    EXPECT_TRUE(p.poll(exhausting(40 * 60)).empty());        // cleared
    EXPECT_TRUE(p.poll(exhausting(10 * 60), 10min).empty()); // back within the quiet period
    EXPECT_TRUE(p.poll(exhausting(30)).empty());             // still the same incident
    EXPECT_TRUE(p.poll(PopoverSnapshot{}).empty());
    EXPECT_EQ(summaries(p.poll(exhausting(30), 31min)),
              std::vector<std::string>{"Memory runs out in under a minute"});

    Policy k;
    PopoverSnapshot kills;
    kills.outOfMemoryKills = {kill("1", "Firefox"), kill("2", "Slack")};
    const auto first = k.poll(kills);
    ASSERT_EQ(summaries(first),
              (std::vector<std::string>{"Firefox was ended by the out-of-memory killer",
                                        "Slack was ended by the out-of-memory killer"}));
    EXPECT_EQ(first[0].body, "Ended by the out-of-memory killer at 14:02 with 3.2 GB.");
    EXPECT_EQ(first[0].familyKey, "Firefox-key");
    for (int poll = 0; poll < 20; ++poll) {
        EXPECT_TRUE(k.poll(kills, 11min).empty());
    }
    kills.outOfMemoryKills.push_back(kill("3", "Firefox"));
    EXPECT_EQ(summaries(k.poll(kills)),
              std::vector<std::string>{"Firefox was ended by the out-of-memory killer"});
}

// A restarted app carries on where it stopped: what was told is not told again, an escalation
// still replaces the notification on screen, and a family that cleared shortly before is in
// its quiet period. After half an hour unwatched, or with another notification server, it is
// as if new.
TEST(NotificationPolicy, ARestartedPolicyCarriesOnWhereItStopped) {
    PopoverSnapshot ongoing = exhausting(10 * 60);
    ongoing.rows = {row("firefox", FindingVerdict::probable),
                    row("slack", FindingVerdict::probable)};
    ongoing.outOfMemoryKills = {kill("k1", "Code")};
    Policy before;
    before.policy.serverChanged(":1.7");
    ASSERT_EQ(before.poll(ongoing).size(), 4u);
    before.policy.delivered("family:firefox", 41);
    ongoing.rows.pop_back(); // slack calms down
    EXPECT_TRUE(before.poll(ongoing, 5min).empty());
    const std::string saved = encodeNotificationMemory(before.policy.memory(), 1'000'000);

    const auto restarted = [&](int64_t minutesLater, const std::string& owner) {
        auto after = std::make_unique<Policy>();
        after->scheduler->advance(7h); // another process: its clock reads something else
        const auto memory = decodeNotificationMemory(saved, 1'000'000 + minutesLater * 60'000);
        EXPECT_TRUE(memory.has_value());
        after->policy.restore(*memory);
        after->policy.serverChanged(owner);
        return after;
    };
    auto after = restarted(2, ":1.7");
    EXPECT_TRUE(after->poll(ongoing).empty());
    PopoverSnapshot worse = ongoing;
    worse.rows = {row("firefox", FindingVerdict::criticalRunaway),
                  row("slack", FindingVerdict::probable)};
    const auto escalation = after->poll(worse);
    ASSERT_EQ(summaries(escalation), std::vector<std::string>{"Runaway memory growth in firefox"});
    EXPECT_EQ(escalation[0].replacesId, 41u);

    // The notification server was replaced meanwhile: its ids mean nothing any more.
    after = restarted(2, ":1.9");
    EXPECT_EQ(after->poll(worse).at(0).replacesId, 0u);

    // Half an hour without anyone watching: the incidents are over, the kill is still known.
    after = restarted(31, ":1.7");
    EXPECT_EQ(
        summaries(after->poll(ongoing)),
        (std::vector<std::string>{"Memory runs out in about 10 min", "Probable leak in firefox"}));
}

// The kept memory is small and bounded, and anything that is not such a memory is none: the
// policy then starts fresh.
TEST(NotificationMemory, BadTextIsNoMemoryAndTheBoundsHold) {
    for (const std::string& bad :
         std::vector<std::string>{"", "not json", "[]", "{}", R"({"version":2,"savedAtMs":1})",
                                  R"({"version":1})", R"({"version":"1","savedAtMs":1})",
                                  std::string(100000, '['), "{\"version\":1,\xff}"}) {
        EXPECT_EQ(decodeNotificationMemory(bad, 0), std::nullopt) << bad.substr(0, 40);
    }
    const auto odd = decodeNotificationMemory(
        R"({"version":1,"savedAtMs":5000,"serverOwner":7,"kills":["k",3,""],"incidents":[)"
        R"({"name":"family:a","active":true,"serverId":-4},{"name":"memory","clearedAgoMs":)"
        R"(1000,"serverId":4294967296},{"active":true},"x",{"name":"family:b","active":"yes"}]})",
        2000); // the clock went back since the save
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->serverOwner, "");
    EXPECT_EQ(odd->kills, std::vector<std::string>{"k"});
    EXPECT_EQ(odd->unobservedFor, 0s);
    ASSERT_EQ(odd->incidents.size(), 3u);
    EXPECT_EQ(odd->incidents[0], (NotificationMemory::Incident{"family:a", true, false, 0s, 0}));
    EXPECT_EQ(odd->incidents[1], (NotificationMemory::Incident{"memory", false, false, 1s, 0}));
    EXPECT_FALSE(odd->incidents[2].active);

    NotificationMemory big;
    for (int i = 0; i < 400; ++i) {
        big.incidents.push_back({"family:" + std::to_string(i), true, false, 0s, 1});
        big.kills.push_back("kill-" + std::to_string(i));
    }
    big.incidents.push_back({"family:" + std::string(600, 'x'), true, false, 0s, 1});
    const std::string text = encodeNotificationMemory(big, 0);
    EXPECT_LT(text.size(), 64u * 1024);
    const auto kept = decodeNotificationMemory(text, 90'000);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->incidents.size(), NotificationMemory::maxIncidents - 1); // the newest
    EXPECT_EQ(kept->incidents.back().name, "family:399");
    EXPECT_EQ(kept->kills.size(), NotificationMemory::maxKills);
    EXPECT_EQ(kept->kills.front(), "kill-144");
    EXPECT_EQ(kept->unobservedFor, 90s);
}

// The texts come from the snapshot's own fields; a missing field leaves its part out and
// "N/A" never shows.
TEST(NotificationText, ComposesFromTheFieldsThatArePresent) {
    FindingSnapshot full = row("firefox", FindingVerdict::probable);
    full.title = "Firefox";
    full.growthSpanLabel = "12 min";
    full.footprintLabel = "3.2 GB";
    full.exhaustionEstimate = "Memory runs out in about 40 min at this rate";
    EXPECT_EQ(findingSummary(full), "Probable leak in Firefox");
    EXPECT_EQ(findingBody(full), "+18 MB/min for 12 min \u00B7 3.2 GB now \u00B7 memory runs out "
                                 "in about 40 min at this rate");

    FindingSnapshot sparse = full;
    sparse.rate = "N/A";
    sparse.footprintLabel.reset();
    EXPECT_EQ(findingBody(sparse), "Growing for 12 min \u00B7 memory runs out in about 40 min at "
                                   "this rate");
    sparse.growthSpanLabel.reset();
    EXPECT_EQ(findingBody(sparse), "Memory runs out in about 40 min at this rate");
    sparse.exhaustionEstimate.reset();
    EXPECT_EQ(findingBody(sparse), "");
    FindingSnapshot rateOnly = row("x", FindingVerdict::suspect);
    EXPECT_EQ(findingBody(rateOnly), "+18 MB/min");

    const std::pair<FindingVerdict, const char*> words[] = {
        {FindingVerdict::watch, "Watching Firefox"},
        {FindingVerdict::suspect, "Suspected leak in Firefox"},
        {FindingVerdict::probable, "Probable leak in Firefox"},
        {FindingVerdict::criticalRunaway, "Runaway memory growth in Firefox"}};
    for (const auto& [verdict, text] : words) {
        full.verdict = verdict;
        EXPECT_EQ(findingSummary(full), text);
    }

    MemoryForecastSnapshot forecast;
    forecast.exhaustionSeconds = 89;
    EXPECT_EQ(exhaustionNotification(forecast).summary, "Memory runs out in about 1 min");
    EXPECT_EQ(exhaustionNotification(forecast).body, "");
    EXPECT_TRUE(exhaustionNotification(forecast).actions.empty()); // no family to show
    forecast.exhaustionText = "Memory runs out in about 1 min at this rate";
    EXPECT_EQ(exhaustionBody(forecast), "Memory runs out in about 1 min at this rate");
    forecast.firstVictimText = "First to be ended if memory runs out: Firefox, 3.2 GB";
    forecast.killerText = "systemd-oomd acts at 90% memory pressure";
    EXPECT_EQ(exhaustionBody(forecast), "First to be ended if memory runs out: Firefox, 3.2 GB\n"
                                        "systemd-oomd acts at 90% memory pressure");
}

} // namespace
} // namespace velmora
