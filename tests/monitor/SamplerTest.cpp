// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/Sampler.h"

#include "FakeProcTree.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace velmora {
namespace {

using FakeProc = test::FakeProcTree;

SamplerOptions optionsFor(const FakeProc& proc, const std::string& smokeFile = {}) {
    SamplerOptions options = test::samplerOptionsFor(proc);
    options.smokeTargetsPath = smokeFile;
    return options;
}

const FamilyView* familyWith(const LiveView& view, pid_t pid) {
    for (const FamilyView& family : view.families) {
        for (const MemberView& member : family.members) {
            if (member.identity.pid == pid) {
                return &family;
            }
        }
    }
    return nullptr;
}

// Four passes over one second of the test's clock; the last one's view.
std::shared_ptr<const LiveView> passSecond(Sampler& sampler, int second) {
    std::shared_ptr<const LiveView> view;
    for (int tick = 0; tick < 4; ++tick) {
        view = sampler.pass(second + tick * 0.25, 0);
    }
    return view;
}

// Children of `parent` that last a second each: those of the second before end, and none, one
// or two new ones of 80 MiB start.
class ChildChurn {
public:
    ChildChurn(const FakeProc& proc, int parent, std::string exe, int firstPid)
        : proc_(proc), parent_(parent), exe_(std::move(exe)), next_(firstPid) {}

    void at(int second) {
        for (int child : children_) {
            proc_.remove(child);
        }
        children_.clear();
        for (int k = 0; k < (second * 7) % 3; ++k) {
            proc_.addProcess(next_, parent_, exe_, 20480);
            children_.push_back(next_++);
        }
    }
    int nextPid() const { return next_; }

private:
    const FakeProc& proc_;
    int parent_;
    std::string exe_;
    int next_;
    std::vector<int> children_;
};

bool flagged(FindingVerdict verdict) {
    return atLeast(verdict, FindingVerdict::suspect);
}

TEST(Sampler, GroupsSameExecutableTreesAndDropsVanishedProcesses) {
    FakeProc proc;
    proc.addProcess(100, 1, "editor", 1000);
    proc.addProcess(101, 100, "editor", 500); // same executable: same family
    proc.addProcess(102, 100, "helper", 300); // another program: its own family
    Sampler sampler(optionsFor(proc));
    auto view = sampler.pass(1.0, 0);
    ASSERT_EQ(view->watchedProcesses, 3u);
    const FamilyView* editor = familyWith(*view, 100);
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->members.size(), 2u);
    EXPECT_EQ(familyWith(*view, 101), editor);
    EXPECT_NE(familyWith(*view, 102), editor);
    long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    EXPECT_EQ(editor->footprintKiB, static_cast<uint64_t>(1500 * pageKiB));
    EXPECT_EQ(view->stats.statm, 3u);

    proc.remove(101);
    view = sampler.pass(2.0, 0);
    EXPECT_EQ(view->watchedProcesses, 2u);
    ASSERT_TRUE(familyWith(*view, 100));
    EXPECT_EQ(familyWith(*view, 100)->members.size(), 1u);
}

TEST(Sampler, AGrowingFamilyBecomesASuspectAndAFlatOneDoesNot) {
    FakeProc proc;
    proc.addProcess(200, 1, "leaky", 4096);
    proc.addProcess(300, 1, "steady", 65536);
    Sampler sampler(optionsFor(proc));
    std::shared_ptr<const LiveView> view;
    for (int second = 1; second <= 20; ++second) {
        proc.setResident(200, 4096 + static_cast<uint64_t>(second) * 1024); // +4 MiB/s
        view = passSecond(sampler, second);
    }
    const FamilyView* leaky = familyWith(*view, 200);
    ASSERT_TRUE(leaky);
    EXPECT_TRUE(flagged(leaky->assessment.verdict));
    long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    EXPECT_NEAR(leaky->assessment.rateKiBPerSecond, 1024.0 * pageKiB, 100.0 * pageKiB);
    const FamilyView* steady = familyWith(*view, 300);
    ASSERT_TRUE(steady);
    EXPECT_EQ(steady->assessment.verdict, FindingVerdict::normal);
}

// A parent grows while children of the same executable, five times its size, start and end
// every few seconds: the family's total jumps and hides the growth; the parent judged on its
// own flags the family, which says which member grows and keeps its own judgement beside it.
TEST(Sampler, AGrowingMemberUnderChurningChildrenFlagsItsFamily) {
    FakeProc proc;
    proc.addProcess(500, 1, "browser", 4096);
    Sampler sampler(optionsFor(proc));
    std::shared_ptr<const LiveView> view;
    ChildChurn churn(proc, 500, "browser", 600);
    for (int second = 1; second <= 30; ++second) {
        proc.setResident(500, 4096 + static_cast<uint64_t>(second) * 256); // +1 MiB/s
        churn.at(second);
        view = passSecond(sampler, second);
    }
    const FamilyView* browser = familyWith(*view, 500);
    ASSERT_TRUE(browser);
    EXPECT_TRUE(flagged(browser->assessment.verdict));
    ASSERT_TRUE(browser->familyAssessment);
    EXPECT_FALSE(flagged(browser->familyAssessment->verdict));
    const MemberView* grower = growingMemberOf(*browser);
    ASSERT_TRUE(grower);
    EXPECT_EQ(grower->identity.pid, 500);
    long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    EXPECT_NEAR(browser->assessment.rateKiBPerSecond, 256.0 * pageKiB, 30.0 * pageKiB);
    // The chart's series: the grower's own medians, rising where the family's jump, and the
    // family's parts bucket for bucket beside its medians.
    const std::vector<uint32_t>& own = browser->growerSparklineKiB;
    ASSERT_GE(own.size(), 3u);
    EXPECT_LE(own.size(), browser->sparklineKiB.size());
    EXPECT_TRUE(std::is_sorted(own.begin(), own.end()));
    EXPECT_LT(own.back(), browser->sparklineKiB.back());
    EXPECT_EQ(browser->kindsKiB.anonKiB.size(), browser->sparklineKiB.size());
    EXPECT_EQ(browser->kindsKiB.sharedKiB.size(), browser->sparklineKiB.size());

    // The grower ends: the family speaks for itself again at once.
    const std::string key = browser->key;
    const int child = churn.nextPid();
    proc.addProcess(child, 500, "browser", 20480);
    view = sampler.pass(30.5, 0);
    ASSERT_TRUE(familyWith(*view, child));
    ASSERT_EQ(familyWith(*view, child)->key, key);
    proc.remove(500);
    view = sampler.pass(30.75, 0);
    const FamilyView* rest = familyWith(*view, child);
    ASSERT_TRUE(rest);
    EXPECT_EQ(rest->key, key);
    EXPECT_FALSE(rest->familyAssessment);
    EXPECT_FALSE(growingMemberOf(*rest));
    EXPECT_TRUE(rest->growerSparklineKiB.empty());
}

// A launcher in an app's scope that grew and then became the app: what it measured before the
// exec does not count against the app, which stays in the scope's family.
TEST(Sampler, AMemberThatExecsStartsItsOwnJudgementAgain) {
    FakeProc proc;
    const std::string scope = "/user.slice/user-1000.slice/user@1000.service/app.slice/"
                              "app-gnome-browser-4242.scope";
    proc.addProcess(500, 1, "launcher", 4096);
    proc.setCgroup(500, scope);
    Sampler sampler(optionsFor(proc));
    ChildChurn churn(proc, 500, "launcher", 600);
    std::shared_ptr<const LiveView> view;
    for (int second = 1; second <= 30; ++second) {
        proc.setResident(500, 4096 + static_cast<uint64_t>(second) * 256);
        churn.at(second);
        for (int pid = 600; pid < churn.nextPid(); ++pid) {
            if (std::filesystem::exists(proc.root + "/" + std::to_string(pid))) {
                proc.setCgroup(pid, scope);
            }
        }
        view = passSecond(sampler, second);
    }
    const FamilyView* before = familyWith(*view, 500);
    ASSERT_TRUE(before);
    ASSERT_TRUE(growingMemberOf(*before));
    const std::string key = before->key;

    proc.execAs(500, "browser", 4096 + 30 * 256);
    for (int second = 31; second <= 33; ++second) {
        view = passSecond(sampler, second);
        const FamilyView* after = familyWith(*view, 500);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->key, key);
        EXPECT_FALSE(growingMemberOf(*after)) << "at " << second;
    }
}

// Children that come and go over a flat parent flag nothing, member by member or as a family.
TEST(Sampler, ChurningChildrenOverAFlatParentFlagNothing) {
    FakeProc proc;
    proc.addProcess(700, 1, "server", 8192);
    Sampler sampler(optionsFor(proc));
    ChildChurn churn(proc, 700, "server", 800);
    for (int second = 1; second <= 30; ++second) {
        churn.at(second);
        const std::shared_ptr<const LiveView> view = passSecond(sampler, second);
        for (const FamilyView& family : view->families) {
            EXPECT_FALSE(flagged(family.assessment.verdict)) << family.title << " at " << second;
        }
    }
}

TEST(Sampler, TheBaselineSourceSetsTheBaselineOfEveryAssessment) {
    FakeProc proc;
    proc.addProcess(200, 1, "app", 4096);
    Sampler sampler(optionsFor(proc));
    std::vector<std::string> asked;
    sampler.setBaselineSource([&](const std::string& key) -> std::optional<uint64_t> {
        asked.push_back(key);
        return 1024;
    });
    std::shared_ptr<const LiveView> view;
    for (int second = 1; second <= 3; ++second) {
        view = sampler.pass(second, 0);
    }
    const FamilyView* app = familyWith(*view, 200);
    ASSERT_TRUE(app);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), app->key);
    EXPECT_EQ(app->assessment.baselineKiB, 1024u);
    long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    EXPECT_NEAR(app->assessment.baselineMultiple, 4096.0 * pageKiB / 1024, 0.01);
}

TEST(Sampler, SelfCheckTargetsGetTheirOwnKeys) {
    FakeProc proc;
    proc.addProcess(400, 1, "sleeper", 100);
    proc.addProcess(401, 1, "sleeper", 100);
    std::string smoke = proc.root + "/smoke-targets.json";
    proc.write("smoke-targets.json", R"({"recovery": 400, "restart": {"pid": 401}})");
    Sampler sampler(optionsFor(proc, smoke));
    auto view = sampler.pass(1.0, 0);
    ASSERT_TRUE(familyWith(*view, 400));
    EXPECT_EQ(familyWith(*view, 400)->key, kRecoverySmokeKey);
    EXPECT_EQ(familyWith(*view, 400)->smokeRole, SmokeRole::recovery);
    ASSERT_TRUE(familyWith(*view, 401));
    EXPECT_EQ(familyWith(*view, 401)->key, kRestartSmokeKey);
}

TEST(ProcessTable, DetailReadsStayWithinATickBudgetAndBigSuspectsAreReadLessOften) {
    FakeProc proc;
    long pageKiB = ::sysconf(_SC_PAGESIZE) / 1024;
    const uint64_t mib = 1024 / static_cast<uint64_t>(pageKiB); // pages per MiB
    std::map<int, uint64_t> residentMiB{{500, 2048}, {501, 200}, {502, 200}, {503, 200}};
    for (auto [pid, size] : residentMiB) {
        proc.addProcess(pid, 1, "big" + std::to_string(pid), size * mib);
        proc.write(std::to_string(pid) + "/smaps_rollup",
                   "Rss: 1 kB\nAnonymous: " + std::to_string(size * 1024) + " kB\nSwap: 0 kB\n");
    }
    ProcRoot root(proc.root);
    ProcessTable table(root, ::getuid());
    std::map<int, int> reads;
    for (int tick = 1; tick <= 40; ++tick) {
        PassStatistics stats;
        table.refresh(
            tick, 2.0, 10.0, [](const ProcessRecord&) { return true; }, stats);
        uint64_t readKiB = 0;
        for (auto [pid, size] : residentMiB) {
            if (table.find(pid)->lastDetailRead == tick) {
                ++reads[pid];
                readKiB += size * 1024;
            }
        }
        // One tick reads at most half a GiB, unless it reads a single bigger process alone.
        EXPECT_TRUE(readKiB <= 512 * 1024 || stats.smapsRollup == 1) << "tick " << tick;
    }
    // The 2 GiB suspect is read every 8 s instead of every 2 s; the small ones keep the cadence.
    EXPECT_GE(reads[500], 4);
    EXPECT_LE(reads[500], 6);
    for (int pid : {501, 502, 503}) {
        EXPECT_GE(reads[pid], 14) << pid;
    }
}

} // namespace
} // namespace velmora
