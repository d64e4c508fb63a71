// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/selfcheck/SoakDriver.h"

#include "state/PopoverViewModel.h"

namespace velmora {

namespace {

enum class SoakStep { openDetail, closeDetail, openHistory, openOffender, closeHistory, count };

} // namespace

SoakDriver::SoakDriver(std::weak_ptr<PopoverViewModel> viewModel,
                       std::shared_ptr<Scheduler> scheduler, Scheduler::Duration step)
    : viewModel_(std::move(viewModel)), scheduler_(std::move(scheduler)), step_(step) {}

SoakDriver::~SoakDriver() {
    if (timer_) {
        timer_->cancel();
    }
}

void SoakDriver::start() {
    schedule();
}

void SoakDriver::schedule() {
    timer_ = scheduler_->postAfter(step_, [this] {
        takeStep();
        schedule();
    });
}

void SoakDriver::takeStep() {
    const auto which = static_cast<SoakStep>(steps_ % static_cast<int>(SoakStep::count));
    ++steps_;
    const auto viewModel = viewModel_.lock();
    if (!viewModel) {
        return;
    }
    switch (which) {
    case SoakStep::openDetail:
        if (!viewModel->snapshot().rows.empty()) {
            viewModel->openDetail(viewModel->snapshot().rows.front().key);
        }
        break;
    case SoakStep::closeDetail:
        viewModel->closeDetail();
        break;
    case SoakStep::openHistory:
        viewModel->openAdvancedHistory();
        break;
    case SoakStep::openOffender:
        if (const auto& history = viewModel->advancedHistory();
            history && !history->offenders.empty()) {
            viewModel->loadAdvancedHistory(history->offenders.front().key);
        }
        break;
    case SoakStep::closeHistory:
        if (viewModel->surface() == PopoverSurface::advanced) {
            viewModel->toggleAdvancedHistory();
        }
        break;
    case SoakStep::count:
        break;
    }
}

} // namespace velmora
