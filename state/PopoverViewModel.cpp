// SPDX-License-Identifier: GPL-3.0-or-later
#include "state/PopoverViewModel.h"

#include "state/RowStabilizer.h"

namespace velmora {

namespace {

// Rows that repeat a key would make the on-screen order ambiguous; the first of each is kept.
PopoverSnapshot withUniqueRows(PopoverSnapshot snapshot) {
    snapshot.rows = firstRowOfEachKey(std::move(snapshot.rows));
    return snapshot;
}

} // namespace

std::shared_ptr<PopoverViewModel>
PopoverViewModel::create(std::shared_ptr<VelmoraBackend> backend,
                         std::shared_ptr<Scheduler> scheduler, VerdictTooltipCatalog tooltipCatalog,
                         std::shared_ptr<VerdictTooltipDismissalStore> tooltipDismissalStore,
                         Duration focusFlipDelay, Duration actionFeedbackDuration) {
    auto viewModel = std::make_shared<PopoverViewModel>(
        Passkey{}, std::move(backend), std::move(scheduler), std::move(tooltipCatalog),
        std::move(tooltipDismissalStore), focusFlipDelay, actionFeedbackDuration);
    viewModel->subscribe();
    viewModel->subscribeMonitorLink();
    return viewModel;
}

PopoverViewModel::PopoverViewModel(
    Passkey, std::shared_ptr<VelmoraBackend> backend, std::shared_ptr<Scheduler> scheduler,
    VerdictTooltipCatalog tooltipCatalog,
    std::shared_ptr<VerdictTooltipDismissalStore> tooltipDismissalStore, Duration focusFlipDelay,
    Duration actionFeedbackDuration)
    : backend_(std::move(backend)), scheduler_(std::move(scheduler)),
      tooltipCatalog_(std::move(tooltipCatalog)),
      tooltipDismissalStore_(std::move(tooltipDismissalStore)), focusFlipDelay_(focusFlipDelay),
      actionFeedbackDuration_(actionFeedbackDuration),
      latestBackendSnapshot_(withUniqueRows(backend_->currentSnapshot())) {
    state_.snapshot = latestBackendSnapshot_;
    state_.activeVerdictTooltip = firstUndismissedTooltip(state_.snapshot);
    state_.monitorLink = rebased(backend_->currentMonitorLink(), scheduler_->now());
}

PopoverViewModel::~PopoverViewModel() = default;

void PopoverViewModel::subscribe() {
    // The backend may publish on its own thread; each snapshot is moved to the main thread
    // and dropped there when the view model has gone in the meantime.
    subscription_ = backend_->subscribe(
        [weak = weak_from_this(), scheduler = scheduler_](const PopoverSnapshot& published) {
            scheduler->post([weak, incoming = withUniqueRows(published)]() mutable {
                if (auto self = weak.lock()) {
                    self->apply(std::move(incoming));
                }
            });
        });
}

std::shared_ptr<TimerHandle> PopoverViewModel::after(Duration delay, Task task) {
    return scheduler_->postAfter(delay, [weak = weak_from_this(), task = std::move(task)] {
        if (auto self = weak.lock()) {
            ChangeNotifier::Batch batch(self->notifier_);
            task(*self);
        }
    });
}

std::unique_ptr<Observation>
PopoverViewModel::observe(std::function<void(const ViewModelChange&)> observer) {
    return notifier_.observe(std::move(observer));
}

} // namespace velmora
