// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NotificationRelay.h"

#include "state/NotificationText.h"
#include "state/PopoverViewModel.h"

namespace velmora {

bool allowsDesktopNotifications(const RuntimeOptions& options) {
    return !options.isSmokeTest && !options.showsDemo() && !options.interactiveMenuSmoke &&
           !options.advancedHistorySmoke && !options.exportFeedbackSmoke &&
           !options.recoveryFeedbackSmoke && !options.restartFeedbackSmoke &&
           !options.recoverySmokePID && !options.soakDriveSeconds;
}

NotificationRelay::NotificationRelay(std::shared_ptr<PopoverViewModel> viewModel,
                                     std::shared_ptr<Scheduler> scheduler,
                                     std::shared_ptr<AppSettings> settings,
                                     std::unique_ptr<DesktopNotifier> notifier,
                                     std::function<void()> showPopover,
                                     std::shared_ptr<NotificationMemoryStore> memory)
    : viewModel_(std::move(viewModel)), policy_(std::move(scheduler), std::move(settings)),
      memory_(std::move(memory)), showPopover_(std::move(showPopover)),
      notifier_(std::move(notifier)) {
    if (memory_) {
        if (const auto kept = memory_->load()) {
            policy_.restore(*kept);
            notifier_->expectServer(kept->serverOwner);
        }
    }
    savedRevision_ = policy_.memoryRevision();
    notifier_->setOnAction(
        [this](NotificationAction action, const std::string& key) { act(action, key); });
    notifier_->setOnClosed([this](uint32_t id) {
        policy_.closed(id);
        keepMemory();
    });
    notifier_->setOnServerChanged([this](const std::string& owner) {
        policy_.serverChanged(owner);
        keepMemory();
    });
    // The first data may come as a snapshot while the monitor is still starting, and the
    // monitor link that makes it data right after: either change reviews.
    observation_ = viewModel_->observe([this](const ViewModelChange& change) {
        if (change.has(ViewModelField::snapshot) || change.has(ViewModelField::monitorLink)) {
            review();
        }
    });
    review();
}

NotificationRelay::~NotificationRelay() = default;

void NotificationRelay::review() {
    // Before the monitor's first answer the snapshot is a placeholder: it says nothing about
    // incidents, not even that they cleared.
    if (!viewModel_->monitorLink().hasData()) {
        return;
    }
    for (const auto& notification : policy_.review(viewModel_->snapshot())) {
        notifier_->send(notification,
                        [this, incident = notification.incident](std::optional<uint32_t> id) {
                            if (id) {
                                policy_.delivered(incident, *id);
                                keepMemory();
                            }
                        });
    }
    keepMemory();
}

void NotificationRelay::keepMemory() {
    if (!memory_ || policy_.memoryRevision() == savedRevision_) {
        return;
    }
    savedRevision_ = policy_.memoryRevision();
    memory_->save(policy_.memory());
}

void NotificationRelay::sendTest(std::function<void(bool shown)> done) {
    notifier_->send(testNotification(), [done = std::move(done)](std::optional<uint32_t> id) {
        if (done) {
            done(id.has_value());
        }
    });
}

void NotificationRelay::act(NotificationAction action, const std::string& key) {
    switch (action) {
    case NotificationAction::show:
        if (showPopover_) {
            showPopover_();
        }
        if (!key.empty()) {
            viewModel_->openDetail(key);
        }
        break;
    case NotificationAction::captureEvidence:
        if (!key.empty()) {
            viewModel_->dispatch(makeAction(ActionId::captureStrongerEvidence, "Capture evidence",
                                            ActionStyle::primary, key));
        }
        break;
    case NotificationAction::ignore:
        if (!key.empty()) {
            viewModel_->dispatch(
                makeAction(ActionId::ignore, "Ignore for 24h", ActionStyle::secondary, key));
        }
        break;
    }
}

} // namespace velmora
