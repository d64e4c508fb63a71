// SPDX-License-Identifier: GPL-3.0-or-later
// The memory series a detail carries for its chart: what an older monitor (no series) and a
// newer one (every field) send, and the paths of what is wrong in it.
#include "model/Codec.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

MemorySeries leakingSeries() {
    MemorySeries series;
    series.stepSeconds = 60;
    series.footprintKiB = {102400, 122880, 143360, 163840};
    series.anonKiB = 150000;
    series.swapKiB = 4096;
    series.sharedKiB = 9744;
    series.trend = MemoryTrendLine{180, 102400, 341.3};
    series.marks = {{120, FindingVerdict::watch}, {30, FindingVerdict::suspect}};
    series.runsOut = RunsOutLevel{1500, 8388608};
    series.nowWallSeconds = 1767276300;
    series.kinds = MemoryKindPoints{{90000, 110000, 130000, 150000}, {0, 0, 2048, 4096}, {}};
    series.growingMember = MemberMemorySeries{
        4242, "worker", {61440, 81920, 102400, 122880}, MemoryTrendLine{180, 61440, 341.3}};
    return series;
}

} // namespace

TEST(MemorySeriesWire, TravelsInsideTheDetailAndOnlyThere) {
    DetailSnapshot detail;
    detail.key = "proc:leaker";
    detail.memorySeries = leakingSeries();
    const std::string text = dumpJsonText(encode(detail));
    auto decoded = decodeText<DetailSnapshot>(text);
    ASSERT_TRUE(decoded.ok()) << decoded.error().text();
    EXPECT_EQ(decoded.value(), detail);

    // An older monitor sends no series; a detail without one writes no key.
    auto older = decodeText<DetailSnapshot>(R"({"title":"T"})");
    ASSERT_TRUE(older.ok());
    EXPECT_FALSE(older.value().memorySeries);
    EXPECT_FALSE(encode(DetailSnapshot{}).contains("memorySeries"));
    // A snapshot without a detail carries no series at all: polls stay as they were.
    EXPECT_EQ(dumpJsonText(encode(PopoverSnapshot{})).find("memorySeries"), std::string::npos);
}

TEST(MemorySeriesWire, EveryFieldIsDefaultedOrOptional) {
    auto empty = decodeText<MemorySeries>("{}");
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(empty.value(), MemorySeries{});
    EXPECT_FALSE(empty.value().trend);
    EXPECT_FALSE(empty.value().runsOut);

    // Keys this app does not know (a later monitor's) are ignored.
    auto later = decodeText<MemorySeries>(R"({"footprintKiB":[1,2],"memberKiB":[1,1]})");
    ASSERT_TRUE(later.ok());
    EXPECT_EQ(later.value().footprintKiB, (std::vector<uint64_t>{1, 2}));
}

TEST(MemorySeriesWire, BadValuesFailWithTheirPath) {
    auto negative = decodeText<DetailSnapshot>(R"({"memorySeries":{"footprintKiB":[1,-2]}})");
    ASSERT_FALSE(negative.ok());
    EXPECT_EQ(negative.error().path, "memorySeries.footprintKiB[1]");

    auto verdict = decodeText<DetailSnapshot>(
        R"({"memorySeries":{"marks":[{"agoSeconds":3,"verdict":"leaky"}]}})");
    ASSERT_FALSE(verdict.ok());
    EXPECT_EQ(verdict.error().path, "memorySeries.marks[0].verdict");

    auto trend = decodeText<DetailSnapshot>(R"({"memorySeries":{"trend":{"startKiB":1}}})");
    ASSERT_FALSE(trend.ok());
    EXPECT_EQ(trend.error().text(), "memorySeries.trend.startAgoSeconds: missing required key");

    auto level = decodeText<DetailSnapshot>(R"({"memorySeries":{"runsOut":{"inSeconds":"soon"}}})");
    ASSERT_FALSE(level.ok());
    EXPECT_EQ(level.error().path, "memorySeries.runsOut.inSeconds");

    auto kind = decodeText<DetailSnapshot>(R"({"memorySeries":{"kinds":{"swapKiB":[1,"x"]}}})");
    ASSERT_FALSE(kind.ok());
    EXPECT_EQ(kind.error().path, "memorySeries.kinds.swapKiB[1]");

    auto member = decodeText<DetailSnapshot>(
        R"({"memorySeries":{"growingMember":{"name":"worker","footprintKiB":[1]}}})");
    ASSERT_FALSE(member.ok());
    EXPECT_EQ(member.error().text(), "memorySeries.growingMember.pid: missing required key");
}

TEST(MemorySeriesWire, ThePartsTheMemberAndTheClockAreOptional) {
    // What this monitor adds is left out when it has nothing to say, and an older app ignores it.
    const Json plain = encode(MemorySeries{});
    EXPECT_FALSE(plain.contains("kinds"));
    EXPECT_FALSE(plain.contains("growingMember"));
    EXPECT_FALSE(plain.contains("nowWallSeconds"));
    auto parts = decodeText<MemorySeries>(R"({"kinds":{"anonKiB":[5]},"growingMember":{"pid":7}})");
    ASSERT_TRUE(parts.ok()) << parts.error().text();
    ASSERT_TRUE(parts.value().kinds);
    EXPECT_EQ(parts.value().kinds->anonKiB, std::vector<uint64_t>{5});
    EXPECT_TRUE(parts.value().kinds->swapKiB.empty());
    ASSERT_TRUE(parts.value().growingMember);
    EXPECT_EQ(parts.value().growingMember->pid, 7);
    EXPECT_FALSE(parts.value().growingMember->trend);
}

TEST(MemorySeriesWire, PointsAreTimedBackFromTheNewest) {
    const MemorySeries series = leakingSeries();
    EXPECT_EQ(agoSecondsOf(series, 0), 180);
    EXPECT_EQ(agoSecondsOf(series, 2), 60);
    EXPECT_EQ(agoSecondsOf(series, 3), 0);
    EXPECT_EQ(agoSecondsOf(series, 9), 0);
    EXPECT_EQ(agoSecondsOf(MemorySeries{}, 0), 0);
}
