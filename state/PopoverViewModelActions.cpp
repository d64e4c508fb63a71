#include "state/PopoverViewModel.h"

#include <cmath>

namespace velmora {

void PopoverViewModel::dispatch(const ActionDescriptor& action) {
    ChangeNotifier::Batch batch(notifier_);
    std::string key = pendingKey(action);
    if (pendingActions_.insert(key).second) {
        notifier_.changed(ViewModelField::pendingActions);
    }
    // Every press starts its own reset and none is cancelled: a second press does not extend
    // the mark.
    after(pendingMarkDuration, [key = std::move(key)](PopoverViewModel& self) {
        if (self.pendingActions_.erase(key) > 0) {
            self.notifier_.changed(ViewModelField::pendingActions);
        }
    });
    backend_->dispatch(action.id, action.targetKey);
}

void PopoverViewModel::sendCommand(ShellCommand command) {
    ChangeNotifier::Batch batch(notifier_);
    if (pendingCommands_.insert(command).second) {
        notifier_.changed(ViewModelField::pendingCommands);
    }
    after(pendingMarkDuration, [command](PopoverViewModel& self) {
        if (self.pendingCommands_.erase(command) > 0) {
            self.notifier_.changed(ViewModelField::pendingCommands);
        }
    });
    backend_->dispatch(command);
}

void PopoverViewModel::closeDetail() {
    if (!snapshot_.selectedDetail) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    const std::string key = snapshot_.selectedDetail->key;
    PopoverSnapshot closed = snapshot_;
    closed.selectedDetail.reset();
    closed.destructiveConfirmation.reset();
    assign(snapshot_, std::move(closed), ViewModelField::snapshot, MotionName::detailDismiss);
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
    if (ms == snapshot_.refreshIntervalMs) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    PopoverSnapshot updated = snapshot_;
    updated.refreshIntervalMs = ms;
    assign(snapshot_, std::move(updated), ViewModelField::snapshot, MotionName::settings);
    backend_->updateRefreshInterval(clamped);
}

void PopoverViewModel::updateStorageMode(SettingsStorageMode mode) {
    if (mode == snapshot_.settings.storageMode) {
        return;
    }
    updateSettings(mode, std::nullopt);
    backend_->updateStorageMode(mode);
}

void PopoverViewModel::updateEvidenceCaptureEnabled(bool enabled) {
    if (enabled == snapshot_.settings.evidenceCaptureEnabled) {
        return;
    }
    updateSettings(std::nullopt, enabled);
    backend_->updateEvidenceCaptureEnabled(enabled);
}

void PopoverViewModel::updateSettings(std::optional<SettingsStorageMode> mode,
                                      std::optional<bool> enabled) {
    ChangeNotifier::Batch batch(notifier_);
    PopoverSnapshot updated = snapshot_;
    updated.settings = snapshot_.settings.updating(mode, enabled);
    assign(snapshot_, std::move(updated), ViewModelField::snapshot, MotionName::settings);
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
    assign(visibleFeedback_, std::optional(feedback), ViewModelField::visibleActionFeedback,
           MotionName::overlay);
    actionFeedbackTask_ =
        after(actionFeedbackDuration_,
              [id = feedback.id](PopoverViewModel& self) { self.hideActionFeedback(id); });
}

void PopoverViewModel::hideActionFeedback(const std::string& id) {
    // A feedback that has been replaced meanwhile is left alone.
    if (visibleFeedback_ && visibleFeedback_->id == id) {
        assign(visibleFeedback_, std::optional<ActionFeedbackSnapshot>(),
               ViewModelField::visibleActionFeedback, MotionName::overlay);
    }
}

} // namespace velmora
