// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/RuntimeOptions.h"
#include "app/selfcheck/SmokeReporter.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QSystemTrayIcon;
class QTimer;

namespace velmora {

class PopoverViewModel;
class PopoverWindow;
struct FindingSnapshot;
struct PopoverSnapshot;

// The interactive self-check: its own tray icon and popover, one driven user flow, one result
// line, then the end of the application (status 0 on success, 1 on any failure or time-out).
class InteractiveMenuSmokeHarness : public QObject {
    Q_OBJECT
public:
    static constexpr int pollInterval = 250;
    static constexpr int attemptLimit = 20;
    static constexpr int restartTargetAttemptLimit = 40;

    InteractiveMenuSmokeHarness(std::weak_ptr<PopoverViewModel> viewModel, RuntimeOptions options,
                                QObject* parent = nullptr);
    ~InteractiveMenuSmokeHarness() override;

    // Does nothing unless the options ask for the interactive check.
    void startIfRequested();

    // The row the restart flow acts on: the one named by the options, else the controlled
    // restart target.
    static const FindingSnapshot* restartFeedbackTargetRow(const PopoverSnapshot& snapshot,
                                                           const RuntimeOptions& options);

private:
    using Poller = void (InteractiveMenuSmokeHarness::*)(int);

    void togglePopover();
    void runDriver();
    void driveDetailRouting();
    void driveAdvancedHistory();
    void driveRecoveryFeedback();
    void waitForAdvancedHistoryList(int attempt);
    void waitForAdvancedHistoryDetail(int attempt);
    void waitForExportFeedback(int attempt);
    void waitForRecoveryFeedback(int attempt);
    void waitForRestartTarget(int attempt);
    void waitForRestartFeedback(int attempt);

    // Runs `poller` at attempt + 1 after the poll interval, or fails with `timeoutMessage` once
    // the attempts are used up.
    void retry(Poller poller, int attempt, int limit, const char* timeoutMessage);
    bool surfacesReady() const;
    bool feedbackTitled(const char* title) const;
    void succeed(std::optional<bool> recoveryTargetExited = std::nullopt);
    void fail(const std::string& message);

    std::weak_ptr<PopoverViewModel> viewModel_;
    RuntimeOptions options_;
    SmokeReporter reporter_;
    QSystemTrayIcon* statusItem_ = nullptr;
    PopoverWindow* popover_ = nullptr;
    QTimer* timeout_ = nullptr;
    bool finished_ = false;
};

} // namespace velmora
