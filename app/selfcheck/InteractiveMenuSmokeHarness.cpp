// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selfcheck/InteractiveMenuSmokeHarness.h"

#include "app/PopoverWindow.h"
#include "state/PopoverViewModel.h"

#include <QCoreApplication>
#include <QCursor>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>
#include <csignal>

namespace velmora {
namespace {

std::shared_ptr<PopoverViewModel> lockOrNull(const std::weak_ptr<PopoverViewModel>& weak) {
    return weak.lock();
}

bool processIsGone(int32_t pid) {
    return ::kill(pid, 0) != 0;
}

} // namespace

InteractiveMenuSmokeHarness::InteractiveMenuSmokeHarness(std::weak_ptr<PopoverViewModel> viewModel,
                                                         RuntimeOptions options, QObject* parent)
    : QObject(parent), viewModel_(std::move(viewModel)), options_(std::move(options)) {}

InteractiveMenuSmokeHarness::~InteractiveMenuSmokeHarness() {
    delete popover_;
}

void InteractiveMenuSmokeHarness::startIfRequested() {
    if (!options_.interactiveMenuSmoke) {
        return;
    }
    const auto viewModel = lockOrNull(viewModel_);
    if (!viewModel) {
        fail("velmora-ui: interactive smoke could not access the popover view model");
        return;
    }
    statusItem_ = new QSystemTrayIcon(this);
    statusItem_->setToolTip(QStringLiteral("Velmora"));
    statusItem_->setIcon(QIcon(renderTrayIcon(viewModel->snapshot(), 2.0)));
    connect(statusItem_, &QSystemTrayIcon::activated, this, [this] { togglePopover(); });
    statusItem_->show();

    popover_ = new PopoverWindow(viewModel, PopoverWindow::Style::popover, {});
    popover_->setClosesOnDeactivation(false);
    popover_->setFixedContentSize({476, 620});

    const bool longRun = options_.restartFeedbackSmoke && options_.restartFeedbackTargetKey;
    timeout_ = new QTimer(this);
    timeout_->setSingleShot(true);
    connect(timeout_, &QTimer::timeout, this,
            [this] { fail("velmora-ui: interactive menu smoke timed out"); });
    timeout_->start(longRun ? 20000 : 10000);

    QTimer::singleShot(250, this, [this] {
        togglePopover(); // the programmatic click on the status item
        QTimer::singleShot(300, this, [this] { runDriver(); });
    });
}

void InteractiveMenuSmokeHarness::togglePopover() {
    if (!popover_) {
        return;
    }
    popover_->toggleAnchored(statusItem_ ? statusItem_->geometry() : QRect(), QCursor::pos());
}

void InteractiveMenuSmokeHarness::runDriver() {
    if (options_.advancedHistorySmoke) {
        driveAdvancedHistory();
    } else if (options_.exportFeedbackSmoke) {
        if (const auto viewModel = lockOrNull(viewModel_)) {
            viewModel->sendCommand(ShellCommand::exportReport);
        }
        waitForExportFeedback(1);
    } else if (options_.restartFeedbackSmoke) {
        waitForRestartTarget(1);
    } else if (options_.recoveryFeedbackSmoke) {
        driveRecoveryFeedback();
    } else {
        driveDetailRouting();
    }
}

void InteractiveMenuSmokeHarness::driveDetailRouting() {
    const auto viewModel = lockOrNull(viewModel_);
    if (!viewModel || viewModel->snapshot().rows.empty()) {
        fail("velmora-ui: interactive menu smoke could not find a row to inspect");
        return;
    }
    viewModel->openDetail(viewModel->snapshot().rows.front().key);
    QTimer::singleShot(pollInterval, this, [this] {
        const auto viewModel = lockOrNull(viewModel_);
        if (viewModel && surfacesReady() && viewModel->snapshot().selectedDetail) {
            succeed();
        } else {
            fail("velmora-ui: interactive menu smoke did not produce an open popover with "
                 "selected detail");
        }
    });
}

void InteractiveMenuSmokeHarness::driveAdvancedHistory() {
    if (const auto viewModel = lockOrNull(viewModel_)) {
        viewModel->openAdvancedHistory();
    }
    waitForAdvancedHistoryList(1);
}

void InteractiveMenuSmokeHarness::waitForAdvancedHistoryList(int attempt) {
    const auto viewModel = lockOrNull(viewModel_);
    if (viewModel && surfacesReady() && viewModel->advancedHistory() &&
        !viewModel->isAdvancedHistoryLoading()) {
        const auto& offenders = viewModel->advancedHistory()->offenders;
        if (offenders.empty()) {
            fail("velmora-ui: advanced history smoke found no historical offenders");
            return;
        }
        viewModel->loadAdvancedHistory(offenders.front().key);
        waitForAdvancedHistoryDetail(1);
        return;
    }
    retry(&InteractiveMenuSmokeHarness::waitForAdvancedHistoryList, attempt, attemptLimit,
          "velmora-ui: advanced history smoke timed out waiting for offender summaries");
}

void InteractiveMenuSmokeHarness::waitForAdvancedHistoryDetail(int attempt) {
    const auto viewModel = lockOrNull(viewModel_);
    if (viewModel && surfacesReady() && viewModel->advancedHistory() &&
        viewModel->advancedHistory()->selectedDetail) {
        succeed();
        return;
    }
    retry(&InteractiveMenuSmokeHarness::waitForAdvancedHistoryDetail, attempt, attemptLimit,
          "velmora-ui: advanced history smoke timed out waiting for offender detail");
}

void InteractiveMenuSmokeHarness::waitForExportFeedback(int attempt) {
    if (surfacesReady() && feedbackTitled("Report exported")) {
        succeed();
        return;
    }
    retry(&InteractiveMenuSmokeHarness::waitForExportFeedback, attempt, attemptLimit,
          "velmora-ui: export feedback smoke timed out waiting for action feedback");
}

void InteractiveMenuSmokeHarness::driveRecoveryFeedback() {
    const auto viewModel = lockOrNull(viewModel_);
    const FindingSnapshot* target = nullptr;
    if (viewModel) {
        for (const auto& row : viewModel->snapshot().rows) {
            if (row.key == "velmora.recovery.smoke.target") {
                target = &row;
                break;
            }
        }
    }
    if (!target) {
        fail("velmora-ui: recovery feedback smoke could not find the controlled recovery target");
        return;
    }
    viewModel->dispatch(
        makeAction(ActionId::recover, "Recover", ActionStyle::primary, target->key));
    waitForRecoveryFeedback(1);
}

void InteractiveMenuSmokeHarness::waitForRecoveryFeedback(int attempt) {
    const bool exited = options_.recoverySmokePID && processIsGone(*options_.recoverySmokePID);
    if (surfacesReady() && feedbackTitled("Recovery completed") && exited) {
        succeed(exited);
        return;
    }
    retry(&InteractiveMenuSmokeHarness::waitForRecoveryFeedback, attempt, attemptLimit,
          "velmora-ui: recovery feedback smoke timed out waiting for action feedback");
}

void InteractiveMenuSmokeHarness::waitForRestartTarget(int attempt) {
    const auto viewModel = lockOrNull(viewModel_);
    std::optional<std::string> key;
    if (viewModel) {
        if (attempt >= 16 && options_.restartFeedbackTargetKey) {
            key = options_.restartFeedbackTargetKey;
        } else if (const auto* row = restartFeedbackTargetRow(viewModel->snapshot(), options_)) {
            key = row->key;
        }
    }
    if (key) {
        viewModel->dispatch(makeAction(ActionId::restart, "Restart", ActionStyle::warning, *key));
        waitForRestartFeedback(1);
        return;
    }
    retry(&InteractiveMenuSmokeHarness::waitForRestartTarget, attempt, restartTargetAttemptLimit,
          "velmora-ui: restart feedback smoke could not find the requested restart target");
}

void InteractiveMenuSmokeHarness::waitForRestartFeedback(int attempt) {
    if (surfacesReady() && feedbackTitled("Restart completed")) {
        succeed();
        return;
    }
    retry(&InteractiveMenuSmokeHarness::waitForRestartFeedback, attempt, attemptLimit,
          "velmora-ui: restart feedback smoke timed out waiting for action feedback");
}

const FindingSnapshot*
InteractiveMenuSmokeHarness::restartFeedbackTargetRow(const PopoverSnapshot& snapshot,
                                                      const RuntimeOptions& options) {
    const std::string wanted =
        options.restartFeedbackTargetKey.value_or("velmora.restart.smoke.target");
    for (const auto& row : snapshot.rows) {
        if (row.key == wanted) {
            return &row;
        }
    }
    return nullptr;
}

void InteractiveMenuSmokeHarness::retry(Poller poller, int attempt, int limit,
                                        const char* timeoutMessage) {
    if (finished_) {
        return;
    }
    if (attempt + 1 > limit) {
        fail(timeoutMessage);
        return;
    }
    QTimer::singleShot(pollInterval, this,
                       [this, poller, attempt] { (this->*poller)(attempt + 1); });
}

bool InteractiveMenuSmokeHarness::surfacesReady() const {
    return statusItem_ && popover_ && popover_->isVisible();
}

bool InteractiveMenuSmokeHarness::feedbackTitled(const char* title) const {
    const auto viewModel = lockOrNull(viewModel_);
    return viewModel && viewModel->visibleActionFeedback() &&
           viewModel->visibleActionFeedback()->title == title;
}

void InteractiveMenuSmokeHarness::succeed(std::optional<bool> recoveryTargetExited) {
    if (finished_) {
        return;
    }
    finished_ = true;
    const auto viewModel = lockOrNull(viewModel_);
    auto summary = SmokeSummary::from(viewModel->snapshot(), statusItem_ != nullptr,
                                      popover_ && popover_->isVisible());
    summary.advancedHistoryShown = viewModel->surface() == PopoverSurface::advanced;
    if (const auto& history = viewModel->advancedHistory()) {
        summary.historicalOffenderCount = static_cast<int64_t>(history->offenders.size());
        summary.historicalDetailShown = history->selectedDetail.has_value();
    }
    if (const auto& feedback = viewModel->visibleActionFeedback()) {
        summary.actionFeedbackShown = true;
        summary.actionFeedbackTitle = feedback->title;
    }
    summary.recoveryTargetExited = recoveryTargetExited;
    reporter_.emitSuccess(options_, summary);
    QCoreApplication::exit(0);
}

void InteractiveMenuSmokeHarness::fail(const std::string& message) {
    if (finished_) {
        return;
    }
    finished_ = true;
    reporter_.emitFailure(options_, message);
    QCoreApplication::exit(1);
}

} // namespace velmora
