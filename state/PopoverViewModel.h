// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/ShellCommand.h"
#include "link/VelmoraBackend.h"
#include "model/AdvancedHistorySnapshot.h"
#include "model/PopoverSnapshot.h"
#include "model/RefreshInterval.h"
#include "state/PopoverState.h"
#include "state/PopoverSurface.h"
#include "state/Scheduler.h"
#include "state/VerdictTooltipCatalog.h"
#include "state/VerdictTooltipDismissalStore.h"
#include "state/ViewModelChange.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

namespace velmora {

// The one state object behind the tray icon, the popover and the Settings window. It holds
// the snapshot every view renders, takes each snapshot the backend publishes (holding the row
// order steady for a while when the backend names a new top suspect, highlighting rows that
// just turned critical), turns presses into backend requests with short pending marks, shows
// the backend's feedback banners, runs the advanced-history requests and chooses the verdict
// tooltip to show.
//
// Main thread only. Every change reaches the observers as one ViewModelChange naming the
// fields that changed and the motion to animate them with; an assignment that leaves a field
// as it was is not reported. Timers hold the view model weakly, so releasing it stops them.
class PopoverViewModel : public std::enable_shared_from_this<PopoverViewModel> {
    struct Passkey {};

public:
    using Duration = Scheduler::Duration;

    static constexpr Duration criticalHighlightDuration = std::chrono::milliseconds(2800);
    static constexpr Duration pendingMarkDuration = std::chrono::milliseconds(1200);

    // Reads the backend's current snapshot, picks the first tooltip to show and subscribes to
    // the backend; every published snapshot is applied on the main thread through `scheduler`.
    static std::shared_ptr<PopoverViewModel>
    create(std::shared_ptr<VelmoraBackend> backend, std::shared_ptr<Scheduler> scheduler,
           VerdictTooltipCatalog tooltipCatalog,
           std::shared_ptr<VerdictTooltipDismissalStore> tooltipDismissalStore,
           Duration focusFlipDelay, Duration actionFeedbackDuration);

    PopoverViewModel(Passkey, std::shared_ptr<VelmoraBackend> backend,
                     std::shared_ptr<Scheduler> scheduler, VerdictTooltipCatalog tooltipCatalog,
                     std::shared_ptr<VerdictTooltipDismissalStore> tooltipDismissalStore,
                     Duration focusFlipDelay, Duration actionFeedbackDuration);
    ~PopoverViewModel();
    PopoverViewModel(const PopoverViewModel&) = delete;
    PopoverViewModel& operator=(const PopoverViewModel&) = delete;

    // Published state: all of it in one value, and each part of it.
    const PopoverState& state() const { return state_; }
    const PopoverSnapshot& snapshot() const { return state_.snapshot; }
    const std::set<std::string>& pendingActions() const { return state_.pendingActions; }
    const std::set<ShellCommand>& pendingCommands() const { return state_.pendingCommands; }
    const std::set<std::string>& highlightedCriticalKeys() const {
        return state_.highlightedCriticalKeys;
    }
    const std::optional<ActionFeedbackSnapshot>& visibleActionFeedback() const {
        return state_.visibleActionFeedback;
    }
    PopoverSurface surface() const { return state_.surface; }
    const std::optional<AdvancedHistorySnapshot>& advancedHistory() const {
        return state_.advancedHistory;
    }
    bool isAdvancedHistoryLoading() const { return state_.isAdvancedHistoryLoading; }
    const std::optional<std::string>& advancedHistoryError() const {
        return state_.advancedHistoryError;
    }
    const std::optional<VerdictTooltip>& activeVerdictTooltip() const {
        return state_.activeVerdictTooltip;
    }
    // Whether Velmora is watching (the backend's monitor link), its time points moved onto the
    // scheduler's clock. While it is not, `snapshot` keeps the last rows, which are as old as
    // lastGoodSnapshotAge() says.
    const MonitorLinkState& monitorLink() const { return state_.monitorLink; }

    // From the scheduler's clock now: how long until the monitor is tried again, and how old
    // the last good data is. Absent when nothing is scheduled, or while watching.
    std::optional<Duration> nextMonitorAttemptIn() const;
    std::optional<Duration> lastGoodSnapshotAge() const;
    // The main-thread scheduler whose clock those two read: views that show them re-read them
    // on its timers.
    const std::shared_ptr<Scheduler>& scheduler() const { return scheduler_; }

    // The popover's summary line for the surface on screen.
    std::string activeSummaryText() const { return state_.activeSummaryText(); }

    static std::string pendingKey(const ActionDescriptor& action) {
        return PopoverState::pendingKey(action);
    }
    bool isActionPending(const ActionDescriptor& action) const {
        return state_.isActionPending(action);
    }
    bool isCommandPending(ShellCommand command) const { return state_.isCommandPending(command); }
    bool isHighlighted(const std::string& key) const { return state_.isHighlighted(key); }

    [[nodiscard]] std::unique_ptr<Observation>
    observe(std::function<void(const ViewModelChange&)> observer);

    // Actions and settings. None returns a result: the outcome arrives as the next snapshot.
    void dispatch(const ActionDescriptor& action);
    void sendCommand(ShellCommand command);
    void closeDetail();
    // Asks the backend to open the detail of the row with `key` ("select_detail"); nothing
    // changes locally and no pending mark is set.
    void openDetail(const std::string& key);
    // Clamped to 0.5 to 10 s; a value that is not a finite number is refused.
    void updateRefreshInterval(double seconds);
    void updateStorageMode(SettingsStorageMode mode);
    void updateEvidenceCaptureEnabled(bool enabled);

    // Advanced history.
    void toggleAdvancedHistory();
    void openAdvancedHistory();
    void loadAdvancedHistory(std::optional<std::string> selectedKey);

    // Verdict tooltips.
    void dismissActiveVerdictTooltip();

    // Asks the backend to start its monitor again at once ("Restart monitor").
    void restartMonitor();

private:
    using Task = std::function<void(PopoverViewModel&)>;

    void subscribe();
    void subscribeMonitorLink();
    // A timer that runs `task` on the main thread after `delay`, unless the view model is gone.
    std::shared_ptr<TimerHandle> after(Duration delay, Task task);

    template <class T>
    void assign(T& field, T value, ViewModelField which,
                std::optional<MotionName> motion = std::nullopt) {
        if (field == value) {
            return;
        }
        field = std::move(value);
        notifier_.changed(which, motion);
    }

    // Intake and focus (PopoverViewModelIntake.cpp).
    void apply(PopoverSnapshot incoming);
    void highlightNewCriticalRows(const PopoverSnapshot& previous, const PopoverSnapshot& incoming);
    void endHighlight(const std::string& key);
    void clearPendingMarks();
    PopoverSnapshot stabilizedDisplaySnapshot(PopoverSnapshot incoming);
    void queueDelayedFocusFlip(const PopoverSnapshot& incoming);
    void cancelDelayedFocusFlip();
    void applyDelayedFocusFlipIfStillNeeded();
    void commit(PopoverSnapshot display);

    // Actions and feedback (PopoverViewModelActions.cpp).
    void presentActionFeedbackIfNeeded(const PopoverSnapshot& incoming);
    void hideActionFeedback(const std::string& id);
    void updateSettings(std::optional<SettingsStorageMode> mode, std::optional<bool> enabled);

    // History (PopoverViewModelHistory.cpp).
    void finishHistoryRequest(const std::string& token, bool namedKey, HistoryResult result);

    // Monitor link (PopoverViewModelMonitorLink.cpp).
    void applyMonitorLink(const MonitorLinkState& published);

    // Tooltips (PopoverViewModelTooltips.cpp).
    std::optional<VerdictTooltip> firstUndismissedTooltip(const PopoverSnapshot& snapshot) const;
    void presentFirstUndismissedTooltip(const PopoverSnapshot& snapshot);

    // Collaborators.
    std::shared_ptr<VelmoraBackend> backend_;
    std::shared_ptr<Scheduler> scheduler_;
    VerdictTooltipCatalog tooltipCatalog_;
    std::shared_ptr<VerdictTooltipDismissalStore> tooltipDismissalStore_;
    Duration focusFlipDelay_;
    Duration actionFeedbackDuration_;
    ChangeNotifier notifier_;

    // Published state.
    PopoverState state_;

    // Intake state.
    PopoverSnapshot latestBackendSnapshot_;
    std::map<std::string, std::shared_ptr<TimerHandle>, std::less<>> criticalHighlightTasks_;
    std::optional<PopoverSnapshot> delayedFocusSnapshot_;
    std::optional<std::string> delayedFocusTopKey_;
    std::shared_ptr<TimerHandle> focusFlipTask_;

    // Requests and feedback.
    std::optional<std::string> historyRequestToken_;
    std::shared_ptr<TimerHandle> actionFeedbackTask_;
    std::optional<std::string> lastPresentedActionFeedbackID_;

    // Last, so that they end first: nothing arrives while the rest is torn down.
    std::unique_ptr<Subscription> subscription_;
    std::unique_ptr<Subscription> linkSubscription_;
};

} // namespace velmora
