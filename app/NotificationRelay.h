// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/DesktopNotifier.h"
#include "app/RuntimeOptions.h"
#include "state/NotificationPolicy.h"

#include <functional>
#include <memory>
#include <optional>

namespace velmora {

class Observation;
class PopoverViewModel;

// Whether a run may show desktop notifications: a self-check, a demo or the soak never does.
bool allowsDesktopNotifications(const RuntimeOptions& options);

// Turns the view model's snapshots into desktop notifications through the policy and the
// notifier, and the notifications' buttons back into what the popover's own controls do:
// "Show" opens the popover on the family's detail, "Capture evidence" and "Ignore for 24 h"
// dispatch the family's actions. Only the monitor's own data is reviewed: nothing before its
// first answer. The policy's memory is loaded from `memory` at the start and saved to it after
// every change, so that a restarted app does not tell again what it told.
class NotificationRelay {
public:
    NotificationRelay(std::shared_ptr<PopoverViewModel> viewModel,
                      std::shared_ptr<Scheduler> scheduler, std::shared_ptr<AppSettings> settings,
                      std::unique_ptr<DesktopNotifier> notifier, std::function<void()> showPopover,
                      std::shared_ptr<NotificationMemoryStore> memory = {});
    ~NotificationRelay();
    NotificationRelay(const NotificationRelay&) = delete;
    NotificationRelay& operator=(const NotificationRelay&) = delete;

    // Sends the test notification whatever the level; `done` learns whether it was shown.
    void sendTest(std::function<void(bool shown)> done = {});

    DesktopNotifier& notifier() { return *notifier_; }

private:
    void review();
    void act(NotificationAction action, const std::string& key);
    // Saves the policy's memory when it has changed since the last save.
    void keepMemory();

    std::shared_ptr<PopoverViewModel> viewModel_;
    NotificationPolicy policy_;
    std::shared_ptr<NotificationMemoryStore> memory_;
    uint64_t savedRevision_ = 0;
    std::function<void()> showPopover_;
    std::unique_ptr<Observation> observation_;
    // Last, so that it goes first: no answer from the bus arrives while the rest goes.
    std::unique_ptr<DesktopNotifier> notifier_;
};

} // namespace velmora
