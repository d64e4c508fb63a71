// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/common/Formatting.h"
#include "monitor/compose/RecentFindings.h"
#include "monitor/compose/SnapshotComposer.h"
#include "monitor/live/Sampler.h"
#include "monitor/proc/MemoryCgroup.h"
#include "monitor/proc/VmStat.h"
#include "tests/monitor/FakeProcTree.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

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

std::string userTree() {
    std::string uid = std::to_string(::getuid());
    return "/user.slice/user-" + uid + ".slice/user@" + uid + ".service";
}
std::string appSlice() {
    return userTree() + "/app.slice";
}
// An application's own cgroup below app.slice (not an "app-" unit, so families keep the
// executable's name).
std::string scopeOf(const std::string& name) {
    return appSlice() + "/" + name + ".scope";
}

// Three families, each in its own memory cgroup below app.slice: an editor of two processes
// (900 MiB and 300 MiB), a 500 MiB browser and a 100 MiB shell; the kernel has ended 7
// processes on this machine since boot, none of them in these cgroups.
struct Desktop {
    Desktop() {
        add(100, 1, "editor", 900, scopeOf("editor"));
        add(101, 100, "editor", 300, scopeOf("editor"));
        add(200, 1, "browser", 500, scopeOf("browser"));
        add(300, 1, "shell", 100, scopeOf("shell"));
        count(appSlice(), 0);
        machine = 7;
        proc.setOutOfMemoryKills(machine);
        view = sampler.pass(10.0, 1'780'000'000.0);
        editor = keyOf(*view, 100);
        browser = keyOf(*view, 200);
        shell = keyOf(*view, 300);
    }
    void add(int pid, int ppid, const std::string& exe, uint64_t mib, const std::string& cgroup) {
        proc.addProcess(pid, ppid, exe, mib * kMiBPages);
        proc.setCgroup(pid, cgroup);
        cgroupOf[pid] = cgroup;
        count(cgroup, kills[cgroup]);
    }
    void count(const std::string& cgroup, uint64_t value) {
        kills[cgroup] = value;
        proc.setCgroupKills(cgroup, value);
    }
    // The killer picks a process of `cgroup`: that cgroup's count, its parent's and the
    // machine's rise together.
    void killIn(const std::string& cgroup) {
        count(cgroup, kills[cgroup] + 1);
        if (cgroup != appSlice() && cgroup.starts_with(appSlice())) {
            count(appSlice(), kills[appSlice()] + 1);
        }
        proc.setOutOfMemoryKills(++machine);
    }
    // The killer ends `pid`, which leaves the table.
    void kill(int pid) {
        killIn(cgroupOf.at(pid));
        proc.remove(pid);
    }
    // A kill somewhere Velmora does not watch: a container, another user.
    void killElsewhere() { proc.setOutOfMemoryKills(++machine); }
    std::shared_ptr<const LiveView> pass(double now) {
        view = sampler.pass(now, 1'780'000'000.0 + (now - 10.0));
        return view;
    }

    FakeProcTree proc;
    Sampler sampler{samplerOptionsFor(proc)};
    std::shared_ptr<const LiveView> view;
    std::map<int, std::string> cgroupOf;
    std::map<std::string, uint64_t> kills;
    uint64_t machine = 0;
    std::string editor;
    std::string browser;
    std::string shell;
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

TEST(MemoryCgroup, NamesTheFileWhereTheProcesssOwnCgroupCountsKills) {
    EXPECT_EQ(memoryKillCountFile("0::/user.slice/user-1000.slice/session-2.scope\n"),
              "user.slice/user-1000.slice/session-2.scope/memory.events");
    // Hybrid: the memory controller on v1 wins over the unified tree, which has none of it.
    EXPECT_EQ(memoryKillCountFile("12:pids:/user.slice\n4:cpu,memory:/box/a:b\n0::/x.scope\n"),
              "memory/box/a:b/memory.oom_control");
    EXPECT_EQ(memoryKillCountFile("4:memory:/\n"), "memory/memory.oom_control");
    EXPECT_EQ(memoryKillCountFile("0::/\n"), "") << "the v2 root has no memory.events";
    EXPECT_EQ(memoryKillCountFile("0::/../../outside.scope\n"), "") << "another namespace";
    EXPECT_EQ(memoryKillCountFile("0::/a//b\n"), "");
    EXPECT_EQ(memoryKillCountFile("1:name=systemd:/user.slice\n"), "");
    EXPECT_EQ(memoryKillCountFile("garbage"), "");
    EXPECT_TRUE(isLegacyKillCountFile("memory/box/memory.oom_control"));
    EXPECT_FALSE(isLegacyKillCountFile("memory/box/memory.events"));

    // A parent counts for a removed child only inside the user's own part of the tree.
    EXPECT_EQ(parentKillCountFile("user.slice/user-1000.slice/user@1000.service/app.slice/"
                                  "a.scope/memory.events",
                                  1000),
              "user.slice/user-1000.slice/user@1000.service/app.slice/memory.events");
    EXPECT_EQ(parentKillCountFile("user.slice/user-1000.slice/session-2.scope/memory.events", 1000),
              "user.slice/user-1000.slice/memory.events");
    EXPECT_EQ(parentKillCountFile("user.slice/user-1000.slice/memory.events", 1000), "")
        << "user.slice holds every user";
    EXPECT_EQ(parentKillCountFile("user.slice/user-1000.slice/session-2.scope/memory.events", 1001),
              "");
    EXPECT_EQ(parentKillCountFile("memory/user.slice/user-1000.slice/x/memory.oom_control", 1000),
              "")
        << "v1 counts are not hierarchical";
    // Watching every user, any parent below the root counts: every process there is watched.
    EXPECT_EQ(parentKillCountFile("system.slice/db.service/memory.events", std::nullopt),
              "system.slice/memory.events");
    EXPECT_EQ(parentKillCountFile("user.slice/user-1000.slice/memory.events", std::nullopt),
              "user.slice/memory.events");
    EXPECT_EQ(parentKillCountFile("init.scope/memory.events", std::nullopt), "");
    EXPECT_EQ(parentKillCountFile("memory/system.slice/a/memory.oom_control", std::nullopt), "");
    EXPECT_TRUE(isBelowCgroupOf("a/b/c/memory.events", "a/memory.events"));
    EXPECT_FALSE(isBelowCgroupOf("ab/c/memory.events", "a/memory.events"));
    EXPECT_FALSE(isBelowCgroupOf("a/memory.events", "a/memory.events"));
}

TEST(OutOfMemoryKills, AKillCountedInTheProcesssOwnCgroupIsAKillOfItsFamily) {
    Desktop desktop;
    ASSERT_FALSE(desktop.editor.empty());
    EXPECT_EQ(desktop.view->machineOomKills, 7u);
    EXPECT_TRUE(desktop.view->outOfMemoryKills.empty());

    desktop.kill(100);
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

TEST(OutOfMemoryKills, AnOrdinaryExitIsNoKillWhateverTheKillerDoesElsewhere) {
    Desktop desktop;
    // A container's out-of-memory loop: the machine's count rises pass after pass while the
    // browser is closed.
    desktop.killElsewhere();
    desktop.proc.remove(200);
    auto view = desktop.pass(11.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
    desktop.killElsewhere();
    view = desktop.pass(12.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());

    // A kill in the shell's cgroup (a short-lived process Velmora never saw) while the editor's
    // child exits: only the cgroup of the process that left counts.
    desktop.killIn(scopeOf("shell"));
    desktop.proc.remove(101);
    view = desktop.pass(13.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
    EXPECT_EQ(view->machineOomKills, 10u) << "the machine-wide count is still known";

    // That rise is spent: a later exit of the shell during another kill elsewhere is ordinary.
    desktop.pass(14.0);
    desktop.killElsewhere();
    desktop.proc.remove(300);
    view = desktop.pass(15.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
}

TEST(OutOfMemoryKills, ARiseWaitsOnePassForItsProcessNotMore) {
    Desktop desktop;
    desktop.killIn(scopeOf("browser")); // the killer picked its victim...
    auto view = desktop.pass(11.0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
    desktop.proc.remove(200); // ...which was gone by the next pass
    view = desktop.pass(12.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, desktop.browser);
    EXPECT_EQ(view->outOfMemoryKills[0].familyKiB, 500u * 1024);

    desktop.killIn(scopeOf("editor")); // a process of the editor's cgroup Velmora never saw
    desktop.pass(13.0);
    desktop.pass(14.0);
    desktop.proc.remove(101); // later, an ordinary exit
    view = desktop.pass(15.0);
    EXPECT_EQ(view->outOfMemoryKills.size(), 1u) << "the rise waits one pass, not more";
}

TEST(OutOfMemoryKills, AnUnreapedVictimCountsOnceWhenItsMemoryIsGone) {
    Desktop desktop;
    desktop.proc.empty(200); // killed, its parent has not reaped it yet
    desktop.killIn(scopeOf("browser"));
    auto view = desktop.pass(11.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, desktop.browser);

    desktop.killElsewhere();  // another kill, elsewhere
    desktop.proc.remove(200); // the parent reaps the first victim
    view = desktop.pass(12.0);
    EXPECT_EQ(view->outOfMemoryKills.size(), 1u) << "the reaped victim is not a second kill";
}

TEST(OutOfMemoryKills, WithoutTheMachinesCounterOrACgroupCountNothingIsDetected) {
    FakeProcTree proc;
    proc.addProcess(100, 1, "editor", 900 * kMiBPages);
    proc.setCgroup(100, scopeOf("editor"));
    proc.setCgroupKills(scopeOf("editor"), 0);
    Sampler sampler(samplerOptionsFor(proc));
    auto view = sampler.pass(1.0, 0);
    EXPECT_FALSE(view->machineOomKills);
    proc.setCgroupKills(scopeOf("editor"), 1);
    proc.remove(100);
    view = sampler.pass(2.0, 0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());

    // The counter's first reading is only a starting point.
    proc.addProcess(101, 1, "editor", 900 * kMiBPages);
    proc.setCgroup(101, scopeOf("editor"));
    proc.setOutOfMemoryKills(5);
    sampler.pass(3.0, 0);
    proc.remove(101);
    proc.setCgroupKills(scopeOf("editor"), 2);
    view = sampler.pass(4.0, 0);
    EXPECT_EQ(view->machineOomKills, 5u);
    EXPECT_TRUE(view->outOfMemoryKills.empty());

    // A process in the root cgroup, or in one without the memory controller, has no count.
    proc.addProcess(102, 1, "rooted", 900 * kMiBPages); // "0::/"
    proc.addProcess(103, 1, "bare", 900 * kMiBPages);
    proc.setCgroup(103, appSlice() + "/bare.scope"); // no memory.events there
    sampler.pass(5.0, 0);
    proc.remove(102);
    proc.remove(103);
    proc.setOutOfMemoryKills(7);
    view = sampler.pass(6.0, 0);
    EXPECT_TRUE(view->outOfMemoryKills.empty());
}

TEST(OutOfMemoryKills, InASharedCgroupNKillsGoToTheFamiliesThatLostTheLargest) {
    // A terminal's cgroup holds a build: make, two compilers and a linker.
    FakeProcTree proc;
    const std::string terminal = scopeOf("terminal");
    struct Member {
        int pid;
        int ppid;
        const char* exe;
        uint64_t mib;
    };
    for (Member m : {Member{10, 1, "make", 50}, Member{11, 10, "cc1plus", 1500},
                     Member{12, 10, "cc1plus", 900}, Member{13, 10, "ld", 700}}) {
        proc.addProcess(m.pid, m.ppid, m.exe, m.mib * kMiBPages);
        proc.setCgroup(m.pid, terminal);
    }
    proc.setCgroupKills(terminal, 0);
    proc.setOutOfMemoryKills(0);
    Sampler sampler(samplerOptionsFor(proc));
    auto view = sampler.pass(1.0, 0);
    std::string compiler = keyOf(*view, 11);
    // The processes leave while the terminal's cgroup and the machine count `kills` in all.
    auto leave = [&](std::initializer_list<int> pids, uint64_t kills, double now) {
        for (int pid : pids) {
            proc.remove(pid);
        }
        proc.setCgroupKills(terminal, kills);
        proc.setOutOfMemoryKills(kills);
        return sampler.pass(now, 0);
    };

    // One kill: both compilers and the linker are gone (make stopped the rest of the build).
    view = leave({11, 12, 13}, 1, 2.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, compiler);
    EXPECT_EQ(view->outOfMemoryKills[0].pid, 11);

    // Two kills in one pass: the two families that lost the most, largest first; make, the
    // smallest, is not named.
    proc.addProcess(14, 10, "cc1plus", 400 * kMiBPages);
    proc.addProcess(15, 10, "ld", 600 * kMiBPages);
    proc.setCgroup(14, terminal);
    proc.setCgroup(15, terminal);
    sampler.pass(3.0, 0);
    view = leave({10, 14, 15}, 3, 4.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 3u);
    EXPECT_EQ(view->outOfMemoryKills[1].pid, 15);
    EXPECT_EQ(view->outOfMemoryKills[2].pid, 14);
}

TEST(OutOfMemoryKills, AKilledAppWhoseCgroupWasRemovedIsFoundThroughItsParent) {
    Desktop desktop;
    desktop.add(400, 1, "game", 2000, scopeOf("game"));
    desktop.pass(11.0);
    std::string game = keyOf(*desktop.view, 400);

    // Its only process killed, systemd removed the empty cgroup before the next pass.
    desktop.kill(400);
    desktop.proc.removeCgroup(scopeOf("game"));
    auto view = desktop.pass(12.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].key, game);

    // The browser is closed (its cgroup removed too) while the killer ends the shell: the
    // parent's rise is the shell's, so the browser's exit stays ordinary.
    desktop.kill(300);
    desktop.proc.remove(200);
    desktop.proc.removeCgroup(scopeOf("browser"));
    view = desktop.pass(13.0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 2u);
    EXPECT_EQ(view->outOfMemoryKills[1].key, desktop.shell);
}

// One cgroup holding a large worker, a smaller victim and a small helper; the machine's and the
// cgroup's counts start at 0.
struct SharedCgroup {
    SharedCgroup() {
        for (auto [pid, exe, mib] : {std::tuple{10, "worker", 800}, std::tuple{20, "victim", 600},
                                     std::tuple{30, "helper", 50}}) {
            proc.addProcess(pid, 1, exe, static_cast<uint64_t>(mib) * kMiBPages);
            proc.setCgroup(pid, cgroup);
        }
        proc.setCgroupKills(cgroup, 0);
        proc.setOutOfMemoryKills(0);
        sampler.pass(1.0, 0);
    }
    void countKill() {
        proc.setCgroupKills(cgroup, ++kills);
        proc.setOutOfMemoryKills(kills);
    }
    std::vector<pid_t> victims(double now) {
        std::vector<pid_t> pids;
        const std::shared_ptr<const LiveView> view = sampler.pass(now, 0);
        for (const OutOfMemoryKill& kill : view->outOfMemoryKills) {
            pids.push_back(kill.pid);
        }
        return pids;
    }

    FakeProcTree proc;
    std::string cgroup = scopeOf("jobs");
    Sampler sampler{samplerOptionsFor(proc)};
    uint64_t kills = 0;
};

TEST(OutOfMemoryKills, OnlyAProcessThatHasEndedIsBlamedAndTheOneTheKillerPickedIsWaitedFor) {
    {
        // The worker is swapped out whole in the crunch that ends the victim: no resident memory,
        // but alive. It is not the victim, however large it was.
        SharedCgroup jobs;
        jobs.proc.swapOut(10, 800 * kMiBPages);
        jobs.countKill();
        jobs.proc.remove(20);
        auto first = jobs.victims(2.0);
        auto second = jobs.victims(3.0);
        EXPECT_EQ(first.empty() ? second : first, std::vector<pid_t>{20});
        EXPECT_EQ(jobs.victims(4.0), std::vector<pid_t>{20});
    }
    {
        // The killer counted its kill of the worker, which is still on its way out when the table
        // is read, while the helper exits on its own: the helper is not blamed.
        SharedCgroup jobs;
        jobs.countKill();
        jobs.proc.remove(30);
        EXPECT_TRUE(jobs.victims(2.0).empty());
        jobs.proc.empty(10); // a zombie now, then reaped
        EXPECT_EQ(jobs.victims(3.0), std::vector<pid_t>{10});
        jobs.proc.remove(10);
        EXPECT_EQ(jobs.victims(4.0), std::vector<pid_t>{10});
    }
    {
        // The victim left between the read of the counters and the table's: the rise shows in the
        // next pass and still finds it.
        SharedCgroup jobs;
        jobs.proc.remove(10);
        EXPECT_TRUE(jobs.victims(2.0).empty());
        jobs.countKill();
        EXPECT_EQ(jobs.victims(3.0), std::vector<pid_t>{10});
    }
}

TEST(OutOfMemoryKills, WatchingEveryUserKillsOfServicesAndOtherUsersAppsAreCounted) {
    FakeProcTree proc;
    const std::string service = "/system.slice/db.service";
    const std::string otherApp =
        "/user.slice/user-4242.slice/user@4242.service/app.slice/game.scope";
    proc.addProcess(100, 1, "db", 900 * kMiBPages);
    proc.setCgroup(100, service);
    proc.addProcess(200, 1, "game", 700 * kMiBPages);
    proc.setCgroup(200, otherApp);
    proc.addProcess(300, 1, "cron", 10 * kMiBPages);
    proc.setCgroup(300, "/system.slice/cron.service");
    for (const char* cgroup :
         {"/system.slice/db.service", "/system.slice/cron.service", "/system.slice",
          "/user.slice/user-4242.slice/user@4242.service/app.slice/game.scope",
          "/user.slice/user-4242.slice/user@4242.service/app.slice"}) {
        proc.setCgroupKills(cgroup, 0);
    }
    proc.setOutOfMemoryKills(0);
    SamplerOptions options = samplerOptionsFor(proc);
    options.allUsers = true;
    Sampler sampler(options);
    sampler.pass(1.0, 0);

    // Each the only process of its cgroup, which systemd removes as soon as it is empty: only
    // the parent still shows the kill.
    proc.remove(100);
    proc.removeCgroup(service);
    proc.setCgroupKills("/system.slice", 1);
    proc.remove(200);
    proc.removeCgroup(otherApp);
    proc.setCgroupKills("/user.slice/user-4242.slice/user@4242.service/app.slice", 1);
    proc.setOutOfMemoryKills(2);
    auto view = sampler.pass(2.0, 0);
    std::vector<pid_t> pids;
    for (const OutOfMemoryKill& kill : view->outOfMemoryKills) {
        pids.push_back(kill.pid);
    }
    std::sort(pids.begin(), pids.end());
    EXPECT_EQ(pids, (std::vector<pid_t>{100, 200}));
}

TEST(OutOfMemoryKills, CgroupV1CountsInMemoryOomControl) {
    FakeProcTree proc;
    proc.addProcess(100, 1, "editor", 900 * kMiBPages);
    proc.addProcess(200, 1, "browser", 500 * kMiBPages);
    proc.setLegacyMemoryCgroup(100, "/editor");
    proc.setLegacyMemoryCgroup(200, "/browser");
    proc.setLegacyCgroupKills("/editor", 0);
    proc.setLegacyCgroupKills("/browser", 4);
    proc.setOutOfMemoryKills(4);
    Sampler sampler(samplerOptionsFor(proc));
    sampler.pass(1.0, 0);
    proc.remove(100);
    proc.remove(200);
    proc.setLegacyCgroupKills("/editor", 1);
    proc.setOutOfMemoryKills(5);
    auto view = sampler.pass(2.0, 0);
    ASSERT_EQ(view->outOfMemoryKills.size(), 1u);
    EXPECT_EQ(view->outOfMemoryKills[0].pid, 100);
}

TEST(OutOfMemoryKills, CgroupCountsAreReadWhenFirstSeenAndAroundKillsOnlyAndShown) {
    Desktop desktop;
    // The first pass read the three cgroups and app.slice.
    EXPECT_EQ(desktop.view->stats.cgroupKillCounts, 4u);
    EXPECT_EQ(desktop.view->cgroupKillCounts, (FollowedKillCounts{4, 0}));
    auto view = desktop.pass(11.0);
    EXPECT_EQ(view->stats.cgroupKillCounts, 0u) << "a quiet pass reads no cgroup file";
    desktop.killElsewhere();
    EXPECT_EQ(desktop.pass(12.0)->stats.cgroupKillCounts, 4u);
    EXPECT_EQ(desktop.pass(13.0)->stats.cgroupKillCounts, 4u) << "and the pass after";
    EXPECT_EQ(desktop.pass(14.0)->stats.cgroupKillCounts, 0u);

    ConfigStore config{"/nonexistent/velmora/config.json"};
    InteractionState interaction;
    MonitorPaths paths;
    ComposeContext context{desktop.view.get(), config, interaction, paths};
    const auto read = composeSnapshot(context).trustAccess.filesReadLastPass;
    EXPECT_NE(std::find(read.begin(), read.end(),
                        desktop.proc.cgroupRoot +
                            "/CGROUP/memory.events for 4 cgroups, when first seen and after an "
                            "out-of-memory kill"),
              read.end());
    EXPECT_NE(std::find(read.begin(), read.end(), desktop.proc.root + "/vmstat"), read.end());

    // Processes and cgroups that leave are forgotten, one pass later: a kill counted in the
    // next pass may still name them.
    desktop.proc.remove(200);
    EXPECT_EQ(desktop.pass(15.0)->cgroupKillCounts, (FollowedKillCounts{4, 0}));
    EXPECT_EQ(desktop.pass(16.0)->cgroupKillCounts, (FollowedKillCounts{3, 0}));
}

TEST(OutOfMemoryKills, AKillIsKeptForAnHour) {
    Desktop desktop;
    desktop.kill(200);
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
