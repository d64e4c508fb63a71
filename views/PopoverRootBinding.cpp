#include "views/PopoverRootBinding.h"

#include "views/PopoverRootView.h"

namespace velmora {

PopoverRenderState renderStateOf(const PopoverViewModel& viewModel) {
    PopoverRenderState state;
    state.snapshot = viewModel.snapshot();
    state.pendingActions = viewModel.pendingActions();
    state.pendingCommands = viewModel.pendingCommands();
    state.highlightedCriticalKeys = viewModel.highlightedCriticalKeys();
    state.visibleActionFeedback = viewModel.visibleActionFeedback();
    state.surface = viewModel.surface();
    state.advancedHistory = viewModel.advancedHistory();
    state.isAdvancedHistoryLoading = viewModel.isAdvancedHistoryLoading();
    state.advancedHistoryError = viewModel.advancedHistoryError();
    state.activeVerdictTooltip = viewModel.activeVerdictTooltip();
    state.activeSummaryText = viewModel.activeSummaryText();
    return state;
}

PopoverRootBinding::PopoverRootBinding(PopoverRootView& root,
                                       std::shared_ptr<PopoverViewModel> viewModel,
                                       std::function<void()> openSettings)
    : root_(root), viewModel_(std::move(viewModel)) {
    // The callbacks hold the view model weakly: the popover never keeps it alive.
    std::weak_ptr<PopoverViewModel> weak = viewModel_;
    const auto with = [weak](auto operation) {
        return [weak, operation](auto&&... args) {
            if (auto model = weak.lock()) {
                operation(*model, std::forward<decltype(args)>(args)...);
            }
        };
    };
    PopoverCallbacks callbacks;
    callbacks.dispatch =
        with([](PopoverViewModel& m, const ActionDescriptor& a) { m.dispatch(a); });
    callbacks.sendCommand = with([](PopoverViewModel& m, ShellCommand c) { m.sendCommand(c); });
    callbacks.openSettings = std::move(openSettings);
    callbacks.closeDetail = with([](PopoverViewModel& m) { m.closeDetail(); });
    callbacks.toggleAdvancedHistory = with([](PopoverViewModel& m) { m.toggleAdvancedHistory(); });
    callbacks.loadAdvancedHistory = with([](PopoverViewModel& m, std::optional<std::string> key) {
        m.loadAdvancedHistory(std::move(key));
    });
    callbacks.dismissActiveVerdictTooltip =
        with([](PopoverViewModel& m) { m.dismissActiveVerdictTooltip(); });
    callbacks.openDetail =
        with([](PopoverViewModel& m, const std::string& key) { m.openDetail(key); });
    root_.setCallbacks(std::move(callbacks));
    root_.render(renderStateOf(*viewModel_));
    observation_ = viewModel_->observe([this](const ViewModelChange& change) {
        root_.render(renderStateOf(*viewModel_), change.motion);
    });
}

} // namespace velmora
