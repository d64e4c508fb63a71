// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewModelTestSupport.h"

#include <cmath>
#include <limits>

namespace velmora::testing {
namespace {

const ActionDescriptor restartA{"restart", "Restart", ActionStyle::primary, "A"};
const ActionDescriptor restartB{"restart", "Restart", ActionStyle::primary, "B"};

ActionFeedbackSnapshot feedback(std::string id) {
    return ActionFeedbackSnapshot{std::move(id), ActionFeedbackKind::success, "Restarted", ""};
}

PopoverSnapshot withFeedback(std::optional<ActionFeedbackSnapshot> value) {
    PopoverSnapshot snapshot = snapshotWith(rows({"A"}));
    snapshot.actionFeedback = std::move(value);
    return snapshot;
}

class ViewModelPendingMarks : public ViewModelTest {
protected:
    void SetUp() override { start(snapshotWith(rows({"A", "B"}))); }
};

TEST_F(ViewModelPendingMarks, PressMarksTheActionByIdAndTargetAndCallsTheBackend) {
    viewModel->dispatch(restartA);
    EXPECT_EQ(viewModel->pendingActions(), (std::set<std::string>{"restart::A"}));
    EXPECT_TRUE(viewModel->isActionPending(restartA));
    EXPECT_FALSE(viewModel->isActionPending(restartB));
    EXPECT_EQ(backend->takeCalls(), (Keys{"dispatch restart::A"}));
    EXPECT_EQ(take(ViewModelField::pendingActions).size(), 1u);
}

TEST_F(ViewModelPendingMarks, SecondPressDoesNotExtendTheMark) {
    viewModel->dispatch(restartA);
    scheduler->advance(600ms);
    viewModel->dispatch(restartA);
    EXPECT_EQ(backend->calls().size(), 2u);
    scheduler->advance(599ms);
    EXPECT_TRUE(viewModel->isActionPending(restartA));
    scheduler->advance(1ms);
    EXPECT_FALSE(viewModel->isActionPending(restartA)) << "1.2 s after the first press";
}

TEST_F(ViewModelPendingMarks, MarkSetAfterASnapshotEndsWithTheEarlierPressTimer) {
    viewModel->dispatch(restartA);
    scheduler->advance(500ms);
    publish(snapshotWith(rows({"A", "B"})));
    EXPECT_FALSE(viewModel->isActionPending(restartA));
    scheduler->advance(300ms);
    viewModel->dispatch(restartA);
    scheduler->advance(399ms);
    EXPECT_TRUE(viewModel->isActionPending(restartA));
    scheduler->advance(1ms);
    EXPECT_FALSE(viewModel->isActionPending(restartA)) << "ended at 1.2 s by the first timer";
}

TEST_F(ViewModelPendingMarks, CommandsAreMarkedUntilTheNextSnapshotOrTheirTimer) {
    viewModel->sendCommand(ShellCommand::exportReport);
    EXPECT_TRUE(viewModel->isCommandPending(ShellCommand::exportReport));
    EXPECT_FALSE(viewModel->isCommandPending(ShellCommand::quit));
    EXPECT_EQ(backend->takeCalls(), (Keys{"command export_report"}));
    scheduler->advance(200ms);
    publish(snapshotWith(rows({"A", "B"})));
    EXPECT_FALSE(viewModel->isCommandPending(ShellCommand::exportReport));

    viewModel->sendCommand(ShellCommand::quit);
    scheduler->advance(1200ms);
    EXPECT_TRUE(viewModel->pendingCommands().empty());
}

TEST_F(ViewModelPendingMarks, OpeningADetailSendsSelectDetailWithoutAMark) {
    changes.clear();
    viewModel->openDetail("B");
    EXPECT_EQ(backend->takeCalls(), (Keys{"dispatch select_detail::B"}));
    EXPECT_TRUE(viewModel->pendingActions().empty());
    EXPECT_TRUE(changes.empty());
}

TEST_F(ViewModelPendingMarks, ClosingADetailClosesItAtOnceAndTellsTheBackend) {
    viewModel->closeDetail();
    EXPECT_TRUE(backend->takeCalls().empty()) << "no detail open";

    auto opened = snapshotWith(rows({"A", "B"}));
    opened.selectedDetail = detail("B");
    opened.destructiveConfirmation = DestructiveConfirmationSnapshot{"Force quit?", "", {}, {}};
    publish(opened);
    changes.clear();
    viewModel->closeDetail();
    EXPECT_FALSE(viewModel->snapshot().selectedDetail);
    EXPECT_FALSE(viewModel->snapshot().destructiveConfirmation);
    auto closed = take(ViewModelField::snapshot);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(motionOf(closed[0]), MotionName::detailDismiss);
    EXPECT_EQ(backend->takeCalls(), (Keys{"dispatch dismiss_detail::B"}));
    EXPECT_TRUE(viewModel->pendingActions().empty());
}

class ViewModelFeedback : public ViewModelTest {
protected:
    void SetUp() override { start(snapshotWith(rows({"A"}))); }
};

TEST_F(ViewModelFeedback, RepeatedFeedbackIsShownOnceAndHidesFourSecondsAfterItsArrival) {
    publish(withFeedback(feedback("f1")));
    auto shown = take(ViewModelField::visibleActionFeedback);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(motionOf(shown[0]), MotionName::overlay);
    scheduler->advance(2s);
    publish(withFeedback(feedback("f1")));
    EXPECT_TRUE(take(ViewModelField::visibleActionFeedback).empty());
    scheduler->advance(1999ms);
    EXPECT_TRUE(viewModel->visibleActionFeedback());
    scheduler->advance(1ms);
    EXPECT_FALSE(viewModel->visibleActionFeedback());
    auto hidden = take(ViewModelField::visibleActionFeedback);
    ASSERT_EQ(hidden.size(), 1u);
    EXPECT_EQ(motionOf(hidden[0]), MotionName::overlay);
}

TEST_F(ViewModelFeedback, NewerFeedbackReplacesTheBannerAndKeepsItsOwnTimer) {
    publish(withFeedback(feedback("f1")));
    scheduler->advance(1s);
    publish(withFeedback(feedback("f2")));
    EXPECT_EQ(viewModel->visibleActionFeedback()->id, "f2");
    scheduler->advance(3s);
    EXPECT_EQ(viewModel->visibleActionFeedback()->id, "f2") << "the first timer hides nothing";
    scheduler->advance(1s);
    EXPECT_FALSE(viewModel->visibleActionFeedback());
}

TEST_F(ViewModelFeedback, TheLastPresentedFeedbackIsNeverPresentedAgain) {
    publish(withFeedback(feedback("f1")));
    publish(withFeedback(std::nullopt));
    EXPECT_TRUE(viewModel->visibleActionFeedback()) << "a snapshot without feedback hides nothing";
    scheduler->advance(4s);
    publish(withFeedback(feedback("f1")));
    EXPECT_FALSE(viewModel->visibleActionFeedback());
}

class ViewModelSettings : public ViewModelTest {
protected:
    void SetUp() override { start(snapshotWith(rows({"A"}))); }

    // The interval shown after the call and what reached the backend.
    std::pair<std::uint64_t, Keys> refresh(double seconds) {
        viewModel->updateRefreshInterval(seconds);
        return {viewModel->snapshot().refreshIntervalMs, backend->takeCalls()};
    }
};

TEST_F(ViewModelSettings, RefreshIntervalIsClampedRoundedAndSentInSeconds) {
    EXPECT_EQ(refresh(0.1), (std::pair<std::uint64_t, Keys>{500, {"refresh 0.5"}}));
    EXPECT_EQ(refresh(2.0004), (std::pair<std::uint64_t, Keys>{2000, {"refresh 2.0004"}}));
    EXPECT_EQ(refresh(1.9996), (std::pair<std::uint64_t, Keys>{2000, {}}));
    EXPECT_EQ(refresh(12), (std::pair<std::uint64_t, Keys>{10000, {"refresh 10"}}));
    EXPECT_EQ(refresh(2.0625), (std::pair<std::uint64_t, Keys>{2063, {"refresh 2.0625"}}))
        << "halves round away from zero";
    auto shown = take(ViewModelField::snapshot);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(motionOf(shown.back()), MotionName::settings);
}

TEST_F(ViewModelSettings, RefreshIntervalEqualToTheShownOneSendsNothing) {
    EXPECT_EQ(refresh(1.0004), (std::pair<std::uint64_t, Keys>{1000, {}}));
    EXPECT_TRUE(changes.empty());
}

TEST_F(ViewModelSettings, RefreshIntervalThatIsNotANumberIsRefused) {
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(),
                       -std::numeric_limits<double>::infinity()}) {
        EXPECT_EQ(refresh(bad), (std::pair<std::uint64_t, Keys>{1000, {}}));
    }
}

TEST_F(ViewModelSettings, StorageModeAndEvidenceCaptureChangeOptimistically) {
    viewModel->updateStorageMode(SettingsStorageMode::balanced);
    viewModel->updateEvidenceCaptureEnabled(true);
    EXPECT_TRUE(backend->takeCalls().empty()) << "already shown";
    EXPECT_TRUE(changes.empty());

    viewModel->updateStorageMode(SettingsStorageMode::low);
    EXPECT_EQ(viewModel->snapshot().settings.storageModeLabel, "Low storage");
    viewModel->updateEvidenceCaptureEnabled(false);
    EXPECT_FALSE(viewModel->snapshot().settings.evidenceCaptureEnabled);
    EXPECT_EQ(viewModel->snapshot().settings.evidenceCaptureLine,
              evidenceCaptureLine(SettingsStorageMode::low, false));
    EXPECT_EQ(backend->takeCalls(), (Keys{"storage low", "evidence off"}));
    for (const auto& change : take(ViewModelField::snapshot)) {
        EXPECT_EQ(motionOf(change), MotionName::settings);
    }

    publish(snapshotWith(rows({"A"})));
    EXPECT_EQ(viewModel->snapshot().settings.storageMode, SettingsStorageMode::balanced)
        << "the next snapshot is taken as it comes";
}

} // namespace
} // namespace velmora::testing
