// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/actions/ProcessSignaller.h"
#include "tests/monitor/SleepingChild.h"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora {
namespace {

using test::identityOf;
using test::SleepingChild;

class SignalSafety : public ::testing::Test {
protected:
    ProcRoot proc{"/proc"};
    ProcessSignaller signaller{proc, ::getuid(), ::getpid()};
};

TEST_F(SignalSafety, AnOrdinaryChildIsSignalledThroughItsPidfd) {
    SleepingChild child;
    SignalOutcome outcome = signaller.send(identityOf(proc, child.pid), SIGTERM);
    ASSERT_EQ(outcome.result, SignalResult::sent) << outcome.reason;
    ASSERT_TRUE(outcome.pidfd.valid());
    EXPECT_TRUE(ProcessSignaller::waitForExit(outcome.pidfd.get(), 5));
}

TEST_F(SignalSafety, AReusedPidIsNeverHit) {
    SleepingChild child;
    ProcessIdentity stale = identityOf(proc, child.pid);
    stale.startTime -= 1; // the sampled process started earlier: this PID is someone else now
    SignalOutcome outcome = signaller.send(stale, SIGKILL);
    EXPECT_EQ(outcome.result, SignalResult::changed);
    EXPECT_TRUE(child.running());

    ProcessIdentity otherProgram = identityOf(proc, child.pid);
    otherProgram.exe = "/usr/bin/something-else";
    EXPECT_EQ(signaller.send(otherProgram, SIGKILL).result, SignalResult::changed);
    EXPECT_TRUE(child.running());
}

TEST_F(SignalSafety, AnotherUsersProcessIsNeverSignalled) {
    SleepingChild child;
    // As root every process is "ours": pretend to be another user instead.
    uid_t pretend = ::getuid() == 0 ? 4242 : ::getuid();
    ProcessSignaller asOtherUser(proc, pretend, ::getpid());
    ProcessIdentity target = identityOf(proc, child.pid);
    target.uid = pretend; // even when the sampled owner claims to match
    SignalOutcome outcome = asOtherUser.send(target, SIGKILL);
    EXPECT_EQ(outcome.result, SignalResult::otherUser);
    EXPECT_TRUE(child.running());

    ProcessIdentity init = identityOf(proc, 1);
    EXPECT_NE(signaller.send(init, SIGTERM).result, SignalResult::sent);
    init.uid = pretend;
    EXPECT_NE(asOtherUser.send(init, SIGTERM).result, SignalResult::sent);
}

TEST_F(SignalSafety, ItselfItsParentAndTheSessionAreProtected) {
    EXPECT_EQ(signaller.send(identityOf(proc, ::getpid()), SIGTERM).result,
              SignalResult::protectedProcess);
    ProcessIdentity parent = identityOf(proc, ::getppid());
    if (parent.uid == ::getuid()) {
        EXPECT_EQ(signaller.send(parent, SIGTERM).result, SignalResult::protectedProcess);
    }
    auto chain = signaller.protectedProcesses().selfAndAncestors();
    EXPECT_TRUE(chain.count(::getpid()));
    EXPECT_TRUE(chain.count(::getppid()));
    EXPECT_TRUE(chain.count(1));
    for (const char* name : {"gnome-shell", "kwin_wayland", "dbus-daemon", "pipewire",
                             "wireplumber", "gnome-session-binary", "bash", "velmora-ui"}) {
        EXPECT_TRUE(signaller.protectedProcesses().isProtected(999999, name, name)) << name;
    }
    EXPECT_FALSE(signaller.protectedProcesses().isProtected(999999, "firefox", "firefox"));
}

TEST_F(SignalSafety, AGoneProcessIsReportedAsGone) {
    ProcessIdentity ghost;
    {
        SleepingChild child;
        ghost = identityOf(proc, child.pid);
    }
    EXPECT_EQ(signaller.send(ghost, SIGTERM).result, SignalResult::gone);
}

} // namespace
} // namespace velmora
