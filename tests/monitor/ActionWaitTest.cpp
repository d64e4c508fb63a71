// SPDX-License-Identifier: GPL-3.0-or-later
// The wait of an action for processes to quit: one budget for the whole action, however many
// processes the family has. Real children that ignore SIGTERM stand in for a program that will
// not quit; the waits run on a manual clock, on which each child quits when the test says.

#include "monitor/actions/ProcessActions.h"
#include "tests/monitor/SleepingChild.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace velmora {
namespace {

using test::identityOf;
using test::SleepingChild;

// Waits advance the clock instead of passing. A child set to quit at some time is ended for
// real when a wait reaches that time; a wait for a child that does not quit in time uses all
// it was given.
class ManualExitClock final : public ExitClock {
public:
    double now() const override { return now_; }
    bool waitForExit(int pidfd, double seconds) const override {
        const double until = now_ + std::max(seconds, 0.0);
        for (auto it = quits_.begin(); it != quits_.end() && it->first <= until;) {
            now_ = std::max(now_, it->first);
            it->second->end();
            it = quits_.erase(it);
            if (ProcessSignaller::waitForExit(pidfd, 0)) {
                return true;
            }
        }
        if (ProcessSignaller::waitForExit(pidfd, 0)) {
            return true;
        }
        now_ = until;
        return false;
    }
    // The child quits `after` seconds from now.
    void quits(const SleepingChild& child, double after) { quits_.emplace(now_ + after, &child); }

private:
    mutable double now_ = 1000.0;
    mutable std::multimap<double, const SleepingChild*> quits_;
};

// A family of real children, each its own top process, all ignoring SIGTERM.
struct StubbornFamily {
    explicit StubbornFamily(int size) {
        family.key = "proc:sleep:test";
        family.title = "sleep";
        for (int i = 0; i < size; ++i) {
            children.push_back(std::make_unique<SleepingChild>(true));
            MemberView member;
            member.identity = identityOf(proc, children.back()->pid);
            member.ppid = ::getpid();
            member.name = "sleep";
            family.members.push_back(member);
        }
    }
    const SleepingChild& child(std::size_t i) const { return *children[i]; }

    ProcRoot proc{"/proc"};
    ProcessSignaller signaller{proc, ::getuid(), ::getpid()};
    std::vector<std::unique_ptr<SleepingChild>> children;
    FamilyView family;
};

TEST(ActionWait, TheWholeFamilySharesOneWait) {
    StubbornFamily sleepers(3);
    ManualExitClock clock;
    ProcessActions actions(sleepers.proc, sleepers.signaller, clock);
    // The first quits after 6 s, the second only after 12 s, the third never: a budget of
    // 10 s sees the first end and gives up on the others when it is spent.
    clock.quits(sleepers.child(0), 6.0);
    clock.quits(sleepers.child(1), 12.0);
    const double start = clock.now();
    QuitOutcome outcome = actions.quit(sleepers.family, false, 10.0);
    EXPECT_FALSE(outcome.refused) << outcome.reason;
    EXPECT_EQ(outcome.signalled, 3u);
    EXPECT_EQ(outcome.ended, 1u);
    EXPECT_EQ(outcome.stillRunning.size(), 2u);
    EXPECT_LE(clock.now() - start, 10.0) << "the action waited past its budget";
    EXPECT_TRUE(sleepers.child(1).running()) << "the second was given up on at 10 s";
    EXPECT_TRUE(sleepers.child(2).running());
}

TEST(ActionWait, ARestartWaitsNoLongerThanItsBudget) {
    StubbornFamily sleeper(1);
    ManualExitClock clock;
    ProcessActions actions(sleeper.proc, sleeper.signaller, clock);
    const double start = clock.now();
    std::string message;
    EXPECT_FALSE(actions.restart(sleeper.family, 3.0, message));
    EXPECT_EQ(message, "It did not quit within 3 s, so it was not started again.");
    EXPECT_DOUBLE_EQ(clock.now() - start, 3.0);
    EXPECT_TRUE(sleeper.child(0).running()) << "nothing was started, nothing killed";
}

TEST(ActionWait, OnTheSystemClockAFamilyThatIgnoresTheRequestIsStillRunningThenForced) {
    StubbornFamily sleepers(3);
    ProcessActions actions(sleepers.proc, sleepers.signaller);
    QuitOutcome asked = actions.quit(sleepers.family, false, 0.2);
    EXPECT_EQ(asked.signalled, 3u);
    EXPECT_EQ(asked.ended, 0u);
    EXPECT_EQ(asked.stillRunning.size(), 3u);

    QuitOutcome forced = actions.quit(sleepers.family, true, 5.0);
    EXPECT_EQ(forced.signalled, 3u);
    EXPECT_EQ(forced.ended, 3u);
    EXPECT_TRUE(forced.stillRunning.empty());
}

} // namespace
} // namespace velmora
