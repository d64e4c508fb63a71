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
    std::shared_ptr<NotificationPreferences> preferences =
        std::make_shared<NotificationPreferences>(store);
    NotificationPolicy policy{scheduler, preferences};

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
    rows.push_back(row("g", FindingVerdict::criticalRunaway));
    EXPECT_TRUE(p.poll(with(rows), 8min).empty()); // 9 min after the burst

    rows.push_back(row("h", FindingVerdict::probable));
    const auto later = p.poll(with(rows), 1min); // the burst has left the window
    EXPECT_EQ(summaries(later), std::vector<std::string>{"Probable leak in h"});
    for (int poll = 0; poll < 30; ++poll) {
        EXPECT_TRUE(p.poll(with(rows), 1min).empty()) << poll;
    }

    // Critical ones go first when a burst has to be cut, and a mixed summary says so.
    Policy q;
    PopoverSnapshot mixed = exhausting(300);
    mixed.rows = {row("a", FindingVerdict::probable)};
    mixed.outOfMemoryKills = {kill("k1", "Firefox"), kill("k2", "Slack"), kill("k3", "Code")};
    const auto cut = q.poll(mixed);
    EXPECT_EQ(summaries(cut),
              (std::vector<std::string>{
                  "Memory runs out in about 5 min", "Firefox was ended by the out-of-memory killer",
                  "Slack was ended by the out-of-memory killer", "2 more memory alerts"}));
    EXPECT_EQ(cut.back().body, "Code was ended by the out-of-memory killer\nProbable leak in a");
    EXPECT_EQ(cut.back().urgency, NotificationUrgency::critical);
}

// The level chooses the verdicts that notify; "off" silences everything, also memory running
// out and kills, and the level lives in the preferences.
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
        p.preferences->setLevel(level);
        EXPECT_EQ(summaries(p.poll(with(rows))), expected) << storedName(level);
    }

    Policy off;
    off.preferences->setLevel(NotificationLevel::off);
    PopoverSnapshot everything = exhausting(60);
    everything.rows = rows;
    everything.outOfMemoryKills = {kill("k1", "Firefox")};
    EXPECT_TRUE(off.poll(everything).empty());

    // Stored by name; a missing or unreadable value is the default.
    Policy stored;
    EXPECT_EQ(stored.preferences->level(), NotificationLevel::probableAndUp);
    stored.preferences->setLevel(NotificationLevel::criticalOnly);
    EXPECT_EQ(stored.store->value(std::string(NotificationPreferences::key)),
              std::optional<StoredValue>(std::string("critical")));
    for (const StoredValue& junk : {StoredValue(std::string("loud")), StoredValue(true)}) {
        stored.store->setValue(std::string(NotificationPreferences::key), junk);
        EXPECT_EQ(stored.preferences->level(), NotificationLevel::probableAndUp);
    }
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
