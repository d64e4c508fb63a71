// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewModelTestSupport.h"

#include <thread>

namespace velmora::testing {
namespace {

AdvancedHistorySnapshot listOf(std::size_t offenders) {
    AdvancedHistorySnapshot history;
    for (std::size_t i = 0; i < offenders; ++i) {
        HistoricalOffenderSummarySnapshot offender;
        offender.key = "offender-" + std::to_string(i);
        history.offenders.push_back(offender);
    }
    return history;
}

AdvancedHistorySnapshot offenderHistory(std::string title) {
    AdvancedHistorySnapshot history = listOf(2);
    HistoricalOffenderDetailSnapshot detail;
    detail.key = "offender-0";
    detail.title = std::move(title);
    history.selectedDetail = detail;
    return history;
}

class ViewModelHistory : public ViewModelTest {
protected:
    void SetUp() override {
        auto initial = snapshotWith(rows({"A"}));
        initial.summaryText = "1 SUSPECT";
        start(initial);
    }

    void complete(std::size_t index, HistoryResult result) {
        backend->completeHistory(index, std::move(result));
        scheduler->runPending();
    }
};

TEST_F(ViewModelHistory, OpeningShowsTheSurfaceLoadingThenTheList) {
    viewModel->openAdvancedHistory();
    EXPECT_EQ(viewModel->surface(), PopoverSurface::advanced);
    EXPECT_TRUE(viewModel->isAdvancedHistoryLoading());
    EXPECT_EQ(backend->takeCalls(), (Keys{"history -"}));
    EXPECT_EQ(viewModel->activeSummaryText(), "LOADING ADVANCED HISTORY");
    auto opened = take(ViewModelField::surface);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(motionOf(opened[0]), MotionName::detail);

    complete(0, listOf(3));
    EXPECT_FALSE(viewModel->isAdvancedHistoryLoading());
    EXPECT_EQ(viewModel->advancedHistory(), listOf(3));
    EXPECT_EQ(viewModel->activeSummaryText(), "3 RECURRING ISSUES");
    auto arrived = take(ViewModelField::advancedHistory);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(motionOf(arrived[0]), MotionName::shellRefresh);
}

TEST_F(ViewModelHistory, OffenderChosenBeforeTheListArrivesWins) {
    viewModel->openAdvancedHistory();
    viewModel->loadAdvancedHistory("offender-0");
    EXPECT_EQ(backend->takeCalls(), (Keys{"history -", "history offender-0"}));
    complete(0, listOf(3));
    EXPECT_FALSE(viewModel->advancedHistory());
    EXPECT_TRUE(viewModel->isAdvancedHistoryLoading()) << "a stale answer leaves no trace";
    changes.clear();
    complete(1, offenderHistory("Web Content"));
    EXPECT_EQ(viewModel->advancedHistory(), offenderHistory("Web Content"));
    EXPECT_FALSE(viewModel->isAdvancedHistoryLoading());
    auto arrived = take(ViewModelField::advancedHistory);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(motionOf(arrived[0]), MotionName::detail);
}

TEST_F(ViewModelHistory, CloseAndReopenDiscardsTheFirstAnswer) {
    viewModel->toggleAdvancedHistory();
    viewModel->toggleAdvancedHistory();
    EXPECT_EQ(viewModel->surface(), PopoverSurface::live);
    EXPECT_TRUE(viewModel->isAdvancedHistoryLoading()) << "closing keeps the request";
    EXPECT_EQ(viewModel->activeSummaryText(), "1 SUSPECT");
    viewModel->toggleAdvancedHistory();
    complete(0, listOf(1));
    EXPECT_TRUE(viewModel->isAdvancedHistoryLoading());
    EXPECT_FALSE(viewModel->advancedHistory());
    complete(1, listOf(1));
    EXPECT_FALSE(viewModel->isAdvancedHistoryLoading());
    EXPECT_EQ(viewModel->activeSummaryText(), "1 RECURRING ISSUE");
}

TEST_F(ViewModelHistory, AnswerArrivingAfterClosingIsStillStored) {
    viewModel->openAdvancedHistory();
    viewModel->toggleAdvancedHistory();
    complete(0, listOf(2));
    EXPECT_EQ(viewModel->advancedHistory(), listOf(2));
}

TEST_F(ViewModelHistory, FailedOffenderRequestKeepsTheListAndShowsTheMessage) {
    viewModel->openAdvancedHistory();
    complete(0, listOf(2));
    viewModel->loadAdvancedHistory("offender-1");
    complete(1, BackendRequestError{"history store is busy"});
    EXPECT_EQ(viewModel->advancedHistory(), listOf(2));
    EXPECT_EQ(viewModel->advancedHistoryError(), "history store is busy");
    EXPECT_FALSE(viewModel->isAdvancedHistoryLoading());

    viewModel->loadAdvancedHistory("offender-1");
    EXPECT_EQ(viewModel->advancedHistoryError(), "history store is busy")
        << "an offender request clears the error only on success";
    complete(2, offenderHistory("Builder"));
    EXPECT_FALSE(viewModel->advancedHistoryError());
}

TEST_F(ViewModelHistory, ListRequestAndClosingClearTheError) {
    viewModel->openAdvancedHistory();
    complete(0, BackendRequestError{"offline"});
    viewModel->loadAdvancedHistory(std::nullopt);
    EXPECT_FALSE(viewModel->advancedHistoryError());
    complete(1, BackendRequestError{"offline"});
    changes.clear();
    viewModel->toggleAdvancedHistory();
    EXPECT_FALSE(viewModel->advancedHistoryError());
    auto closed = take(ViewModelField::surface);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_TRUE(closed[0].has(ViewModelField::advancedHistoryError));
    EXPECT_EQ(motionOf(closed[0]), MotionName::detailDismiss);
}

TEST_F(ViewModelHistory, SummaryTextFollowsThePayloadOnScreen) {
    viewModel->openAdvancedHistory();
    complete(0, offenderHistory("Caf\xC3\xA9 Helper"));
    EXPECT_EQ(viewModel->activeSummaryText(), "CAF\xC3\x89 HELPER HISTORY");
    viewModel->loadAdvancedHistory(std::nullopt);
    EXPECT_EQ(viewModel->activeSummaryText(), "CAF\xC3\x89 HELPER HISTORY")
        << "the offender payload stays until the list arrives";
    complete(1, listOf(0));
    EXPECT_EQ(viewModel->activeSummaryText(), "ADVANCED HISTORY");
}

TEST_F(ViewModelHistory, CompletionOnAnotherThreadIsAppliedOnTheMainThread) {
    viewModel->openAdvancedHistory();
    std::thread worker([&] { backend->completeHistory(0, listOf(1)); });
    worker.join();
    EXPECT_FALSE(viewModel->advancedHistory());
    scheduler->runPending();
    EXPECT_EQ(viewModel->advancedHistory(), listOf(1));
}

TEST_F(ViewModelHistory, AnswerAfterTheViewModelIsReleasedDoesNothing) {
    viewModel->openAdvancedHistory();
    observation.reset();
    viewModel.reset();
    std::thread worker([&] { backend->completeHistory(0, listOf(1)); });
    worker.join();
    EXPECT_EQ(scheduler->runPending(), 1u);
}

} // namespace
} // namespace velmora::testing
