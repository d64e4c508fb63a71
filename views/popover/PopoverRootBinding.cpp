// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverRootBinding.h"

#include "views/popover/PopoverRootView.h"

namespace velmora {

PopoverRenderState renderStateOf(const PopoverViewModel& viewModel) {
    return PopoverRenderState{viewModel.state(),
                              notWatchingNotice(viewModel.monitorLink(),
                                                viewModel.nextMonitorAttemptIn(),
                                                viewModel.lastGoodSnapshotAge())};
}

PopoverRootBinding::PopoverRootBinding(PopoverRootView& root,
                                       std::shared_ptr<PopoverViewModel> viewModel,
                                       std::function<void()> openSettings)
    : root_(root), viewModel_(std::move(viewModel)),
      ticker_(viewModel_->scheduler(), [this] { render(std::nullopt); }) {
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
    callbacks.restartMonitor = with([](PopoverViewModel& m) { m.restartMonitor(); });
    root_.setCallbacks(std::move(callbacks));
    render(std::nullopt);
    observation_ =
        viewModel_->observe([this](const ViewModelChange& change) { render(change.motion); });
}

void PopoverRootBinding::render(std::optional<VelmoraMotion> motion) {
    root_.render(renderStateOf(*viewModel_), motion);
    ticker_.setRunning(!viewModel_->monitorLink().watching());
}

} // namespace velmora
