// SPDX-License-Identifier: GPL-3.0-or-later
// What the sampler gives the headless monitor: the ranked families it exports, the families
// that ended, the suspects' reads between slow ticks, and every user's processes.
#include "FakeProcTree.h"
#include "monitor/live/Sampler.h"

#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace velmora {
namespace {

using FakeProc = test::FakeProcTree;

const uint64_t kPageKiB = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE) / 1024);

// Passes until the leaky process (pid 200, +4 MiB a second) is at watch or above.
std::shared_ptr<const LiveView> growUntilFlagged(FakeProc& proc, Sampler& sampler, double& now) {
    std::shared_ptr<const LiveView> view;
    for (int second = 1; second <= 30; ++second) {
        proc.setResident(200, 4096 + static_cast<uint64_t>(second) * 1024);
        view = sampler.pass(now += 1.0, 0);
        if (!view->ranked.empty() &&
            view->ranked.front().assessment.verdict >= FindingVerdict::watch) {
            break;
        }
    }
    return view;
}

TEST(SamplerRanking, FlaggedFamiliesComeFirstThenTheLargestWithinTheBound) {
    FakeProc proc;
    proc.addProcess(200, 1, "leaky", 4096);
    proc.addProcess(300, 1, "steady", 65536);
    proc.addProcess(301, 300, "steady", 1000);
    proc.addProcess(400, 1, "tiny", 100);
    SamplerOptions options = test::samplerOptionsFor(proc);
    options.rankedFamilies = 2;
    Sampler sampler(options);
    double now = 0;
    auto view = growUntilFlagged(proc, sampler, now);
    ASSERT_EQ(view->ranked.size(), 2u);
    EXPECT_EQ(view->ranked[0].title, "leaky");
    EXPECT_GE(view->ranked[0].assessment.verdict, FindingVerdict::watch);
    EXPECT_EQ(view->ranked[1].title, "steady");
    EXPECT_EQ(view->ranked[1].anonKiB, 66536 * kPageKiB);
    EXPECT_EQ(view->ranked[1].footprintKiB, view->ranked[1].anonKiB + view->ranked[1].swapKiB);
    EXPECT_TRUE(view->endedFamilies.empty());

    proc.remove(300);
    view = sampler.pass(now += 1.0, 0);
    EXPECT_TRUE(view->endedFamilies.empty()); // one of its two processes is left
    proc.remove(301);
    view = sampler.pass(now += 1.0, 0);
    ASSERT_EQ(view->endedFamilies.size(), 1u);
    EXPECT_EQ(view->endedFamilies[0].rfind("proc:steady:300:", 0), 0u);
    EXPECT_EQ(view->ranked[1].title, "tiny");
    view = sampler.pass(now += 1.0, 0);
    EXPECT_TRUE(view->endedFamilies.empty()); // reported in the pass it ended, once

    // Under the app, nothing is ranked.
    Sampler plain(test::samplerOptionsFor(proc));
    EXPECT_TRUE(plain.pass(1.0, 0)->ranked.empty());
}

TEST(SamplerRanking, BetweenSlowTicksASuspectIsReadAgainAndTheTickRecordsTheMedian) {
    FakeProc proc;
    proc.addProcess(200, 1, "leaky", 4096);
    proc.addProcess(300, 1, "steady", 65536);
    SamplerOptions options = test::samplerOptionsFor(proc);
    options.rankedFamilies = 8;
    options.sampling.suspectSampleSeconds = 0.1; // shorter than the 1 s tick
    Sampler sampler(options);
    EXPECT_DOUBLE_EQ(sampler.quickSeconds(), 0.1);
    double now = 0;
    auto view = growUntilFlagged(proc, sampler, now);
    ASSERT_GE(view->ranked.front().assessment.verdict, FindingVerdict::watch);
    const std::string key = view->ranked.front().key;

    // A spike one quick read sees is not what the tick records; the steady family is not read.
    for (uint64_t pages : {50000, 40000, 40000}) {
        proc.setResident(200, pages);
        sampler.quickPass();
    }
    proc.setResident(300, 1); // unread until the tick
    proc.setResident(200, 40100);
    view = sampler.pass(now += 1.0, 0);
    EXPECT_EQ(sampler.store().find(key)->latestKiB(),
              40100 * kPageKiB); // of 50000, 40000 twice, 40100

    // Without quick reads the tick records what it reads itself.
    proc.setResident(200, 42000);
    sampler.pass(now += 1.0, 0);
    EXPECT_EQ(sampler.store().find(key)->latestKiB(), 42000 * kPageKiB);

    Sampler desktop(test::samplerOptionsFor(proc));
    EXPECT_DOUBLE_EQ(desktop.quickSeconds(), 0.0); // the app's 1 s tick needs none
}

TEST(SamplerRanking, AQuietProcessHasItsSwapAndCpuReadLessOftenButItsMemoryEveryTick) {
    FakeProc proc;
    proc.addProcess(600, 1, "idle", 2000);
    proc.addProcess(700, 1, "busy", 2000);
    ProcRoot root(proc.root);
    ProcessTable table(root, ::getuid());
    table.setQuietPeriod(60);
    auto none = [](const ProcessRecord&) { return false; };
    std::map<pid_t, int> backgroundReads;
    int statmReads = 0;
    for (int tick = 0; tick <= 12; ++tick) {
        // busy uses CPU time between ticks; idle never does.
        proc.write("700/stat", "700 (busy) S 1 1 1 0 -1 0 0 0 0 0 " + std::to_string(10 + tick) +
                                   " 5 0 0 20 0 1 0 1700 1 1 0\n");
        PassStatistics stats;
        table.refresh(tick * 10.0, 2, 10, none, stats);
        statmReads += static_cast<int>(stats.statm);
        for (pid_t pid : {600, 700}) {
            const ProcessRecord* record = table.find(pid);
            ASSERT_TRUE(record);
            if (record->lastBackgroundRead == tick * 10.0) {
                ++backgroundReads[pid];
            }
        }
    }
    EXPECT_EQ(statmReads, 2 * 13);
    EXPECT_GE(backgroundReads[700], 11); // every 10 s
    EXPECT_LE(backgroundReads[600], 3);  // once a minute, once found quiet
    EXPECT_EQ(table.find(700)->cpuTicks, 22u + 5u);
}

TEST(SamplerRanking, EveryUsersFamiliesCarryTheirUserInTheKey) {
    FakeProc proc;
    proc.addProcess(500, 1, "daemon", 2000);
    SamplerOptions options = test::samplerOptionsFor(proc);
    options.allUsers = true;
    options.uid = ::getuid() + 1; // not the owner: every user's processes are kept all the same
    options.rankedFamilies = 4;
    Sampler sampler(options);
    auto view = sampler.pass(1.0, 0);
    ASSERT_EQ(view->ranked.size(), 1u);
    EXPECT_EQ(view->ranked[0].key.rfind("user:" + std::to_string(::getuid()) + ":proc:daemon:", 0),
              0u)
        << view->ranked[0].key;
    EXPECT_EQ(view->ranked[0].uid, ::getuid());
}

} // namespace
} // namespace velmora
