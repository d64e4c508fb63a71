// SPDX-License-Identifier: GPL-3.0-or-later
// decode(encode(x)) == x for every scenario-shaped snapshot, through JSON text as on the wire.
#include "SnapshotBuilders.h"
#include "model/Codec.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

template <class T> void expectRoundTrip(const T& value, const char* name) {
    const std::string text = dumpJsonText(encode(value));
    auto decoded = decodeText<T>(text);
    ASSERT_TRUE(decoded.ok()) << name << ": " << decoded.error().text();
    EXPECT_EQ(decoded.value(), value) << name;
    // Encoding is stable: the decoded value encodes to the same text.
    EXPECT_EQ(dumpJsonText(encode(decoded.value())), text) << name;
}

} // namespace

TEST(RoundTrip, EveryPopoverScenarioSurvivesEncodeAndDecode) {
    for (const auto& scenario : scenarios::allPopoverScenarios()) {
        expectRoundTrip(scenario.snapshot, scenario.name);
    }
}

TEST(RoundTrip, AdvancedHistoryWithSelectedDetail) {
    expectRoundTrip(scenarios::historyWithSelectedDetail(), "history");
    auto withoutDetail = scenarios::historyWithSelectedDetail();
    withoutDetail.selectedDetail.reset();
    expectRoundTrip(withoutDetail, "history without detail");
}

TEST(RoundTrip, OptionalFieldsAreWrittenOnlyWhenPresent) {
    const Json placeholder = encode(PopoverSnapshot{});
    for (const char* key :
         {"relief", "actionFeedback", "selectedDetail", "destructiveConfirmation"}) {
        EXPECT_FALSE(placeholder.contains(key)) << key;
    }
    EXPECT_FALSE(placeholder.at("incident").contains("key"));
    EXPECT_FALSE(placeholder.at("incident").contains("nextAction"));
    EXPECT_EQ(placeholder.at("settings").at("storageMode"), "balanced");

    const Json row = encode(scenarios::suspectRow("k", 3));
    EXPECT_EQ(row.at("sparklineSamples").size(), 3u);
    EXPECT_EQ(row.at("verdict"), "probable");
    EXPECT_EQ(row.at("exhaustionEstimate"), "Memory exhausted in ~35 min");
}

TEST(RoundTrip, MemoryOutlookIsOptionalAndSurvivesTheWire) {
    // A monitor that knows nothing of the outlook still decodes.
    auto older = decodeText<PopoverSnapshot>(R"({"rows":[{"key":"k","title":"T"}]})");
    ASSERT_TRUE(older.ok()) << older.error().text();
    EXPECT_FALSE(older.value().memoryForecast);
    EXPECT_TRUE(older.value().outOfMemoryKills.empty());
    EXPECT_FALSE(older.value().rows.front().footprintLabel);

    PopoverSnapshot snapshot;
    snapshot.memoryForecast = MemoryForecastSnapshot{
        .exhaustionSeconds = 2400,
        .exhaustionText = "Memory runs out in about 40 min at this rate",
        .firstVictimKey = "org.mozilla.firefox",
        .firstVictimText = "First to be ended if memory runs out: Firefox, 3.2 GB",
        .killerText = std::nullopt,
    };
    snapshot.outOfMemoryKills = {{"org.mozilla.firefox@1765100000", "org.mozilla.firefox",
                                  "Firefox", "3.2 GB",
                                  "Ended by the out-of-memory killer at 14:02 with 3.2 GB."}};
    auto row = scenarios::suspectRow("k", 3);
    row.footprintLabel = "3.2 GB";
    row.growthSpanLabel = "12 min";
    snapshot.rows = {row};
    expectRoundTrip(snapshot, "outlook");
    EXPECT_FALSE(encode(snapshot).at("memoryForecast").contains("killerText"));

    auto broken = decodeText<PopoverSnapshot>(R"({"outOfMemoryKills":[{"id":"a","key":"k"}]})");
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error().text(), "outOfMemoryKills[0].title: missing required key");
}

TEST(RoundTrip, WhereItGrowsIsOptionalAndSurvivesTheWire) {
    auto older = decodeText<DetailSnapshot>(R"({"title":"T"})");
    ASSERT_TRUE(older.ok());
    EXPECT_FALSE(older.value().whereItGrows);

    auto running = decodeText<DetailSnapshot>(
        R"({"whereItGrows":{"stage":"running","status":"Tracking leak (PID 42) · 42 s left","progress":0.3}})");
    ASSERT_TRUE(running.ok()) << running.error().text();
    ASSERT_TRUE(running.value().whereItGrows);
    EXPECT_EQ(running.value().whereItGrows->progress, 0.3);
    EXPECT_TRUE(running.value().whereItGrows->sites.empty());
    EXPECT_TRUE(running.value().whereItGrows->actions.empty());

    DetailSnapshot detail;
    detail.key = "k";
    detail.whereItGrows = WhereItGrowsBlock{
        .stage = WhereStage::done,
        .status = "Tracked leak (PID 42) for 60 s; 19.2 MB allocated meanwhile was not freed.",
        .progress = std::nullopt,
        .sites = {{"cache.cpp:5 in leakyCacheInsert() kept 19.1 MB over 73 calls",
                   {"leakyCacheInsert(unsigned long) · cache.cpp:5 · leak",
                    "main · main.cpp:9 · leak"}}},
        .notes = {"It ended during tracking."},
        .commands = {{"heaptrack -p 42", "Run it yourself.",
                      ActionDescriptor{"copy_where_command_1", "Copy", ActionStyle::secondary,
                                       "k"}}},
        .actions = {ActionDescriptor{"copy_where_report", "Copy Report", ActionStyle::secondary,
                                     "k"}},
    };
    expectRoundTrip(detail, "where");
    EXPECT_FALSE(encode(detail).at("whereItGrows").contains("progress"));

    auto badStage = decodeText<DetailSnapshot>(R"({"whereItGrows":{"stage":"later","status":""}})");
    ASSERT_FALSE(badStage.ok());
    EXPECT_EQ(badStage.error().path, "whereItGrows.stage");
    auto noStack = decodeText<DetailSnapshot>(
        R"({"whereItGrows":{"stage":"done","status":"","sites":[{"headline":"h"}]}})");
    ASSERT_FALSE(noStack.ok());
    EXPECT_EQ(noStack.error().text(), "whereItGrows.sites[0].stack: missing required key");
}
