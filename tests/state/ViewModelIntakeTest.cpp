// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewModelTestSupport.h"

#include <thread>

namespace velmora::testing {
namespace {

class ViewModelFocusHold : public ViewModelTest {
protected:
    void SetUp() override { start(snapshotWith(rows({"A", "B"}))); }
};

TEST_F(ViewModelFocusHold, FirstDeliveryEqualToTheInitialSnapshotChangesNothing) {
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"}));
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(viewModel->highlightedCriticalKeys().empty());
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
}

TEST_F(ViewModelFocusHold, NewTopIsHeldWithFreshContentThenShownAfterTheDelay) {
    auto swapped = snapshotWith(rows({"B", "A"}));
    swapped.rows[1].rate = "+4 MB/min";
    publish(swapped);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"}));
    EXPECT_EQ(viewModel->snapshot().rows[0].rate, "+4 MB/min");
    auto held = take(ViewModelField::snapshot);
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(motionOf(held[0]), std::nullopt) << "same keys on screen: a quiet assignment";

    scheduler->advance(9999ms);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"}));
    scheduler->advance(1ms);
    EXPECT_EQ(shownKeys(), (Keys{"B", "A"}));
    auto flipped = take(ViewModelField::snapshot);
    ASSERT_EQ(flipped.size(), 1u);
    EXPECT_EQ(motionOf(flipped[0]), MotionName::shellRefresh);
}

TEST_F(ViewModelFocusHold, FlipWithACriticalToneUsesTheEmphasisMotion) {
    auto swapped = snapshotWith(rows({"B", "A"}));
    swapped.globalTone = SnapshotTone::critical;
    publish(swapped);
    changes.clear();
    scheduler->advance(10s);
    auto flipped = take(ViewModelField::snapshot);
    ASSERT_EQ(flipped.size(), 1u);
    EXPECT_EQ(motionOf(flipped[0]), MotionName::shellEmphasis);
}

TEST_F(ViewModelFocusHold, ReturnToTheOriginalOrderEndsTheHoldAtOnce) {
    publish(snapshotWith(rows({"B", "A"})));
    scheduler->advance(4s);
    publish(snapshotWith(rows({"A", "B"})));
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"}));
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
    changes.clear();
    scheduler->advance(20s);
    EXPECT_TRUE(changes.empty());
}

TEST_F(ViewModelFocusHold, TopRowGoneEndsTheHoldAtOnce) {
    publish(snapshotWith(rows({"B", "A"})));
    publish(snapshotWith(rows({"B", "C"})));
    EXPECT_EQ(shownKeys(), (Keys{"B", "C"}));
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
}

TEST_F(ViewModelFocusHold, ChangedHeldTopRestartsTheTimerAndAnUnchangedOneDoesNot) {
    publish(snapshotWith(rows({"B", "A"})));
    scheduler->advance(3s);
    publish(snapshotWith(rows({"B", "A"}))); // same held top: the timer keeps running
    scheduler->advance(2s);
    publish(snapshotWith(rows({"C", "A", "B"})));
    EXPECT_EQ(shownKeys(), (Keys{"A", "B", "C"}));
    scheduler->advance(9999ms);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B", "C"}));
    scheduler->advance(1ms);
    EXPECT_EQ(shownKeys(), (Keys{"C", "A", "B"}));

    publish(snapshotWith(rows({"A", "C"})));
    scheduler->advance(3s);
    publish(snapshotWith(rows({"A", "C"})));
    scheduler->advance(7s);
    EXPECT_EQ(shownKeys(), (Keys{"A", "C"})) << "flip 10 s after the first change of top";
}

TEST_F(ViewModelFocusHold, OpenDetailKeepsTheOnScreenOrderWithoutATimer) {
    auto opened = snapshotWith(rows({"C", "B", "A"}));
    opened.selectedDetail = detail("B");
    publish(opened);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B", "C"}));
    auto change = take(ViewModelField::snapshot);
    ASSERT_EQ(change.size(), 1u);
    EXPECT_EQ(motionOf(change[0]), MotionName::detail);
    scheduler->advance(30s);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B", "C"}));
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
}

TEST_F(ViewModelFocusHold, DetailArrivingDuringAHoldEndsIt) {
    publish(snapshotWith(rows({"B", "A"})));
    auto opened = snapshotWith(rows({"B", "A"}));
    opened.selectedDetail = detail("A");
    publish(opened);
    scheduler->advance(30s);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"}));
}

TEST_F(ViewModelFocusHold, EmptyRowsEndTheHoldAndAreShown) {
    publish(snapshotWith(rows({"B", "A"})));
    publish(snapshotWith({}));
    EXPECT_TRUE(shownKeys().empty());
    EXPECT_EQ(scheduler->scheduledTimerCount(), 0u);
    publish(snapshotWith(rows({"B", "A"})));
    EXPECT_EQ(shownKeys(), (Keys{"B", "A"})) << "nothing on screen to hold";
}

TEST_F(ViewModelFocusHold, RepeatedKeysKeepTheFirstRowOfEachKey) {
    auto repeated = snapshotWith(rows({"A", "B", "A", "C", "B"}));
    repeated.rows[0].rate = "first";
    repeated.rows[2].rate = "second";
    publish(repeated);
    EXPECT_EQ(shownKeys(), (Keys{"A", "B", "C"}));
    EXPECT_EQ(viewModel->snapshot().rows[0].rate, "first");

    auto swapped = snapshotWith(rows({"C", "C", "A"}));
    publish(swapped);
    EXPECT_EQ(shownKeys(), (Keys{"A", "C"}));
    scheduler->advance(10s);
    EXPECT_EQ(shownKeys(), (Keys{"C", "A"}));
}

class ViewModelCommit : public ViewModelTest {
protected:
    void SetUp() override { start(snapshotWith(rows({"A"}))); }

    std::optional<MotionName> motionAfter(const PopoverSnapshot& next) {
        changes.clear();
        publish(next);
        auto committed = take(ViewModelField::snapshot);
        EXPECT_EQ(committed.size(), 1u);
        return committed.empty() ? std::nullopt : motionOf(committed[0]);
    }
};

TEST_F(ViewModelCommit, ChoosesTheMotionByWhatChanged) {
    auto next = snapshotWith(rows({"A"}));
    next.footerTelemetry.storageText = "12 MB";
    next.incident.headline = "Growing";
    EXPECT_EQ(motionAfter(next), std::nullopt) << "outside the compared fields";

    next.summaryText = "1 SUSPECT";
    EXPECT_EQ(motionAfter(next), MotionName::shellRefresh);
    next.refreshIntervalMs = 2000;
    EXPECT_EQ(motionAfter(next), MotionName::shellRefresh);

    next.destructiveConfirmation = DestructiveConfirmationSnapshot{"Force quit?", "", {}, {}};
    next.globalTone = SnapshotTone::critical;
    EXPECT_EQ(motionAfter(next), MotionName::overlay) << "confirmation before tone";
    next.destructiveConfirmation->message = "changed text, same title";
    next.globalTone = SnapshotTone::suspect;
    EXPECT_EQ(motionAfter(next), MotionName::shellEmphasis) << "the old tone was critical";

    next.selectedDetail = detail("A");
    next.destructiveConfirmation.reset();
    EXPECT_EQ(motionAfter(next), MotionName::detail) << "detail before confirmation";
    next.selectedDetail = detail("B");
    EXPECT_EQ(motionAfter(next), MotionName::detail);
    next.selectedDetail.reset();
    EXPECT_EQ(motionAfter(next), MotionName::detailDismiss);

    changes.clear();
    publish(next);
    EXPECT_TRUE(changes.empty()) << "an identical snapshot reports nothing";
}

TEST_F(ViewModelCommit, EveryDeliveredSnapshotEndsPendingMarks) {
    viewModel->dispatch(ActionDescriptor{"restart", "Restart", ActionStyle::primary, "A"});
    viewModel->sendCommand(ShellCommand::exportReport);
    publish(snapshotWith(rows({"A"})));
    EXPECT_TRUE(viewModel->pendingActions().empty());
    EXPECT_TRUE(viewModel->pendingCommands().empty());
}

class ViewModelHighlight : public ViewModelTest {
protected:
    void SetUp() override { start(snapshotWith(rows({"A", "B"}))); }

    void publishSeverities(FindingSeverity a, FindingSeverity b) {
        publish(snapshotWith({row("A", a), row("B", b)}));
    }
};

TEST_F(ViewModelHighlight, RowTurningCriticalIsHighlightedFor2800Milliseconds) {
    publishSeverities(FindingSeverity::critical, FindingSeverity::watch);
    EXPECT_TRUE(viewModel->isHighlighted("A"));
    EXPECT_FALSE(viewModel->isHighlighted("B"));
    scheduler->advance(1s);
    publishSeverities(FindingSeverity::critical, FindingSeverity::watch); // still critical
    scheduler->advance(1799ms);
    EXPECT_TRUE(viewModel->isHighlighted("A"));
    changes.clear();
    scheduler->advance(1ms);
    EXPECT_FALSE(viewModel->isHighlighted("A"));
    EXPECT_EQ(take(ViewModelField::highlightedCriticalKeys).size(), 1u);
}

TEST_F(ViewModelHighlight, TurningCriticalAgainRestartsTheFullHighlight) {
    publishSeverities(FindingSeverity::critical, FindingSeverity::watch);
    scheduler->advance(1s);
    publishSeverities(FindingSeverity::suspect, FindingSeverity::watch);
    EXPECT_TRUE(viewModel->isHighlighted("A")) << "cooling down does not end the highlight";
    scheduler->advance(1s);
    publishSeverities(FindingSeverity::critical, FindingSeverity::critical);
    scheduler->advance(2799ms);
    EXPECT_EQ(viewModel->highlightedCriticalKeys(), (std::set<std::string>{"A", "B"}));
    scheduler->advance(1ms);
    EXPECT_TRUE(viewModel->highlightedCriticalKeys().empty());
}

TEST_F(ViewModelHighlight, NewRowThatArrivesCriticalIsHighlighted) {
    publish(snapshotWith({row("A"), row("B"), row("C", FindingSeverity::critical)}));
    EXPECT_EQ(viewModel->highlightedCriticalKeys(), (std::set<std::string>{"C"}));
}

TEST(ViewModelLifetime, ReleasedViewModelIgnoresLateSnapshotsAndTimers) {
    auto scheduler = std::make_shared<ManualScheduler>();
    auto backend = std::make_shared<FakeVelmoraBackend>(snapshotWith(rows({"A", "B"})));
    auto viewModel = PopoverViewModel::create(
        backend, scheduler, {}, std::make_shared<MemoryVerdictTooltipDismissalStore>(), 10s, 4s);
    scheduler->runPending();
    backend->publish(snapshotWith({row("B", FindingSeverity::critical), row("A")}));
    std::weak_ptr<PopoverViewModel> weak = viewModel;
    viewModel.reset();
    EXPECT_TRUE(weak.expired()) << "posted deliveries and timers hold it weakly";
    EXPECT_EQ(backend->subscriberCount(), 0u);
    scheduler->advance(30s);
    backend->publish(snapshotWith(rows({"C"})));
    scheduler->runPending();
}

TEST_F(ViewModelFocusHold, SnapshotsPublishedOnAnotherThreadAreAppliedOnTheMainThread) {
    std::thread worker([&] { backend->publish(snapshotWith(rows({"A", "B", "C"}))); });
    worker.join();
    EXPECT_EQ(shownKeys(), (Keys{"A", "B"})) << "nothing applied before the main thread runs";
    scheduler->runPending();
    EXPECT_EQ(shownKeys(), (Keys{"A", "B", "C"}));
}

} // namespace
} // namespace velmora::testing
