// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverViewModel.h"

namespace velmora {

void PopoverViewModel::subscribeMonitorLink() {
    // Published on the backend's thread, in order with the snapshots (the two are posted to the
    // main thread one after the other), so the state clears right after the good answer.
    linkSubscription_ = backend_->subscribeMonitorLink(
        [weak = weak_from_this(), scheduler = scheduler_](const MonitorLinkState& published) {
            scheduler->post([weak, published] {
                if (auto self = weak.lock()) {
                    ChangeNotifier::Batch batch(self->notifier_);
                    self->applyMonitorLink(published);
                }
            });
        });
}

void PopoverViewModel::applyMonitorLink(const MonitorLinkState& published) {
    // The published time points are on the backend's clock; the views measure on ours.
    MonitorLinkState state = rebased(published, scheduler_->now());
    // The same state read again (the subscription's first value) is no change.
    if (rebased(state_.monitorLink, state.asOf) == state) {
        return;
    }
    // Starting or stopping to watch is worth noticing; a new time for the next try is not.
    const auto motion = state.watching() == state_.monitorLink.watching()
                            ? std::nullopt
                            : std::optional<MotionName>(MotionName::shellEmphasis);
    assign(state_.monitorLink, std::move(state), ViewModelField::monitorLink, motion);
}

std::optional<PopoverViewModel::Duration> PopoverViewModel::nextMonitorAttemptIn() const {
    return nextAttemptIn(state_.monitorLink, scheduler_->now());
}

std::optional<PopoverViewModel::Duration> PopoverViewModel::lastGoodSnapshotAge() const {
    return lastGoodAnswerAge(state_.monitorLink, scheduler_->now());
}

void PopoverViewModel::restartMonitor() {
    backend_->restartMonitor();
}

} // namespace velmora
