// SPDX-License-Identifier: GPL-3.0-or-later
// One copy per graphical session: the lock file and the local socket in the session's runtime
// directory, with several handovers of one process standing for several launches.
#include "app/InstanceHandover.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

using namespace velmora;
using Claim = InstanceHandover::Claim;

namespace {

// Runs the event loop until `done` holds or five seconds pass.
template <class Predicate> bool waitUntil(Predicate done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && !clock.hasExpired(5000)) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

} // namespace

// A second launch in the session finds the first, reaches it through the socket and is asked
// to end; a launch in another session (another runtime directory) is a copy of its own.
TEST(InstanceHandover, OneCopyPerSessionAndALaterLaunchShowsTheFirst) {
    QTemporaryDir session;
    QTemporaryDir otherSession;
    ASSERT_TRUE(session.isValid() && otherSession.isValid());
    InstanceHandover first(session.path());
    ASSERT_EQ(first.claim(), Claim::claimed);
    ASSERT_TRUE(first.listen());
    EXPECT_TRUE(QFile::exists(session.path() + "/velmora-ui.lock"));
    EXPECT_EQ(first.socketPath(), session.path() + "/velmora-ui.sock");
    int shown = 0;
    QObject::connect(&first, &InstanceHandover::showRequested, [&] { ++shown; });

    InstanceHandover second(session.path());
    EXPECT_EQ(second.claim(), Claim::heldByAnother);
    EXPECT_EQ(second.holderPid(), QCoreApplication::applicationPid());
    // The request blocks while the first copy answers on this thread's event loop: made from
    // a helper process, as a real second launch would.
    const pid_t launch = ::fork();
    ASSERT_GE(launch, 0);
    if (launch == 0) {
        ::_exit(second.requestShow(2000) ? 0 : 1);
    }
    EXPECT_TRUE(waitUntil([&] { return shown == 1; }));
    int status = 0;
    ASSERT_EQ(::waitpid(launch, &status, 0), launch);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    InstanceHandover elsewhere(otherSession.path());
    EXPECT_EQ(elsewhere.claim(), Claim::claimed);
    EXPECT_TRUE(elsewhere.listen());
}

// The lock is held however long its copy has run, and taken over once that copy is gone,
// even when it left its lock file and its socket behind.
TEST(InstanceHandover, ALockIsHeldAsLongAsItsCopyLivesAndNoLonger) {
    QTemporaryDir session;
    ASSERT_TRUE(session.isValid());
    {
        InstanceHandover running(session.path());
        ASSERT_EQ(running.claim(), Claim::claimed);
        const QByteArray path = running.lockPath().toLocal8Bit();
        const utimbuf dayOld{::time(nullptr) - 86400, ::time(nullptr) - 86400};
        ASSERT_EQ(::utime(path.constData(), &dayOld), 0);
        InstanceHandover later(session.path());
        EXPECT_EQ(later.claim(), Claim::heldByAnother) << "an old lock of a running copy was taken";
    }

    // A copy that dies without unlocking.
    const pid_t crashed = ::fork();
    ASSERT_GE(crashed, 0);
    if (crashed == 0) {
        InstanceHandover dying(session.path());
        if (dying.claim() != Claim::claimed) {
            ::_exit(1);
        }
        QFile(dying.socketPath()).open(QIODevice::WriteOnly); // a stale socket file
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(crashed, &status, 0), crashed);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(session.path() + "/velmora-ui.lock"));
    InstanceHandover next(session.path());
    EXPECT_EQ(next.claim(), Claim::claimed);
    EXPECT_TRUE(next.listen());

    // No runtime directory to lock in: the app carries on alone.
    InstanceHandover nowhere(QStringLiteral("/nonexistent/velmora-runtime"));
    EXPECT_EQ(nowhere.claim(), Claim::unavailable);
}

// Without a runtime directory, the stand-in folder under the temporary folder is used only when
// it is this user's own private folder. One of another user, one open to all or a link is never
// trusted (nor changed): whoever made it could stand in for the running copy and end every
// later launch. The launch then runs alone and says why.
class StandInFolder : public ::testing::Test {
protected:
    void SetUp() override { ::unsetenv("XDG_RUNTIME_DIR"); }
    void TearDown() override {
        restore("XDG_RUNTIME_DIR", savedRuntime_);
        restore("TMPDIR", savedTemporary_);
    }

    // Makes `temporary` the temporary folder; the stand-in folder's path in it.
    static QString standInIn(const QTemporaryDir& temporary) {
        ::setenv("TMPDIR", temporary.path().toLocal8Bit().constData(), 1);
        return temporary.path() + QStringLiteral("/velmora-ui-%1").arg(::getuid());
    }

    // Claims without a runtime directory and expects to be refused; why.
    static std::string refusal() {
        InstanceHandover handover(QString{});
        EXPECT_EQ(handover.claim(), Claim::unavailable);
        return handover.unavailableReason().toStdString();
    }

    static mode_t modeOf(const QString& path) {
        struct stat info {};
        return ::lstat(path.toLocal8Bit().constData(), &info) == 0 ? info.st_mode : 0;
    }

private:
    static void restore(const char* name, const std::optional<QByteArray>& value) {
        if (value) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
    static std::optional<QByteArray> saved(const char* name) {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }

    const std::optional<QByteArray> savedRuntime_ = saved("XDG_RUNTIME_DIR");
    const std::optional<QByteArray> savedTemporary_ = saved("TMPDIR");
};

TEST_F(StandInFolder, IsMadePrivateWhenMissingAndUsedAgain) {
    QTemporaryDir temporary;
    const QString made = standInIn(temporary);
    InstanceHandover first(QString{});
    EXPECT_EQ(first.claim(), Claim::claimed) << first.unavailableReason().toStdString();
    EXPECT_EQ(first.lockPath(), made + "/velmora-ui.lock");
    EXPECT_TRUE(S_ISDIR(modeOf(made)));
    EXPECT_EQ(modeOf(made) & 07777, 0700u);
    InstanceHandover again(QString{});
    EXPECT_EQ(again.claim(), Claim::heldByAnother);
}

TEST_F(StandInFolder, OpenToAllOrALinkIsNeverUsed) {
    QTemporaryDir openToAll;
    const QString open = standInIn(openToAll);
    ASSERT_EQ(::mkdir(open.toLocal8Bit().constData(), 0700), 0);
    ASSERT_EQ(::chmod(open.toLocal8Bit().constData(), 0777), 0);
    EXPECT_EQ(refusal(), (open + " is not private (mode 0777, not 0700)").toStdString());
    EXPECT_FALSE(QFile::exists(open + "/velmora-ui.lock"));
    EXPECT_EQ(modeOf(open) & 07777, 0777u) << "a folder that is not ours was changed";

    QTemporaryDir linked;
    QTemporaryDir target; // a private folder of this user, reached through a link
    const QString link = standInIn(linked);
    ASSERT_EQ(::chmod(target.path().toLocal8Bit().constData(), 0700), 0);
    ASSERT_EQ(::symlink(target.path().toLocal8Bit().constData(), link.toLocal8Bit().constData()),
              0);
    EXPECT_EQ(refusal(), (link + " is a link, not a folder of this user").toStdString());
    EXPECT_FALSE(QFile::exists(target.path() + "/velmora-ui.lock"));
}

TEST_F(StandInFolder, OneOfAnotherUserIsNeverUsed) {
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody) {
        GTEST_SKIP() << "handing a folder to another user needs root and a user \"nobody\"";
    }
    QTemporaryDir temporary;
    const QString theirs = standInIn(temporary);
    ASSERT_EQ(::mkdir(theirs.toLocal8Bit().constData(), 0700), 0);
    ASSERT_EQ(::chown(theirs.toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid), 0);
    EXPECT_EQ(refusal(),
              (theirs + QStringLiteral(" belongs to another user (uid %1)").arg(nobody->pw_uid))
                  .toStdString());
    EXPECT_FALSE(QFile::exists(theirs + "/velmora-ui.lock"));
}
