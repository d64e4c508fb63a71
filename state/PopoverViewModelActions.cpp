// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverViewModel.h"

#include <cmath>

namespace velmora {

void PopoverViewModel::dispatch(const ActionDescriptor& action) {
    ChangeNotifier::Batch batch(notifier_);
    std::string key = pendingKey(action);
    if (state_.pendingActions.insert(key).second) {
        notifier_.changed(ViewModelField::pendingActions);
    }
    // Every press starts its own reset and none is cancelled: a second press does not extend
    // the mark.
    after(pendingMarkDuration, [key = std::move(key)](PopoverViewModel& self) {
        if (self.state_.pendingActions.erase(key) > 0) {
            self.notifier_.changed(ViewModelField::pendingActions);
        }
    });
    backend_->dispatch(action.id, action.targetKey);
}

void PopoverViewModel::sendCommand(ShellCommand command) {
    ChangeNotifier::Batch batch(notifier_);
    if (state_.pendingCommands.insert(command).second) {
        notifier_.changed(ViewModelField::pendingCommands);
    }
    after(pendingMarkDuration, [command](PopoverViewModel& self) {
        if (self.state_.pendingCommands.erase(command) > 0) {
            self.notifier_.changed(ViewModelField::pendingCommands);
        }
    });
    backend_->dispatch(command);
}

void PopoverViewModel::closeDetail() {
    if (!state_.snapshot.selectedDetail) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    const std::string key = state_.snapshot.selectedDetail->key;
    PopoverSnapshot closed = state_.snapshot;
    closed.selectedDetail.reset();
    closed.destructiveConfirmation.reset();
    assign(state_.snapshot, std::move(closed), ViewModelField::snapshot, MotionName::detailDismiss);
    backend_->dispatch(std::string(toWire(ActionId::dismissDetail)), key);
}

void PopoverViewModel::openDetail(const std::string& key) {
    backend_->dispatch(std::string(toWire(ActionId::selectDetail)), key);
}

void PopoverViewModel::updateRefreshInterval(double seconds) {
    // The Settings control only offers numbers; anything else is refused, not sent.
    if (!std::isfinite(seconds)) {
        return;
    }
    const double clamped = std::clamp(seconds, minimumRefreshSeconds, maximumRefreshSeconds);
    const auto ms = static_cast<std::uint64_t>(std::round(clamped * 1000.0));
    if (ms == state_.snapshot.refreshIntervalMs) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    PopoverSnapshot updated = state_.snapshot;
    updated.refreshIntervalMs = ms;
    assign(state_.snapshot, std::move(updated), ViewModelField::snapshot, MotionName::settings);
    backend_->updateRefreshInterval(clamped);
}

void PopoverViewModel::updateStorageMode(SettingsStorageMode mode) {
    if (mode == state_.snapshot.settings.storageMode) {
        return;
    }
    updateSettings(mode, std::nullopt);
    backend_->updateStorageMode(mode);
}

void PopoverViewModel::updateEvidenceCaptureEnabled(bool enabled) {
    if (enabled == state_.snapshot.settings.evidenceCaptureEnabled) {
        return;
    }
    updateSettings(std::nullopt, enabled);
    backend_->updateEvidenceCaptureEnabled(enabled);
}

void PopoverViewModel::updateSettings(std::optional<SettingsStorageMode> mode,
                                      std::optional<bool> enabled) {
    ChangeNotifier::Batch batch(notifier_);
    PopoverSnapshot updated = state_.snapshot;
    updated.settings = state_.snapshot.settings.updating(mode, enabled);
    assign(state_.snapshot, std::move(updated), ViewModelField::snapshot, MotionName::settings);
}

void PopoverViewModel::presentActionFeedbackIfNeeded(const PopoverSnapshot& incoming) {
    if (!incoming.actionFeedback || incoming.actionFeedback->id == lastPresentedActionFeedbackID_) {
        return;
    }
    const ActionFeedbackSnapshot& feedback = *incoming.actionFeedback;
    lastPresentedActionFeedbackID_ = feedback.id;
    if (actionFeedbackTask_) {
        actionFeedbackTask_->cancel();
    }
    assign(state_.visibleActionFeedback, std::optional(feedback),
           ViewModelField::visibleActionFeedback, MotionName::overlay);
    actionFeedbackTask_ =
        after(actionFeedbackDuration_,
              [id = feedback.id](PopoverViewModel& self) { self.hideActionFeedback(id); });
}

void PopoverViewModel::hideActionFeedback(const std::string& id) {
    // A feedback that has been replaced meanwhile is left alone.
    if (state_.visibleActionFeedback && state_.visibleActionFeedback->id == id) {
        assign(state_.visibleActionFeedback, std::optional<ActionFeedbackSnapshot>(),
               ViewModelField::visibleActionFeedback, MotionName::overlay);
    }
}

} // namespace velmora
