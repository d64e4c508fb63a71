// SPDX-License-Identifier: GPL-3.0-or-later
// Every popover state the scenario library and the view model can show, rendered at the app's
// 448-pixel width inside the app's own hosting, in light and dark: no text may run past its
// widget or lose its characters without an ellipsis, no child may lie outside its parent, and
// a second identical render must not change any height.

#include "support/LayoutAudit.h"

#include "demo/ScenarioLibrary.h"
#include "state/VerdictTooltipCatalog.h"
#include "support/ViewTestSupport.h"
#include "views/detail/DetailView.h"
#include "views/kit/VelmoraPalette.h"
#include "views/kit/VelmoraText.h"
#include "views/popover/NotWatchingNotice.h"
#include "views/popover/PopoverHost.h"
#include "views/popover/PopoverRootView.h"

#include <QBoxLayout>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace velmora {
namespace {

namespace S = ScenarioLibrary;

struct AuditCase {
    std::string name;
    std::function<PopoverRenderState()> state;
    bool expandDiagnostics = false;
};

PopoverRenderState live(const PopoverSnapshot& snapshot) {
    PopoverRenderState state;
    state.snapshot = snapshot;
    return state;
}

// Every action of the state marked pending: spinners and "Working" take their room.
PopoverRenderState allPending(PopoverRenderState state) {
    const auto mark = [&state](const ActionDescriptor& action) {
        state.pendingActions.insert(PopoverState::pendingKey(action));
    };
    const PopoverSnapshot& snapshot = state.snapshot;
    for (const auto& row : snapshot.rows) {
        for (const auto& action : row.orderedActions) {
            mark(action);
        }
    }
    if (snapshot.incident.nextAction) {
        mark(*snapshot.incident.nextAction);
    }
    if (snapshot.relief) {
        for (const auto& candidate : snapshot.relief->candidates) {
            mark(candidate.action);
        }
    }
    if (snapshot.selectedDetail) {
        for (const auto& action : snapshot.selectedDetail->actBlock.actions) {
            mark(action);
        }
        for (const auto& command : snapshot.selectedDetail->actBlock.nextCommands) {
            mark(command.action);
        }
        if (snapshot.selectedDetail->artifactBoundary) {
            for (const auto& action : snapshot.selectedDetail->artifactBoundary->actions) {
                mark(action);
            }
        }
        if (snapshot.selectedDetail->whereItGrows) {
            for (const auto& action : snapshot.selectedDetail->whereItGrows->actions) {
                mark(action);
            }
            for (const auto& command : snapshot.selectedDetail->whereItGrows->commands) {
                mark(command.action);
            }
        }
    }
    state.pendingCommands = {ShellCommand::exportReport, ShellCommand::quit};
    return state;
}

// The monitor is not watching over `state`: why, what happens next, how old the rows are.
PopoverRenderState notWatching(PopoverRenderState state, MonitorLinkCause cause, int code,
                               MonitorRecovery recovery,
                               std::optional<std::chrono::nanoseconds> age) {
    using namespace std::chrono_literals;
    MonitorLinkState link;
    link.cause = cause;
    link.code = code;
    link.recovery = recovery;
    state.notWatching = notWatchingNotice(link, 59s, age);
    return state;
}

PopoverRenderState history(std::optional<AdvancedHistorySnapshot> snapshot, bool loading = false,
                           std::optional<std::string> error = {}) {
    PopoverRenderState state = live(S::suspect());
    state.surface = PopoverSurface::advanced;
    state.advancedHistory = std::move(snapshot);
    state.isAdvancedHistoryLoading = loading;
    state.advancedHistoryError = std::move(error);
    return state;
}

std::vector<AuditCase> auditCases() {
    std::vector<AuditCase> cases;
    for (const auto& scenario : S::allScenarios()) {
        const PopoverSnapshot* snapshot = &scenario.snapshot;
        const std::string name(scenario.name);
        cases.push_back({name, [snapshot] { return live(*snapshot); }});
        cases.push_back({name + "Pending", [snapshot] { return allPending(live(*snapshot)); }});
    }
    cases.push_back({"detailDiagnosticsOpen", [] { return live(S::detailOpened()); }, true});
    cases.push_back({"criticalDetail", [] {
                         PopoverRenderState state = live(S::criticalRunaway());
                         state.snapshot.selectedDetail =
                             S::detail(state.snapshot.rows.front().key, FindingSeverity::critical);
                         return state;
                     }});
    cases.push_back({"historyList", [] { return history(S::advancedHistory()); }});
    cases.push_back({"historyOffender", [] {
                         return history(
                             S::advancedHistoryDetail(S::advancedHistory().offenders.front().key));
                     }});
    cases.push_back({"historyOtherOffender",
                     [] { return history(S::advancedHistoryDetail("org.example.other")); }});
    cases.push_back({"historyLoading", [] { return history(std::nullopt, true); }});
    cases.push_back({"historyUnavailable", [] { return history(std::nullopt); }});
    cases.push_back({"historyFetchFailed", [] {
                         return history(S::advancedHistory(), false,
                                        std::string("The backend did not answer in time."));
                     }});
    cases.push_back({"feedbackBanner", [] {
                         PopoverRenderState state = live(S::actionFeedback());
                         state.visibleActionFeedback = state.snapshot.actionFeedback;
                         return state;
                     }});
    cases.push_back({"escalatedCriticalRow", [] {
                         PopoverRenderState state = live(S::criticalRunaway());
                         for (const auto& row : state.snapshot.rows) {
                             state.highlightedCriticalKeys.insert(row.key);
                         }
                         return state;
                     }});
    using C = MonitorLinkCause;
    using R = MonitorRecovery;
    using namespace std::chrono_literals;
    cases.push_back(
        {"notWatchingKilled",
         [] { return notWatching(live(S::suspect()), C::killedBySignal, 9, R::scheduled, 2min); }});
    cases.push_back({"notWatchingGaveUp", [] {
                         // The longest detail: it breaks between the reason and the next step.
                         return notWatching(live(S::criticalRunaway()), C::exited, 255, R::gaveUp,
                                            59min);
                     }});
    cases.push_back({"notWatchingNeverStarted", [] {
                         PopoverRenderState state = notWatching(
                             live(PopoverSnapshot{}), C::notStarted, 0, R::scheduled, std::nullopt);
                         state.monitorLink.cause = C::notStarted; // never answered: no data
                         return state;
                     }});
    cases.push_back({"startingWithoutData", [] {
                         PopoverRenderState state = notWatching(
                             live(PopoverSnapshot{}), C::starting, 0, R::none, std::nullopt);
                         state.monitorLink.cause = C::starting; // never answered: no data
                         return state;
                     }});
    cases.push_back({"notWatchingRestartingInDetail", [] {
                         return notWatching(allPending(live(S::detailOpened())), C::notAnswering, 0,
                                            R::starting, 23h);
                     }});
    cases.push_back({"notWatchingStalledWithTooltip", [] {
                         PopoverRenderState state = live(S::multiRowSuspect());
                         const auto tooltips = VerdictTooltipCatalog::bundled().orderedTooltips();
                         if (!tooltips.empty()) {
                             state.activeVerdictTooltip = tooltips.front();
                         }
                         return notWatching(state, C::notSampling, 0, R::none, 45s);
                     }});
    cases.push_back({"notWatchingInHistory", [] {
                         return notWatching(history(S::advancedHistory()), C::killedBySignal, 15,
                                            R::scheduled, 10s);
                     }});
    for (const auto& tooltip : VerdictTooltipCatalog::bundled().orderedTooltips()) {
        cases.push_back({"tooltip_" + tooltip.id, [tooltip] {
                             PopoverRenderState state = live(S::multiRowSuspect());
                             state.activeVerdictTooltip = tooltip;
                             return state;
                         }});
    }
    return cases;
}

struct AuditParam {
    AuditCase audit;
    bool dark;
};

void PrintTo(const AuditParam& param, std::ostream* out) {
    *out << param.audit.name << (param.dark ? " (dark)" : " (light)");
}

std::vector<AuditParam> auditParams() {
    std::vector<AuditParam> params;
    for (const bool dark : {false, true}) {
        for (const auto& audit : auditCases()) {
            params.push_back({audit, dark});
        }
    }
    return params;
}

std::string report(const std::string& title, const std::vector<QString>& findings) {
    std::string text = title;
    for (const QString& finding : findings) {
        text += "\n  " + finding.toStdString();
    }
    return text;
}

class LayoutAudit : public ::testing::TestWithParam<AuditParam> {
protected:
    void SetUp() override { VelmoraPalette::setDark(GetParam().dark); }
    void TearDown() override { VelmoraPalette::setDark(false); }
};

TEST_P(LayoutAudit, ThePopoverShowsEveryTextWholeAtItsRealWidth) {
    const AuditParam& param = GetParam();
    const std::string where =
        param.audit.name + " (" + (param.dark ? "dark" : "light") + ", 448 px in the app's host)";
    PopoverHost host;
    const PopoverRenderState state = param.audit.state();
    host.present(state);
    if (param.audit.expandDiagnostics) {
        host.root()->detailView()->setDiagnosticsExpanded(true);
        settleLayouts();
    }
    const QWidget* root = host.root();
    ASSERT_EQ(root->width(), PopoverRootView::popoverWidth) << where;
    EXPECT_EQ(root->height(), host.root()->popoverSize().height()) << where;

    const auto overflows = testing::textOverflows(root);
    EXPECT_TRUE(overflows.empty()) << report(where + ": text drawn past its widget", overflows);
    const auto outside = testing::childrenOutsideParents(root);
    EXPECT_TRUE(outside.empty()) << report(where + ": widgets outside their parent", outside);

    const auto bands = testing::emptyBands(root);
    EXPECT_TRUE(bands.empty()) << report(where + ": widgets taller than their content", bands);

    const auto first = testing::shownHeights(root);
    host.present(state);
    const auto changes = testing::heightChanges(first, testing::shownHeights(root));
    EXPECT_TRUE(changes.empty()) << report(
        where + ": heights of the first render differ from a second identical one", changes);
}

TEST(LayoutAuditCases, CoverTheTooltipsAndEveryScenario) {
    EXPECT_FALSE(VerdictTooltipCatalog::bundled().orderedTooltips().empty())
        << "VerdictTooltips.txt was not found next to the build's share/velmora";
    EXPECT_GE(auditCases().size(), 2 * S::allScenarios().size() + 10);
}

bool mentions(const std::vector<QString>& findings, const QString& part) {
    return std::any_of(findings.begin(), findings.end(),
                       [&part](const QString& finding) { return finding.contains(part); });
}

// The checks themselves: each fault the popover once had is seen, with its widget and numbers.
TEST(LayoutAuditChecks, SeeClippedLinesHollowEllipsesStrayChildrenAndUnsettledHeights) {
    QWidget parent;
    parent.resize(200, 100);
    auto* explanation = new VelmoraText(&parent);
    explanation->setObjectName("explanation");
    explanation->setLineLimit(2);
    explanation->setText(QStringLiteral("Live capture active. Wrapped target keeps climbing after "
                                        "restart, and again after the next one."));
    explanation->setGeometry(0, 0, 150, 19); // one line and a bit of the second
    auto* title = new VelmoraText(&parent);
    title->setObjectName("title");
    title->setLineLimit(1);
    title->setText(QStringLiteral("adapter-os"));
    title->setGeometry(0, 40, 22, 20);
    auto* stray = new QWidget(&parent);
    stray->setObjectName("stray");
    stray->setGeometry(190, 70, 30, 10);
    parent.show();

    const auto texts = testing::textOverflows(&parent);
    EXPECT_TRUE(mentions(texts, QStringLiteral("/explanation: ")) &&
                mentions(texts, QStringLiteral("tall")) &&
                mentions(texts, QStringLiteral("contents rect of 19.0 px")))
        << report("texts", texts);
    EXPECT_TRUE(mentions(texts, QStringLiteral("/title: \"a\u2026\" keeps 1 characters")))
        << report("texts", texts);
    const auto outside = testing::childrenOutsideParents(&parent);
    ASSERT_EQ(outside.size(), 1u) << report("outside", outside);
    EXPECT_TRUE(outside.front().contains(QStringLiteral("/stray at (190, 70) 30x10")))
        << outside.front().toStdString();

    // A card that a stack stretches past its single line shows an empty band under it.
    QWidget stack;
    auto* stackLayout = new QVBoxLayout(&stack);
    auto* card = new QWidget(&stack);
    card->setObjectName("card");
    card->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(0, 0, 0, 0);
    cardLayout->addWidget(new VelmoraText(QStringLiteral("Metrics"), TypeRole::caption, {}, card));
    stackLayout->addWidget(card);
    stack.resize(200, 120);
    stack.show();
    testing::settle();
    const auto bands = testing::emptyBands(&stack);
    ASSERT_EQ(bands.size(), 1u) << report("bands", bands);
    EXPECT_TRUE(bands.front().contains(QStringLiteral("/card is"))) << bands.front().toStdString();

    const auto before = testing::shownHeights(&parent);
    stray->setGeometry(0, 70, 30, 14);
    const auto changes = testing::heightChanges(before, testing::shownHeights(&parent));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_TRUE(changes.front().contains(QStringLiteral("/stray is 10 px high, 14 px after")))
        << changes.front().toStdString();
}

INSTANTIATE_TEST_SUITE_P(PopoverStates, LayoutAudit, ::testing::ValuesIn(auditParams()),
                         [](const ::testing::TestParamInfo<AuditParam>& info) {
                             return info.param.audit.name + (info.param.dark ? "_dark" : "_light");
                         });

} // namespace
} // namespace velmora
