// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverViewModel.h"
#include "state/RowStabilizer.h"

namespace velmora {

namespace {

template <class T, class Key>
bool sameByKey(const std::optional<T>& a, const std::optional<T>& b, Key key) {
    if (a.has_value() != b.has_value()) {
        return false;
    }
    return !a || key(*a) == key(*b);
}

} // namespace

void PopoverViewModel::apply(PopoverSnapshot incoming) {
    ChangeNotifier::Batch batch(notifier_);
    PopoverSnapshot previous = std::exchange(latestBackendSnapshot_, incoming);
    presentActionFeedbackIfNeeded(incoming);
    highlightNewCriticalRows(previous, incoming);
    clearPendingMarks();
    commit(stabilizedDisplaySnapshot(std::move(incoming)));
}

void PopoverViewModel::clearPendingMarks() {
    assign(state_.pendingActions, {}, ViewModelField::pendingActions);
    assign(state_.pendingCommands, {}, ViewModelField::pendingCommands);
}

void PopoverViewModel::highlightNewCriticalRows(const PopoverSnapshot& previous,
                                                const PopoverSnapshot& incoming) {
    for (const std::string& key : newlyCriticalKeys(previous.rows, incoming.rows)) {
        if (state_.highlightedCriticalKeys.insert(key).second) {
            notifier_.changed(ViewModelField::highlightedCriticalKeys);
        }
        auto& task = criticalHighlightTasks_[key];
        if (task) {
            task->cancel();
        }
        task = after(criticalHighlightDuration,
                     [key](PopoverViewModel& self) { self.endHighlight(key); });
    }
}

void PopoverViewModel::endHighlight(const std::string& key) {
    if (state_.highlightedCriticalKeys.erase(key) > 0) {
        notifier_.changed(ViewModelField::highlightedCriticalKeys);
    }
    criticalHighlightTasks_.erase(key);
}

PopoverSnapshot PopoverViewModel::stabilizedDisplaySnapshot(PopoverSnapshot incoming) {
    if (incoming.selectedDetail) {
        cancelDelayedFocusFlip();
        incoming.rows = stabilizedRows(state_.snapshot.rows, incoming.rows);
        return incoming;
    }
    if (shouldDelayFocusFlip(state_.snapshot.rows, incoming.rows)) {
        queueDelayedFocusFlip(incoming);
        incoming.rows = stabilizedRows(state_.snapshot.rows, incoming.rows);
        return incoming;
    }
    cancelDelayedFocusFlip();
    return incoming;
}

void PopoverViewModel::queueDelayedFocusFlip(const PopoverSnapshot& incoming) {
    delayedFocusSnapshot_ = incoming;
    std::optional<std::string> newTop;
    if (!incoming.rows.empty()) {
        newTop = incoming.rows.front().key;
    }
    // The hold lasts focusFlipDelay from the last change of the held top key. A timer that
    // already fired (it does nothing while a detail is open) is started again.
    if (newTop == delayedFocusTopKey_ && focusFlipTask_) {
        return;
    }
    delayedFocusTopKey_ = std::move(newTop);
    if (focusFlipTask_) {
        focusFlipTask_->cancel();
    }
    focusFlipTask_ = after(focusFlipDelay_, [](PopoverViewModel& self) {
        self.focusFlipTask_.reset();
        self.applyDelayedFocusFlipIfStillNeeded();
    });
}

void PopoverViewModel::cancelDelayedFocusFlip() {
    if (focusFlipTask_) {
        focusFlipTask_->cancel();
    }
    focusFlipTask_.reset();
    delayedFocusSnapshot_.reset();
    delayedFocusTopKey_.reset();
}

void PopoverViewModel::applyDelayedFocusFlipIfStillNeeded() {
    if (!delayedFocusSnapshot_ || state_.snapshot.selectedDetail) {
        return;
    }
    PopoverSnapshot held = std::move(*delayedFocusSnapshot_);
    const bool stillNeeded = shouldDelayFocusFlip(state_.snapshot.rows, held.rows);
    cancelDelayedFocusFlip();
    if (stillNeeded) {
        commit(std::move(held));
    }
}

void PopoverViewModel::commit(PopoverSnapshot display) {
    const PopoverSnapshot& onScreen = state_.snapshot;
    const bool detailSame =
        sameByKey(onScreen.selectedDetail, display.selectedDetail,
                  [](const DetailSnapshot& detail) -> const std::string& { return detail.key; });
    const bool confirmationSame = sameByKey(
        onScreen.destructiveConfirmation, display.destructiveConfirmation,
        [](const DestructiveConfirmationSnapshot& c) -> const std::string& { return c.title; });
    const bool quiet = detailSame && confirmationSame && sameRowKeys(onScreen.rows, display.rows) &&
                       onScreen.refreshIntervalMs == display.refreshIntervalMs &&
                       onScreen.globalTone == display.globalTone &&
                       onScreen.summaryText == display.summaryText;

    std::optional<MotionName> motion;
    if (!quiet) {
        if (!detailSame) {
            motion = display.selectedDetail ? MotionName::detail : MotionName::detailDismiss;
        } else if (!confirmationSame) {
            motion = MotionName::overlay;
        } else if (display.globalTone == SnapshotTone::critical ||
                   onScreen.globalTone == SnapshotTone::critical) {
            motion = MotionName::shellEmphasis;
        } else {
            motion = MotionName::shellRefresh;
        }
    }
    assign(state_.snapshot, std::move(display), ViewModelField::snapshot, motion);
    presentFirstUndismissedTooltip(state_.snapshot);
}

} // namespace velmora
