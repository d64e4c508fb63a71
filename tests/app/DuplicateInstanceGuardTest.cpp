#include "app/DuplicateInstanceGuard.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace velmora;
using namespace velmora::DuplicateInstanceGuard;

TEST(DuplicateInstanceGuard, KeepsTheLowestPidAmongEarlierInstances) {
    const RunningInstance self{900, 5000};
    EXPECT_EQ(instanceToKeep(self, {{500, 100}, {420, 200}}), 420);
    EXPECT_EQ(instanceToKeep(self, {}), std::nullopt);
    // Instances that started later defer to this one, so this one carries on.
    EXPECT_EQ(instanceToKeep(self, {{500, 6000}, {420, 7000}}), std::nullopt);
    EXPECT_EQ(instanceToKeep(self, {{500, 6000}, {950, 100}}), 950);
    EXPECT_EQ(instanceToKeep(self, {self}), std::nullopt);
}

TEST(DuplicateInstanceGuard, ExactlyOneOfTwoSimultaneousLaunchesSurvives) {
    const RunningInstance a{700, 4242};
    const RunningInstance b{701, 4242};
    EXPECT_EQ(instanceToKeep(a, {b}), std::nullopt);
    EXPECT_EQ(instanceToKeep(b, {a}), 700);
    const RunningInstance c{650, 4243};
    EXPECT_EQ(instanceToKeep(c, {a}), 700);
    EXPECT_EQ(instanceToKeep(a, {c}), std::nullopt);
}

TEST(DuplicateInstanceGuard, ParsesProcFiles) {
    const std::string stat = "1234 (odd) name (x) S 1 1234 1234 0 -1 4194560 100 0 0 0 1 2 0 0 "
                             "20 0 1 0 987654 12345678 300 18446744073709551615";
    const auto parsed = parseProcessStat(stat);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->state, 'S');
    EXPECT_EQ(parsed->startTicks, 987654u);
    EXPECT_FALSE(parseProcessStat("1234 (short) S 1 2"));
    EXPECT_FALSE(parseProcessStat("garbage"));

    EXPECT_EQ(parseRealUserID("Name:\tx\nUid:\t1000\t1001\t1000\t1000\nGid:\t5\n"), 1000u);
    EXPECT_FALSE(parseRealUserID("Name:\tx\n"));

    EXPECT_EQ(executableOfLink("/usr/bin/velmora-ui (deleted)"), "/usr/bin/velmora-ui");
    EXPECT_EQ(executableOfLink("/usr/bin/velmora-ui"), "/usr/bin/velmora-ui");
}

TEST(DuplicateInstanceGuard, FindsLiveCopiesOfThisExecutableButNotZombies) {
    const pid_t live = ::fork();
    ASSERT_GE(live, 0);
    if (live == 0) {
        ::pause();
        ::_exit(0);
    }
    const pid_t zombie = ::fork();
    ASSERT_GE(zombie, 0);
    if (zombie == 0) {
        ::_exit(0);
    }
    // Wait until the second child has become a zombie without reaping it.
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(zombie), &info, WEXITED | WNOWAIT), 0);

    const auto others = otherInstances();
    const auto has = [&](pid_t pid) {
        return std::any_of(others.begin(), others.end(),
                           [&](const RunningInstance& r) { return r.pid == pid; });
    };
    EXPECT_TRUE(has(live));
    EXPECT_FALSE(has(zombie));
    EXPECT_FALSE(has(::getpid()));

    // The forked copies started after this process, so this one would carry on.
    const auto self = selfInstance();
    ASSERT_TRUE(self);
    EXPECT_EQ(instanceToKeep(*self, others), std::nullopt);

    ::kill(live, SIGKILL);
    ::waitpid(live, nullptr, 0);
    ::waitpid(zombie, nullptr, 0);
}
