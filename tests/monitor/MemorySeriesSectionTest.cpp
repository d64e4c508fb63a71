// SPDX-License-Identifier: GPL-3.0-or-later
// The series a detail's chart is drawn from: the points, the trend the rate was judged from,
// the moments the verdict changed and where memory runs out.
#include "monitor/compose/MemorySeriesSection.h"

#include "monitor/actions/SeriesCsv.h"
#include "monitor/compose/DetailBuilder.h"
#include "monitor/live/FamilyKinds.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// A family growing 1 MiB a minute from 100 MiB over `minutes` closed buckets, at `verdict`.
FamilyView growing(int minutes, FindingVerdict verdict = FindingVerdict::suspect) {
    FamilyView family;
    family.key = "proc:leaker";
    family.title = "leaker";
    for (int i = 0; i < minutes; ++i) {
        family.sparklineKiB.push_back(static_cast<uint32_t>(102400 + 1024 * i));
    }
    family.footprintKiB = 102400 + 1024 * static_cast<uint64_t>(minutes);
    family.sharedKiB = 2048;
    MemberView a;
    a.anonKiB = 60000;
    a.swapKiB = 1000;
    MemberView b;
    b.anonKiB = 40000;
    b.swapKiB = 24;
    family.members = {a, b};
    FamilyAssessment& assessment = family.assessment;
    assessment.hasRate = true;
    assessment.rising = true;
    assessment.rateKiBPerSecond = 1024.0 / 60;
    assessment.windowSeconds = 14 * 60;
    assessment.verdict = verdict;
    return family;
}

struct Fixture {
    MemorySeries seriesOf(const FamilyView& family) {
        ComposeContext context{&view, config, interaction, paths};
        return memorySeriesOf(context, family);
    }
    LiveView view;
    ConfigStore config{"/nonexistent/velmora/config.json"};
    InteractionState interaction;
    MonitorPaths paths;
};

TEST(MemorySeriesSection, PointsEndWithTheFootprintNowAndCarryItsMakeUp) {
    Fixture f;
    const MemorySeries series = f.seriesOf(growing(60));
    ASSERT_EQ(series.footprintKiB.size(), 61u);
    EXPECT_EQ(series.footprintKiB.front(), 102400u);
    EXPECT_EQ(series.footprintKiB.back(), 102400u + 60 * 1024);
    EXPECT_EQ(series.stepSeconds, 60);
    EXPECT_EQ(series.anonKiB, 100000u);
    EXPECT_EQ(series.swapKiB, 1024u);
    EXPECT_EQ(series.sharedKiB, 2048u);

    // However many medians the monitor keeps, the wire carries a bounded series.
    FamilyView longLived = growing(2000);
    const MemorySeries bounded = f.seriesOf(longLived);
    EXPECT_EQ(bounded.footprintKiB.size(), MemorySeries::maxPoints);
    EXPECT_EQ(bounded.footprintKiB.back(), longLived.footprintKiB);
}

TEST(FamilyKinds, EachBucketKeepsTheMedianOfEachKindOnTheFootprintsClock) {
    FamilyKinds kinds(3, 60);
    // Three samples in the first minute: one outlier does not move the medians.
    kinds.append(0, 100, 0, 10);
    kinds.append(10, 900, 5, 10);
    kinds.append(20, 110, 0, 12);
    EXPECT_TRUE(kinds.newest(10).empty()); // the minute is still open
    kinds.append(60, 200, 0, 20);
    KindBuckets closed = kinds.newest(10);
    EXPECT_EQ(closed.anonKiB, std::vector<uint32_t>{110});
    EXPECT_EQ(closed.swapKiB, std::vector<uint32_t>{0});
    EXPECT_EQ(closed.sharedKiB, std::vector<uint32_t>{10});
    // Two minutes without a sample repeat the last figures, as the footprint's medians do; the
    // list holds its capacity at most.
    kinds.append(240, 300, 1, 30);
    closed = kinds.newest(10);
    EXPECT_EQ(closed.anonKiB, (std::vector<uint32_t>{200, 200, 200}));
    EXPECT_EQ(closed.swapKiB, (std::vector<uint32_t>{0, 0, 0}));
    // Figures beyond 32 bits are held at the largest.
    kinds.append(300, uint64_t{1} << 40, 0, 0);
    kinds.append(360, 0, 0, 0);
    EXPECT_EQ(kinds.newest(1).anonKiB, std::vector<uint32_t>{UINT32_MAX});
}

TEST(MemorySeriesSection, ThePartsAndTheGrowingMemberLineUpWithThePoints) {
    Fixture f;
    FamilyView family = growing(60);
    // The kept parts reach further back than the points sent: only the newest travel.
    for (int i = 0; i < 70; ++i) {
        family.kindsKiB.anonKiB.push_back(static_cast<uint32_t>(100000 + i));
        family.kindsKiB.swapKiB.push_back(0);
        family.kindsKiB.sharedKiB.push_back(2048);
    }
    family.members[1].growing = true;
    family.members[1].identity.pid = 4242;
    family.members[1].name = "worker";
    family.members[1].footprintKiB = 50000;
    for (int i = 0; i < 20; ++i) {
        family.growerSparklineKiB.push_back(static_cast<uint32_t>(30000 + 1024 * i));
    }
    ComposeContext context{&f.view, f.config, f.interaction, f.paths};
    context.wallNow = 1767276300;
    const MemorySeries series = memorySeriesOf(context, family);
    EXPECT_EQ(series.nowWallSeconds, 1767276300);
    ASSERT_TRUE(series.kinds);
    ASSERT_EQ(series.kinds->anonKiB.size(), series.footprintKiB.size());
    EXPECT_EQ(series.kinds->anonKiB.front(), 100010u); // the newest 60 of 70
    EXPECT_EQ(series.kinds->anonKiB.back(), series.anonKiB);
    EXPECT_EQ(series.kinds->swapKiB.front(), 0u); // swapped only now
    EXPECT_EQ(series.kinds->swapKiB.back(), 1024u);
    EXPECT_EQ(series.kinds->sharedKiB.back(), 2048u);

    ASSERT_TRUE(series.growingMember);
    const MemberMemorySeries& member = *series.growingMember;
    EXPECT_EQ(member.pid, 4242);
    EXPECT_EQ(member.name, "worker");
    ASSERT_EQ(member.footprintKiB.size(), 21u); // its own 20 minutes and now
    EXPECT_EQ(member.footprintKiB.back(), 50000u);
    ASSERT_TRUE(member.trend); // drawn through its own medians, at the rate it was judged by
    EXPECT_DOUBLE_EQ(member.trend->kiBPerSecond, family.assessment.rateKiBPerSecond);
    EXPECT_NEAR(member.trend->startKiB, 30000 + 1024 * 5, 1e-6);

    // A family that never swapped sends no swap list.
    family.members[0].swapKiB = 0;
    family.members[1].swapKiB = 0;
    EXPECT_TRUE(memorySeriesOf(context, family).kinds->swapKiB.empty());

    // No member speaks for the family: none is sent; nor are parts the sampler did not keep.
    family.members[1].growing = false;
    family.kindsKiB = {};
    const MemorySeries plain = memorySeriesOf(context, family);
    EXPECT_FALSE(plain.growingMember);
    EXPECT_FALSE(plain.kinds);
}

TEST(MemorySeriesSection, TheTrendRunsThroughTheWindowItWasJudgedFrom) {
    Fixture f;
    const MemorySeries series = f.seriesOf(growing(60));
    ASSERT_TRUE(series.trend);
    // The window of 14 minutes ends at the newest median, a minute before now.
    EXPECT_DOUBLE_EQ(series.trend->startAgoSeconds, 15 * 60);
    EXPECT_NEAR(series.trend->startKiB, 102400 + 1024 * 45, 1e-6);
    EXPECT_DOUBLE_EQ(series.trend->kiBPerSecond, 1024.0 / 60);

    // A warm-up that flattened has no rising trend to draw.
    FamilyView flat = growing(60, FindingVerdict::normal);
    flat.assessment.rising = false;
    EXPECT_FALSE(f.seriesOf(flat).trend);
    // Nor has a family too young for a rate.
    FamilyView young = growing(2);
    young.assessment.hasRate = false;
    EXPECT_FALSE(f.seriesOf(young).trend);
}

TEST(MemorySeriesSection, TheInterceptIsTheMedianOffsetSoOneOutlierDoesNotMoveIt) {
    EXPECT_DOUBLE_EQ(interceptFor({0, 1, 2, 3, 4}, {10, 12, 14, 1000, 18}, 2), 10);
    EXPECT_DOUBLE_EQ(interceptFor({0, 1}, {1, 3}, 0), 2);
    EXPECT_DOUBLE_EQ(interceptFor({}, {}, 1), 0);
}

TEST(MemorySeriesSection, RunsOutOnlyWithinTheHorizon) {
    Fixture f;
    FamilyView soon = growing(60, FindingVerdict::criticalRunaway);
    soon.assessment.exhaustionSeconds = 1200;
    const MemorySeries series = f.seriesOf(soon);
    ASSERT_TRUE(series.runsOut);
    EXPECT_EQ(series.runsOut->inSeconds, 1200);
    EXPECT_EQ(series.runsOut->levelKiB, soon.footprintKiB + 20 * 1024);

    FamilyView later = growing(60);
    later.assessment.exhaustionSeconds = memoryChartHorizonSeconds + 60;
    EXPECT_FALSE(f.seriesOf(later).runsOut);
}

TEST(VerdictMarks, EachChangeIsMarkedOnceAndTimedBackFromNow) {
    VerdictMarks marks(3600);
    LiveView view;
    auto pass = [&](double at, std::optional<FindingVerdict> verdict) {
        view.monotonicTime = at;
        view.families.clear();
        if (verdict) {
            view.families.push_back(growing(10, *verdict));
        }
        marks.note(view);
        marks.note(view); // a second answer from the same pass
    };
    pass(100, FindingVerdict::normal);
    pass(200, FindingVerdict::watch);
    pass(300, FindingVerdict::watch);
    pass(400, FindingVerdict::suspect);
    pass(500, std::nullopt); // calmed down: it left the rows

    auto seen = marks.marksOf("proc:leaker", 500);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], (VerdictMark{300, FindingVerdict::watch}));
    EXPECT_EQ(seen[1], (VerdictMark{100, FindingVerdict::suspect}));
    EXPECT_EQ(seen[2], (VerdictMark{0, FindingVerdict::normal}));
    EXPECT_TRUE(marks.marksOf("proc:other", 500).empty());

    // An hour later the marks are gone and so is the calm family.
    pass(500 + 3601, std::nullopt);
    EXPECT_TRUE(marks.marksOf("proc:leaker", 500 + 3601).empty());
    EXPECT_EQ(marks.familyCount(), 0u);
}

TEST(VerdictMarks, AFamilyThatFlipsForeverKeepsABoundedList) {
    VerdictMarks marks(1e9);
    LiveView view;
    for (int i = 0; i < 500; ++i) {
        view.monotonicTime = i;
        view.families = {growing(3, i % 2 ? FindingVerdict::watch : FindingVerdict::suspect)};
        marks.note(view);
    }
    EXPECT_EQ(marks.marksOf("proc:leaker", 500).size(), VerdictMarks::maxChangesPerFamily);
}

TEST(MemorySeriesSection, TheDetailCarriesTheSeriesWithItsMarks) {
    Fixture f;
    f.view.monotonicTime = 1000;
    f.view.families = {growing(30, FindingVerdict::watch)};
    f.interaction.verdictMarks.note(f.view);
    f.view.monotonicTime = 1100;
    f.view.families = {growing(30, FindingVerdict::suspect)};
    f.interaction.verdictMarks.note(f.view);
    const DetailSnapshot detail =
        buildDetail(ComposeContext{&f.view, f.config, f.interaction, f.paths}, "proc:leaker");
    ASSERT_TRUE(detail.memorySeries);
    EXPECT_EQ(detail.memorySeries->footprintKiB.size(), 31u);
    ASSERT_EQ(detail.memorySeries->marks.size(), 2u);
    EXPECT_EQ(detail.memorySeries->marks[0], (VerdictMark{100, FindingVerdict::watch}));
    EXPECT_EQ(detail.memorySeries->marks[1], (VerdictMark{0, FindingVerdict::suspect}));

    // A family that ended has no series to show.
    EXPECT_FALSE(buildDetail(ComposeContext{&f.view, f.config, f.interaction, f.paths}, "gone")
                     .memorySeries);
}

TEST(MemorySeriesCsv, PointsAndEventsInTimeOrderForABugReport) {
    MemorySeries series;
    series.stepSeconds = 60;
    series.footprintKiB = {1000, 1100, 1200};
    series.marks = {{90, FindingVerdict::watch}, {0, FindingVerdict::suspect}};
    series.outOfMemoryKills = {30};
    // The parts and the member cover only the newest points: the oldest rows leave them empty.
    series.kinds = MemoryKindPoints{{900, 1000}, {}, {100, 100, 150}};
    series.growingMember = MemberMemorySeries{4242, "worker", {700}, std::nullopt};
    EXPECT_EQ(memorySeriesCsv(series),
              "seconds_ago,footprint_kib,event,anon_kib,swap_kib,shared_kib,member_kib\n"
              "120,1000,,,,100,\n"
              "90,,watch,,,,\n"
              "60,1100,,900,,100,\n"
              "30,,oom_kill,,,,\n"
              "0,1200,,1000,,150,700\n"
              "0,,suspect,,,,\n");
    EXPECT_EQ(memorySeriesCsv(MemorySeries{}),
              "seconds_ago,footprint_kib,event,anon_kib,swap_kib,shared_kib,member_kib\n");
}

} // namespace
} // namespace velmora
