// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverRootView.h"

#include "support/ViewTestSupport.h"
#include "views/findings/SupportingFindingRow.h"
#include "views/findings/SupportingFindingsSummary.h"
#include "views/kit/ActionCapsuleButton.h"
#include "views/kit/FooterCommandButton.h"
#include "views/kit/MotionAnimator.h"
#include "views/kit/PlainTextButton.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/LiveTriageList.h"
#include "views/relief/ConfirmationOverlay.h"
#include "views/relief/ReliefPlanStrip.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::findByObjectName;

FindingSnapshot row(const std::string& key, FindingSeverity severity = FindingSeverity::suspect) {
    FindingSnapshot finding;
    finding.key = key;
    finding.title = "Process " + key;
    finding.severity = severity;
    return finding;
}

PopoverRenderState listState(int rows) {
    PopoverRenderState state;
    for (int i = 0; i < rows; ++i) {
        state.snapshot.rows.push_back(row("r" + std::to_string(i + 1)));
    }
    state.snapshot.recentFindings.push_back(
        {"old", "Old process", "Cleared", "Stopped growing", "2m ago", FindingSeverity::watch, {}});
    return state;
}

PopoverRenderState focusedState(int rows) {
    PopoverRenderState state = listState(rows);
    state.snapshot.incident.stage = IncidentStage::strongSignal;
    state.snapshot.incident.headline = "Chrome is the lead memory suspect";
    return state;
}

ReliefPlanSnapshot reliefPlan(std::string headline, std::vector<bool> recommended) {
    ReliefPlanSnapshot plan;
    plan.urgency = ReliefUrgencyTone::actNow;
    plan.headline = std::move(headline);
    for (std::size_t i = 0; i < recommended.size(); ++i) {
        plan.candidates.push_back({"c" + std::to_string(i), "Candidate", "1 GB",
                                   "Detail " + std::to_string(i), recommended[i],
                                   ActionDescriptor{"restart", "Restart now", ActionStyle::warning,
                                                    "c" + std::to_string(i)}});
    }
    return plan;
}

bool shown(const QWidget* root, const char* name) {
    const QWidget* widget = findByObjectName(root, QString::fromLatin1(name));
    return widget != nullptr && widget->isVisibleTo(root);
}

class PopoverRootViewTest : public ::testing::Test {
protected:
    PopoverRootViewTest() {
        root.setCallbacks(callbacks());
        root.show();
    }

    PopoverCallbacks callbacks() {
        PopoverCallbacks c;
        c.dispatch = [this](const ActionDescriptor& action) { dispatched.push_back(action); };
        c.sendCommand = [this](ShellCommand command) { commands.push_back(command); };
        c.openSettings = [this] { ++settingsOpened; };
        c.toggleAdvancedHistory = [this] { ++toggles; };
        c.openDetail = [this](const std::string& key) { openedDetails.push_back(key); };
        c.closeDetail = [this] { ++closes; };
        c.dismissActiveVerdictTooltip = [this] { ++dismissals; };
        return c;
    }

    PopoverRootView root;
    std::vector<ActionDescriptor> dispatched;
    std::vector<ShellCommand> commands;
    std::vector<std::string> openedDetails;
    int settingsOpened = 0, toggles = 0, closes = 0, dismissals = 0;
};

TEST_F(PopoverRootViewTest, ListLayoutShowsSummaryRowsTwoAndThreeAndRecentFindings) {
    root.render(listState(5));
    EXPECT_TRUE(shown(&root, "systemStateHeader"));
    EXPECT_TRUE(shown(&root, "summaryStrip"));
    EXPECT_TRUE(shown(&root, "recentFindingsSection"));
    EXPECT_FALSE(shown(&root, "supportingFindingsSummary"));
    testing::settle();
    const auto rows = root.liveList()->rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]->finding().key, "r2");
    EXPECT_EQ(rows[1]->finding().key, "r3");
    EXPECT_LT(rows[0]->y(), rows[1]->y());
    EXPECT_TRUE(shown(&root, "footerChips"));
}

TEST_F(PopoverRootViewTest, FocusedLayoutSummarisesEveryOtherRowAndHidesSummaryAndRecent) {
    root.render(focusedState(5));
    EXPECT_FALSE(shown(&root, "summaryStrip"));
    EXPECT_FALSE(shown(&root, "recentFindingsSection"));
    EXPECT_TRUE(root.liveList()->rows().empty());
    ASSERT_TRUE(shown(&root, "supportingFindingsSummary"));
    EXPECT_EQ(root.liveList()->supportingSummary()->findings().size(), 4u);
    EXPECT_FALSE(shown(&root, "footerChips"));
}

TEST_F(PopoverRootViewTest, NoOrOneRowGivesNoSupportingRows) {
    for (int count : {0, 1}) {
        root.render(listState(count));
        EXPECT_TRUE(root.liveList()->rows().empty()) << count;
        root.render(focusedState(count));
        EXPECT_FALSE(shown(&root, "supportingFindingsSummary")) << count;
    }
}

TEST_F(PopoverRootViewTest, SectionsFollowTheirOrder) {
    PopoverRenderState state = listState(3);
    state.activeVerdictTooltip = VerdictTooltip{"suspect", "Suspect", "m", "w", "p"};
    state.visibleActionFeedback =
        ActionFeedbackSnapshot{"f1", ActionFeedbackKind::success, "Done", "Ok"};
    root.render(state);
    const char* order[] = {"systemStateHeader", "summaryStrip",          "verdictOnboardingTooltip",
                           "mainArea",          "recentFindingsSection", "actionFeedbackBanner",
                           "footerTelemetry"};
    int lastY = -1;
    for (const char* name : order) {
        QWidget* widget = findByObjectName(root.card(), QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_TRUE(widget->isVisibleTo(&root)) << name;
        const int y = widget->mapTo(root.card(), QPoint()).y();
        EXPECT_GT(y, lastY) << name;
        lastY = y;
    }
}

TEST_F(PopoverRootViewTest, ReliefStripShowsOnlyWithACandidateAndADifferentHeadline) {
    PopoverRenderState state = focusedState(2);
    state.snapshot.relief = reliefPlan(state.snapshot.incident.headline, {true});
    root.render(state);
    EXPECT_FALSE(shown(&root, "reliefPlanStrip"));
    state.snapshot.relief = reliefPlan("Free memory", {});
    root.render(state);
    EXPECT_FALSE(shown(&root, "reliefPlanStrip"));
    state.snapshot.relief = reliefPlan("Free memory", {false, false});
    root.render(state);
    ASSERT_TRUE(shown(&root, "reliefPlanStrip"));
    EXPECT_EQ(findByObjectName<VelmoraText>(&root, "reliefDetail")->text(), "Detail 0");
    state.snapshot.relief = reliefPlan("Free memory", {false, true});
    root.render(state);
    EXPECT_EQ(findByObjectName<VelmoraText>(&root, "reliefDetail")->text(), "Detail 1");
}

TEST_F(PopoverRootViewTest, ReliefActionIsPendingDisabledAndDispatchesWhenReady) {
    PopoverRenderState state = focusedState(2);
    state.snapshot.relief = reliefPlan("Free memory", {true});
    root.render(state);
    auto* button = root.liveList()->reliefStrip()->actionButton();
    EXPECT_EQ(button->labelText(), "Restart");
    button->click();
    ASSERT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(dispatched[0].targetKey, "c0");
    state.pendingActions = {"restart::c0"};
    root.render(state);
    EXPECT_TRUE(button->isPending());
    EXPECT_FALSE(button->isEnabled());
    button->click();
    EXPECT_EQ(dispatched.size(), 1u);
    EXPECT_EQ(findByObjectName<VelmoraText>(&root, "reliefHeadline")->text(), "Free memory");
}

TEST_F(PopoverRootViewTest, AdvancedSurfaceHidesTooltipRecentAndDetail) {
    PopoverRenderState state = listState(3);
    state.activeVerdictTooltip = VerdictTooltip{"suspect", "Suspect", "m", "w", "p"};
    state.snapshot.selectedDetail = DetailSnapshot{};
    state.surface = PopoverSurface::advanced;
    root.render(state);
    EXPECT_TRUE(shown(&root, "advancedHistoryView"));
    EXPECT_FALSE(shown(&root, "detailView"));
    EXPECT_FALSE(shown(&root, "liveList"));
    EXPECT_FALSE(shown(&root, "verdictOnboardingTooltip"));
    EXPECT_FALSE(shown(&root, "recentFindingsSection"));
    EXPECT_TRUE(root.findChild<FooterCommandButton*>("footerCommand_advancedHistory")->isActive());
}

TEST_F(PopoverRootViewTest, SelectedDetailReplacesTheLiveList) {
    PopoverRenderState state = listState(3);
    state.snapshot.selectedDetail = DetailSnapshot{};
    root.render(state);
    EXPECT_TRUE(shown(&root, "detailView"));
    EXPECT_FALSE(shown(&root, "liveList"));
    state.snapshot.selectedDetail.reset();
    root.render(state);
    EXPECT_TRUE(shown(&root, "liveList"));
    EXPECT_FALSE(shown(&root, "detailView"));
}

TEST_F(PopoverRootViewTest, ConfirmationCoversTheCardWhichStaysRendered) {
    PopoverRenderState state = listState(3);
    DestructiveConfirmationSnapshot confirmation;
    confirmation.title = "Force quit?";
    confirmation.message = "Unsaved work will be lost.";
    confirmation.confirmAction = {"confirm_force_quit", "Quit", ActionStyle::destructive, "r1"};
    confirmation.cancelAction = {"cancel_force_quit", "Quit", ActionStyle::secondary, "r1"};
    state.snapshot.destructiveConfirmation = confirmation;
    root.render(state);
    ConfirmationOverlay* overlay = root.confirmationOverlay();
    ASSERT_TRUE(overlay->isVisibleTo(&root));
    EXPECT_EQ(overlay->geometry(), root.rect());
    EXPECT_TRUE(shown(&root, "liveList"));
    EXPECT_EQ(overlay->dialog()->width(), 280);
    // Both buttons read "Quit"; each still sends its own action.
    findByObjectName<PlainTextButton>(overlay, "confirmationCancel")->click();
    findByObjectName<PlainTextButton>(overlay, "confirmationConfirm")->click();
    ASSERT_EQ(dispatched.size(), 2u);
    EXPECT_EQ(dispatched[0].id, "cancel_force_quit");
    EXPECT_EQ(dispatched[1].id, "confirm_force_quit");
    state.snapshot.destructiveConfirmation.reset();
    root.render(state);
    EXPECT_FALSE(overlay->isVisibleTo(&root));
}

TEST_F(PopoverRootViewTest, RowsKeepTheirWidgetsByKeyAcrossARefresh) {
    PopoverRenderState state = listState(3);
    root.render(state);
    SupportingFindingRow* second = root.liveList()->rows()[0];
    SupportingFindingRow* third = root.liveList()->rows()[1];
    std::swap(state.snapshot.rows[1], state.snapshot.rows[2]);
    state.snapshot.rows[1].title = "Renamed";
    root.render(state);
    ASSERT_EQ(root.liveList()->rows().size(), 2u);
    EXPECT_EQ(root.liveList()->rows()[0], third);
    EXPECT_EQ(root.liveList()->rows()[1], second);
    EXPECT_EQ(third->finding().title, "Renamed");
}

TEST_F(PopoverRootViewTest, AnUnchangedRefreshCreatesNothingPaintsNothingAndAnimatesNothing) {
    PopoverRenderState state = focusedState(3);
    state.snapshot.relief = reliefPlan("Free memory", {true});
    root.render(state);
    root.render(listState(4));
    root.render(state);
    testing::settle();
    testing::settle();
    testing::PaintCounter before(&root);
    testing::settle();
    EXPECT_EQ(before.count(), 0) << "still settling";
    const int widgets = testing::widgetCount(&root);
    testing::PaintCounter paints(&root);
    const int motions = MotionAnimator::startedCount();
    root.render(state);
    root.render(state);
    testing::settle();
    EXPECT_EQ(testing::widgetCount(&root), widgets);
    EXPECT_EQ(paints.count(), 0);
    EXPECT_EQ(MotionAnimator::startedCount(), motions);
}

TEST_F(PopoverRootViewTest, RowAndSummaryOpenTheFindingsDetail) {
    root.render(listState(3));
    root.liveList()->rows()[1]->click();
    root.render(focusedState(3));
    root.liveList()->supportingSummary()->click();
    EXPECT_EQ(openedDetails, (std::vector<std::string>{"r3", "r2"}));
}

TEST_F(PopoverRootViewTest, FooterCommandsGoToTheirCallbacks) {
    root.render(listState(1));
    root.findChild<FooterCommandButton*>("footerCommand_openSettings")->click();
    root.findChild<FooterCommandButton*>("footerCommand_quit")->click();
    root.findChild<FooterCommandButton*>("footerCommand_exportReport")->click();
    root.findChild<FooterCommandButton*>("footerCommand_advancedHistory")->click();
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(commands,
              (std::vector<ShellCommand>{ShellCommand::quit, ShellCommand::exportReport}));
    EXPECT_EQ(toggles, 1);
}

TEST_F(PopoverRootViewTest, PopoverIsFourHundredFortyEightWideAndFitsItsContent) {
    root.render(listState(1));
    const int shortHeight = root.height();
    root.render(listState(3));
    EXPECT_EQ(root.width(), 448);
    EXPECT_GT(root.height(), shortHeight);
    EXPECT_EQ(root.size(), root.popoverSize());
}

} // namespace
} // namespace velmora
