#include "monitor/common/Formatting.h"
#include "monitor/compose/RecentFindings.h"
#include "monitor/live/Sampler.h"
#include "monitor/proc/VmStat.h"
#include "tests/monitor/FakeProcTree.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::FakeProcTree;
using test::samplerOptionsFor;

constexpr uint64_t kMiBPages = 256; // 4 KiB pages

std::string keyOf(const LiveView& view, pid_t pid) {
    for (const FamilyView& family : view.families) {
        for (const MemberView& member : family.members) {
            if (member.identity.pid == pid) {
                return family.key;
            }
        }
    }
    return {};
}

// Three families: an editor of two processes (900 MiB and 300 MiB), a 500 MiB browser and a
// 100 MiB shell; the kernel has ended 7 processes since boot.
struct Desktop {
    Desktop() {
        proc.addProcess(100, 1, "editor", 900 * kMiBPages);
        proc.addProcess(101, 100, "editor", 300 * kMiBPages);
        proc.addProcess(200, 1, "browser", 500 * kMiBPages);
        proc.addProcess(300, 1, "shell", 100 * kMiBPages);
        proc.setOutOfMemoryKills(7);
        view = sampler.pass(10.0, 1'780'000'000.0);
        editor = keyOf(*view, 100);
        browser = keyOf(*view, 200);
    }
    std::shared_ptr<const LiveView> pass(double now) {
        view = sampler.pass(now, 1'780'000'000.0 + (now - 10.0));
        return view;
    }

    FakeProcTree proc;
    Sampler sampler{samplerOptionsFor(proc)};
    std::shared_ptr<const LiveView> view;
    std::string editor;
    std::string browser;
};

TEST(VmStat, ReadsTheKernelsOutOfMemoryKillCounter) {
    EXPECT_EQ(parseOutOfMemoryKillCount("nr_free_pages 10\noom_kill 42\npgfault 1\n"), 42u);
    EXPECT_EQ(parseOutOfMemoryKillCount("oom_kill 0"), 0u) << "last line without a newline";
    EXPECT_FALSE(parseOutOfMemoryKillCount("nr_free_pages 10\npgfault 1\n")) << "old kernels";
    EXPECT_FALSE(parseOutOfMemoryKillCount("oom_kill_extra 3\n"));
    EXPECT_FALSE(parseOutOfMemoryKillCount("oom_kill x\n"));

    FakeProcTree proc;
    ProcRoot root(proc.root);
    EXPECT_FALSE(readOutOfMemoryKillCount(root)) << "no vmstat at all";
    proc.setOutOfMemoryKills(3);
    EXPECT_EQ(readOutOfMemoryKillCount(root), 3u);
}

TEST(OutOfMemoryKills, ACounterRiseWithAVanishedMemberIsAKillOfThatFamily) {
    Desktop desktop;
    ASSERT_FALSE(desktop.editor.empty());
    EXPECT_TRUE(desktop.view->vmstatRead);
    EXPECT_TRUE(desktop.view->outOfMemoryKills.empty());

    desktop.proc.remove(100);
    desktop.proc.setOutOfMemoryKills(8);
    auto view = desktop.pass(11.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    const OutOfMemoryKill& kill = view->outOfMemoryKills[0];
    EXPECT_EQ(kill.key, desktop.editor);
    EXPECT_EQ(kill.title, "editor");
    EXPECT_EQ(kill.pid, 100);
    EXPECT_EQ(kill.id, "oom-100-1100") << "PID and start time: unique per kill";
    EXPECT_EQ(kill.processKiB, 900u * 1024);
    EXPECT_EQ(kill.familyKiB, 1200u * 1024) << "the whole family, just before the kill";
    EXPECT_EQ(outOfMemoryKillMessage(kill), "Ended by the out-of-memory killer at " +
                                                formatClock(1'780'000'001.0) + " with 1.2 GB.");

    // The kill is reported once, then kept: later passes neither repeat nor drop it.
    view = desktop.pass(12.0);
    view = desktop.pass(13.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].id, "oom-100-1100");
}

TEST(OutOfMemoryKills, NeitherACounterRiseAloneNorAnOrdinaryExitIsAKill) {
    Desktop desktop;
    desktop.proc.setOutOfMemoryKills(8); // another user's process, say
    desktop.pass(11.0);
    desktop.pass(12.0);
    desktop.proc.remove(200); // later, an ordinary exit
    auto view = desktop.pass(13.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty()) << "the rise waits one pass, not more";

    desktop.proc.remove(300); // an exit while the counter stands still
    view = desktop.pass(14.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
}

TEST(OutOfMemoryKills, AKillWhoseProcessLeavesOnePassLateIsStillFound) {
    Desktop desktop;
    desktop.proc.setOutOfMemoryKills(8); // the killer picked its victim...
    auto view = desktop.pass(11.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
    desktop.proc.remove(200); // ...which was gone by the next pass
    view = desktop.pass(12.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, desktop.browser);
    EXPECT_EQ(view->outOfMemoryKills[0].familyKiB, 500u * 1024);
}

TEST(OutOfMemoryKills, AnUnreapedVictimCountsOnceWhenItsMemoryIsGone) {
    Desktop desktop;
    desktop.proc.empty(200); // killed, its parent has not reaped it yet
    desktop.proc.setOutOfMemoryKills(8);
    auto view = desktop.pass(11.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, desktop.browser);

    desktop.proc.setOutOfMemoryKills(9); // another kill, elsewhere
    desktop.proc.remove(200);            // the parent reaps the first victim
    view = desktop.pass(12.0);
    EXPECT_EQ(view->outOfMemoryKills.size(), 1u) << "the reaped victim is not a second kill";
}

TEST(OutOfMemoryKills, WithoutTheCounterNothingIsDetected) {
    FakeProcTree proc;
    proc.addProcess(100, 1, "editor", 900 * kMiBPages);
    Sampler sampler(samplerOptionsFor(proc));
    auto view = sampler.pass(1.0, 0);
    EXPECT_FALSE(view->vmstatRead);
    proc.remove(100);
    view = sampler.pass(2.0, 0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());

    // The counter's first reading is only a starting point.
    proc.addProcess(101, 1, "editor", 900 * kMiBPages);
    proc.setOutOfMemoryKills(5);
    sampler.pass(3.0, 0);
    proc.remove(101);
    proc.setOutOfMemoryKills(5);
    view = sampler.pass(4.0, 0);
    EXPECT_TRUE(view->vmstatRead);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
}

TEST(OutOfMemoryKills, OneKillGoesToTheFamilyThatLostTheLargestProcess) {
    Desktop desktop;
    desktop.proc.remove(101); // editor: 300 MiB
    desktop.proc.remove(200); // browser: 500 MiB
    desktop.proc.remove(300); // shell: 100 MiB
    desktop.proc.setOutOfMemoryKills(8);
    auto view = desktop.pass(11.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, desktop.browser);
}

TEST(OutOfMemoryKills, NKillsGoToAtMostNFamiliesLargestFirst) {
    Desktop desktop;
    desktop.proc.remove(100); // editor: 900 MiB and 300 MiB, one family
    desktop.proc.remove(101);
    desktop.proc.remove(200); // browser: 500 MiB
    desktop.proc.remove(300); // shell: 100 MiB
    desktop.proc.setOutOfMemoryKills(9);
    auto view = desktop.pass(11.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 2u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, desktop.editor);
    EXPECT_EQ(view->outOfMemoryKills[0].pid, 100) << "named after its largest lost process";
    EXPECT_EQ(view->outOfMemoryKills[1].key, desktop.browser);
}

TEST(OutOfMemoryKills, AKillIsKeptForAnHour) {
    Desktop desktop;
    desktop.proc.remove(200);
    desktop.proc.setOutOfMemoryKills(8);
    desktop.pass(11.0);
    EXPECT_EQ(desktop.pass(11.0 + 3600.0)->outOfMemoryKills.size(), 1u);
    EXPECT_TRUE(desktop.pass(11.0 + 3601.0)->outOfMemoryKills.empty());
}

TEST(OutOfMemoryKillFindings, AKilledFamilyIsARecentFindingOnceAndTheKillsAreListed) {
    LiveView view;
    view.monotonicTime = 1000.0;
    // The browser calmed down 10 minutes ago; the editor left the rows and was killed twice.
    view.departed.push_back({"browser", "Browser", FindingVerdict::suspect, 400.0, false});
    view.departed.push_back({"editor", "Editor", FindingVerdict::probable, 700.0, true});
    view.outOfMemoryKills.push_back(
        {"oom-7-70", "shell", "Shell", 7, 1024, 2048, 100.0, 1.78e9 - 200});
    view.outOfMemoryKills.push_back(
        {"oom-5-50", "editor", "Editor", 5, 2048 * 1024, 3 * 1024 * 1024, 300.0, 1.78e9});
    view.outOfMemoryKills.push_back(
        {"oom-6-60", "editor", "Editor", 6, 1024 * 1024, 2 * 1024 * 1024, 700.0, 1.78e9 + 400});

    std::vector<RecentFindingSnapshot> findings = recentFindingsOf(view);
    ASSERT_EQ(findings.size(), 3u);
    EXPECT_EQ(findings[0].key, "editor") << "newest first";
    EXPECT_EQ(findings[0].statusLabel, "Ended: out of memory");
    EXPECT_EQ(findings[0].explanation, outOfMemoryKillMessage(view.outOfMemoryKills[2]));
    EXPECT_EQ(findings[0].lastSeenText, formatAgo(300.0));
    EXPECT_EQ(findings[0].severity, FindingSeverity::critical);
    EXPECT_EQ(findings[1].key, "browser");
    EXPECT_EQ(findings[1].statusLabel, "Growth stopped");
    EXPECT_EQ(findings[2].key, "shell");

    std::vector<OutOfMemoryKillSnapshot> kills = outOfMemoryKillsOf(view);
    ASSERT_EQ(kills.size(), 3u);
    EXPECT_EQ(kills[0].id, "oom-6-60") << "newest first";
    EXPECT_EQ(kills[0].key, "editor");
    EXPECT_EQ(kills[0].title, "Editor");
    EXPECT_EQ(kills[0].footprintLabel, "2.0 GB");
    EXPECT_EQ(kills[0].message, "Ended by the out-of-memory killer at " +
                                    formatClock(1.78e9 + 400) + " with 2.0 GB.");
    EXPECT_EQ(kills[1].id, "oom-5-50");
    EXPECT_EQ(kills[2].id, "oom-7-70");
}

} // namespace
} // namespace velmora
