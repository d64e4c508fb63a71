#include "link/Uuid.h"
#include "state/PopoverViewModel.h"

namespace velmora {

void PopoverViewModel::openAdvancedHistory() {
    ChangeNotifier::Batch batch(notifier_);
    assign(surface_, PopoverSurface::advanced, ViewModelField::surface, MotionName::detail);
    loadAdvancedHistory(std::nullopt);
}

void PopoverViewModel::toggleAdvancedHistory() {
    if (surface_ != PopoverSurface::advanced) {
        openAdvancedHistory();
        return;
    }
    // The payload, the loading flag and the request token stay: reopening shows the last
    // payload until the next answer replaces it.
    ChangeNotifier::Batch batch(notifier_);
    assign(surface_, PopoverSurface::live, ViewModelField::surface, MotionName::detailDismiss);
    assign(historyError_, std::optional<std::string>(), ViewModelField::advancedHistoryError,
           MotionName::detailDismiss);
}

void PopoverViewModel::loadAdvancedHistory(std::optional<std::string> selectedKey) {
    ChangeNotifier::Batch batch(notifier_);
    std::string token = newUuidV4();
    historyRequestToken_ = token;
    assign(historyLoading_, true, ViewModelField::isAdvancedHistoryLoading);
    // A request for one offender leaves an earlier error in place until its answer arrives.
    if (!selectedKey) {
        assign(historyError_, std::optional<std::string>(), ViewModelField::advancedHistoryError);
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
    assign(historyLoading_, false, ViewModelField::isAdvancedHistoryLoading);
    if (auto* history = std::get_if<AdvancedHistorySnapshot>(&result)) {
        assign(historyError_, std::optional<std::string>(), ViewModelField::advancedHistoryError);
        assign(history_, std::optional(std::move(*history)), ViewModelField::advancedHistory,
               namedKey ? MotionName::detail : MotionName::shellRefresh);
    } else {
        assign(historyError_, std::optional(std::get<BackendRequestError>(result).message),
               ViewModelField::advancedHistoryError);
    }
}

} // namespace velmora
