#pragma once

#include "state/PopoverViewModel.h"
#include "views/PopoverRenderState.h"

#include <functional>
#include <memory>

namespace velmora {

class PopoverRootView;

// The view model's published state, as the popover renders it.
PopoverRenderState renderStateOf(const PopoverViewModel& viewModel);

// Keeps a PopoverRootView in step with the view model: every change re-renders it with the
// change's motion, and every control of the popover calls the matching view-model operation.
// "Open settings" goes to `openSettings`, which the app provides.
class PopoverRootBinding {
public:
    PopoverRootBinding(PopoverRootView& root, std::shared_ptr<PopoverViewModel> viewModel,
                       std::function<void()> openSettings);

private:
    PopoverRootView& root_;
    std::shared_ptr<PopoverViewModel> viewModel_;
    std::unique_ptr<Observation> observation_;
};

} // namespace velmora
