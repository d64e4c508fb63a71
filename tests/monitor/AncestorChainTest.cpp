// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/AncestorChain.h"

#include "tests/monitor/FakeProcTree.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The monitor (300) under velmora-ui (200) under a session process (100), over init.
struct Chain : ::testing::Test {
    Chain() {
        proc.addProcess(100, 1, "session", 10);
        proc.addProcess(200, 100, "velmora-ui", 10);
        proc.addProcess(300, 200, "velmora", 10);
    }

    // A process given another parent (its own ended).
    void reparent(int pid, int ppid, const std::string& exe) const {
        proc.write(std::to_string(pid) + "/stat", std::to_string(pid) + " (" + exe + ") S " +
                                                      std::to_string(ppid) +
                                                      " 1 1 0 -1 0 0 0 0 0 10 5 0 0 20 0 1 0 " +
                                                      std::to_string(1000 + pid) + " 1 1 0\n");
    }

    test::FakeProcTree proc;
    ProcRoot root{proc.root};
    ProtectedProcesses processes{root, 300};
    pid_t parent = 200;
};

TEST_F(Chain, IsWalkedAgainOnlyWhenTheParentChangesOrAMinutePassed) {
    AncestorChain chain(processes, [this] { return parent; });
    EXPECT_EQ(chain.at(0), (std::set<pid_t>{1, 100, 200, 300}));

    // The session process ends and velmora-ui goes to init: the set kept says so only later,
    // and until then protects the ended PID, never less than the live chain.
    proc.remove(100);
    reparent(200, 1, "velmora-ui");
    EXPECT_EQ(chain.at(30), (std::set<pid_t>{1, 100, 200, 300}));
    EXPECT_EQ(chain.at(AncestorChain::kLongestKeptSeconds), (std::set<pid_t>{1, 200, 300}));

    // velmora-ui ends: the monitor's parent is init at once, and so is the chain.
    proc.remove(200);
    reparent(300, 1, "velmora");
    parent = 1;
    EXPECT_EQ(chain.at(AncestorChain::kLongestKeptSeconds + 1), (std::set<pid_t>{1, 300}));
}

TEST_F(Chain, IsWalkedOnEveryCallWithoutAWayToAskForTheParentOrWhenTheClockWentBack) {
    AncestorChain unasked(processes, {});
    EXPECT_EQ(unasked.at(0), (std::set<pid_t>{1, 100, 200, 300}));
    proc.remove(100);
    reparent(200, 1, "velmora-ui");
    EXPECT_EQ(unasked.at(1), (std::set<pid_t>{1, 200, 300}));

    AncestorChain asked(processes, [this] { return parent; });
    EXPECT_EQ(asked.at(100), (std::set<pid_t>{1, 200, 300}));
    reparent(200, 100, "velmora-ui");
    proc.addProcess(100, 1, "session", 10);
    EXPECT_EQ(asked.at(50), (std::set<pid_t>{1, 100, 200, 300}));
}

} // namespace
} // namespace velmora
