// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverRootBinding.h"

#include "demo/MockVelmoraBackend.h"
#include "demo/ScenarioLibrary.h"
#include "state/ManualScheduler.h"
#include "state/PopoverViewModel.h"
#include "state/VerdictTooltipDismissalStore.h"
#include "support/ViewTestSupport.h"
#include "views/findings/SupportingFindingRow.h"
#include "views/kit/AccessibleValue.h"
#include "views/kit/FooterCommandButton.h"
#include "views/popover/LiveTriageList.h"
#include "views/popover/PopoverRootView.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;

class PopoverRootBindingTest : public ::testing::Test {
protected:
    PopoverRootBindingTest()
        : scheduler(std::make_shared<ManualScheduler>()),
          backend(std::make_shared<MockVelmoraBackend>(ScenarioLibrary::multiRowSuspect())),
          viewModel(PopoverViewModel::create(backend, scheduler, VerdictTooltipCatalog{},
                                             std::make_shared<MemoryVerdictTooltipDismissalStore>(),
                                             10s, 4s)),
          binding(root, viewModel, [this] { ++settingsOpened; }) {
        scheduler->runPending();
        root.show();
    }

    FooterCommandButton* command(const char* role) {
        return root.findChild<FooterCommandButton*>(QStringLiteral("footerCommand_%1").arg(role));
    }

    std::shared_ptr<ManualScheduler> scheduler;
    std::shared_ptr<MockVelmoraBackend> backend;
    std::shared_ptr<PopoverViewModel> viewModel;
    PopoverRootView root;
    int settingsOpened = 0;
    PopoverRootBinding binding;
};

TEST_F(PopoverRootBindingTest, ExportIsWorkingUntilTheBackendAnswers) {
    ASSERT_NE(command("exportReport"), nullptr);
    command("exportReport")->click();
    EXPECT_TRUE(viewModel->isCommandPending(ShellCommand::exportReport));
    EXPECT_EQ(accessibleValue(command("exportReport")), "Working");
    EXPECT_FALSE(command("exportReport")->isEnabled());
    scheduler->runPending(); // the backend's answer
    scheduler->advance(1300ms);
    EXPECT_EQ(accessibleValue(command("exportReport")), "Ready");
    EXPECT_TRUE(command("exportReport")->isEnabled());
}

TEST_F(PopoverRootBindingTest, HistoryButtonOpensTheAdvancedSurfaceAndBack) {
    command("advancedHistory")->click();
    scheduler->runPending();
    EXPECT_EQ(viewModel->surface(), PopoverSurface::advanced);
    EXPECT_TRUE(root.findChild<QWidget*>("advancedHistoryView")->isVisibleTo(&root));
    EXPECT_EQ(accessibleValue(command("advancedHistory")), "Active");
    command("advancedHistory")->click();
    scheduler->runPending();
    EXPECT_EQ(viewModel->surface(), PopoverSurface::live);
    EXPECT_TRUE(root.findChild<QWidget*>("liveList")->isVisibleTo(&root));
}

TEST_F(PopoverRootBindingTest, ThePopoverRendersTheViewModelsOwnStateAfterEveryChange) {
    EXPECT_EQ(static_cast<const PopoverState&>(root.state()), viewModel->state());
    command("advancedHistory")->click();
    scheduler->runPending();
    ASSERT_EQ(viewModel->surface(), PopoverSurface::advanced);
    EXPECT_EQ(static_cast<const PopoverState&>(root.state()), viewModel->state());
    EXPECT_EQ(root.state().activeSummaryText(), viewModel->activeSummaryText());
}

TEST_F(PopoverRootBindingTest, OpeningADetailAndEscapeGoesBack) {
    // The multi-row scenario is in the focused layout: the summary opens the first other row.
    PopoverRenderState state = renderStateOf(*viewModel);
    ASSERT_TRUE(isFocusedIncidentLayout(state.snapshot));
    auto* summary = root.findChild<QAbstractButton*>("supportingFindingsSummary");
    ASSERT_NE(summary, nullptr);
    summary->click();
    scheduler->runPending();
    ASSERT_TRUE(viewModel->snapshot().selectedDetail.has_value());
    QWidget* detail = root.findChild<QWidget*>("detailView");
    EXPECT_TRUE(detail->isVisibleTo(&root));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(detail, &escape);
    scheduler->runPending();
    EXPECT_FALSE(viewModel->snapshot().selectedDetail.has_value());
    EXPECT_TRUE(root.findChild<QWidget*>("liveList")->isVisibleTo(&root));
}

TEST_F(PopoverRootBindingTest, SettingsGoesToTheAppNotToTheBackend) {
    // Settings is offered only outside the focused live layout: open the history first.
    command("advancedHistory")->click();
    scheduler->runPending();
    ASSERT_NE(command("openSettings"), nullptr);
    command("openSettings")->click();
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_FALSE(viewModel->isCommandPending(ShellCommand::openSettings));
}

} // namespace
} // namespace velmora
