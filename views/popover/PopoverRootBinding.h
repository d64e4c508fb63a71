// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/PopoverViewModel.h"
#include "views/kit/RepaintTicker.h"
#include "views/popover/PopoverRenderState.h"

#include <functional>
#include <memory>

namespace velmora {

class PopoverRootView;

// The view model's published state, as the popover renders it.
PopoverRenderState renderStateOf(const PopoverViewModel& viewModel);

// Keeps a PopoverRootView in step with the view model: every change re-renders it with the
// change's motion, and every control of the popover calls the matching view-model operation.
// "Open settings" goes to `openSettings`, which the app provides. While the monitor is not
// watching, the popover is rendered again once a second (on the view model's scheduler) so
// that its countdown and the age of the rows stay true; while it watches, nothing is timed.
class PopoverRootBinding {
public:
    PopoverRootBinding(PopoverRootView& root, std::shared_ptr<PopoverViewModel> viewModel,
                       std::function<void()> openSettings);

private:
    void render(std::optional<VelmoraMotion> motion);

    PopoverRootView& root_;
    std::shared_ptr<PopoverViewModel> viewModel_;
    RepaintTicker ticker_;
    std::unique_ptr<Observation> observation_;
};

} // namespace velmora
