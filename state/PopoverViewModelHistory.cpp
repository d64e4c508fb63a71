// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/Uuid.h"
#include "state/PopoverViewModel.h"

namespace velmora {

void PopoverViewModel::openAdvancedHistory() {
    ChangeNotifier::Batch batch(notifier_);
    assign(state_.surface, PopoverSurface::advanced, ViewModelField::surface, MotionName::detail);
    loadAdvancedHistory(std::nullopt);
}

void PopoverViewModel::toggleAdvancedHistory() {
    if (state_.surface != PopoverSurface::advanced) {
        openAdvancedHistory();
        return;
    }
    // The payload, the loading flag and the request token stay: reopening shows the last
    // payload until the next answer replaces it.
    ChangeNotifier::Batch batch(notifier_);
    assign(state_.surface, PopoverSurface::live, ViewModelField::surface,
           MotionName::detailDismiss);
    assign(state_.advancedHistoryError, std::optional<std::string>(),
           ViewModelField::advancedHistoryError, MotionName::detailDismiss);
}

void PopoverViewModel::loadAdvancedHistory(std::optional<std::string> selectedKey) {
    ChangeNotifier::Batch batch(notifier_);
    std::string token = newUuidV4();
    historyRequestToken_ = token;
    assign(state_.isAdvancedHistoryLoading, true, ViewModelField::isAdvancedHistoryLoading);
    // A request for one offender leaves an earlier error in place until its answer arrives.
    if (!selectedKey) {
        assign(state_.advancedHistoryError, std::optional<std::string>(),
               ViewModelField::advancedHistoryError);
    }
    const bool namedKey = selectedKey.has_value();
    // The completion may run on any thread, even after the view model has gone.
    backend_->fetchAdvancedHistory(
        std::move(selectedKey), [weak = weak_from_this(), scheduler = scheduler_,
                                 token = std::move(token), namedKey](HistoryResult result) {
            scheduler->post([weak, token, namedKey, result = std::move(result)]() mutable {
                if (auto self = weak.lock()) {
                    self->finishHistoryRequest(token, namedKey, std::move(result));
                }
            });
        });
}

void PopoverViewModel::finishHistoryRequest(const std::string& token, bool namedKey,
                                            HistoryResult result) {
    // A newer request is outstanding: its own answer ends the loading state.
    if (historyRequestToken_ != token) {
        return;
    }
    ChangeNotifier::Batch batch(notifier_);
    assign(state_.isAdvancedHistoryLoading, false, ViewModelField::isAdvancedHistoryLoading);
    if (auto* history = std::get_if<AdvancedHistorySnapshot>(&result)) {
        assign(state_.advancedHistoryError, std::optional<std::string>(),
               ViewModelField::advancedHistoryError);
        assign(state_.advancedHistory, std::optional(std::move(*history)),
               ViewModelField::advancedHistory,
               namedKey ? MotionName::detail : MotionName::shellRefresh);
    } else {
        assign(state_.advancedHistoryError,
               std::optional(std::get<BackendRequestError>(result).message),
               ViewModelField::advancedHistoryError);
    }
}

} // namespace velmora
