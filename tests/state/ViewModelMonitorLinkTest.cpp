// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewModelTestSupport.h"

namespace velmora::testing {
namespace {

// A state as the backend publishes it, its time points on the backend's own clock (at 1000 s).
MonitorLinkState exitedWithStatus3(std::chrono::nanoseconds nextTryIn) {
    MonitorLinkState state;
    state.cause = MonitorLinkCause::exited;
    state.code = 3;
    state.recovery = MonitorRecovery::scheduled;
    state.asOf = 1000s;
    state.nextAttemptAt = 1000s + nextTryIn;
    state.lastGoodAnswerAt = 990s;
    return state;
}

class ViewModelMonitorLink : public ViewModelTest {
protected:
    void publishLink(const MonitorLinkState& state) {
        backend->publishLink(state);
        scheduler->runPending();
    }
};

TEST_F(ViewModelMonitorLink, CarriesTheStateOnItsOwnClockKeepsTheRowsAndClearsIt) {
    start(snapshotWith(rows({"A", "B"})));
    scheduler->advance(60s); // the view model's clock reads 60 s, the backend's 1000 s
    EXPECT_TRUE(viewModel->monitorLink().watching());
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), std::nullopt);

    publishLink(exitedWithStatus3(4s));
    EXPECT_EQ(notWatchingReason(viewModel->monitorLink()), "stopped with status 3");
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), 4s);
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), 10s);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"})); // the last rows stay, marked by their age
    auto appeared = take(ViewModelField::monitorLink);
    ASSERT_EQ(appeared.size(), 1u);
    EXPECT_EQ(motionOf(appeared[0]), MotionName::shellEmphasis);
    EXPECT_FALSE(appeared[0].has(ViewModelField::snapshot));

    scheduler->advance(3s);
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), 1s);
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), 13s);
    scheduler->advance(5s);
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), 0s); // due: never a negative wait

    MonitorLinkState starting = exitedWithStatus3(0s);
    starting.recovery = MonitorRecovery::starting;
    starting.nextAttemptAt.reset();
    starting.asOf = 1008s;
    publishLink(starting);
    auto moved = take(ViewModelField::monitorLink);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(motionOf(moved[0]), std::nullopt); // still not watching: nothing to animate
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), std::nullopt);
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), 18s);

    MonitorLinkState watching;
    watching.asOf = 1010s;
    publishLink(watching);
    EXPECT_TRUE(viewModel->monitorLink().watching());
    EXPECT_EQ(viewModel->lastGoodSnapshotAge(), std::nullopt);
    auto cleared = take(ViewModelField::monitorLink);
    ASSERT_EQ(cleared.size(), 1u);
    EXPECT_EQ(motionOf(cleared[0]), MotionName::shellEmphasis);
}

TEST_F(ViewModelMonitorLink, AStateThatWasThereBeforeTheViewModelIsShownAtOnce) {
    backend = std::make_shared<FakeVelmoraBackend>(snapshotWith(rows({"A"})));
    backend->publishLink(exitedWithStatus3(2s));
    viewModel = PopoverViewModel::create(backend, scheduler, catalog, dismissals, 10s, 4s);
    observation = viewModel->observe([this](const ViewModelChange& c) { changes.push_back(c); });
    EXPECT_EQ(viewModel->monitorLink().cause, MonitorLinkCause::exited);
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), 2s);
    scheduler->advance(500ms);
    // The subscription's first value is the same state again: no change.
    EXPECT_TRUE(take(ViewModelField::monitorLink).empty());
    EXPECT_EQ(viewModel->nextMonitorAttemptIn(), 1500ms);
}

TEST_F(ViewModelMonitorLink, RestartMonitorAsksTheBackend) {
    start();
    backend->takeCalls();
    viewModel->restartMonitor();
    EXPECT_EQ(backend->takeCalls(), std::vector<std::string>{"restart monitor"});
}

} // namespace
} // namespace velmora::testing
