// One copy per graphical session: the lock file and the local socket in the session's runtime
// directory, with several handovers of one process standing for several launches.
#include "app/InstanceHandover.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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
