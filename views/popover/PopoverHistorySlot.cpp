// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverHistorySlot.h"

#if __has_include("views/history/AdvancedHistoryView.h")
#include "views/history/AdvancedHistoryView.h"
#define VELMORA_HAS_HISTORY_VIEW 1
#endif

namespace velmora {

#ifdef VELMORA_HAS_HISTORY_VIEW

namespace {

// The tallest the surface grows inside the popover before it scrolls.
constexpr int maximumHistoryHeight = 560;

} // namespace

QWidget* createHistorySurface(QWidget* parent, const PopoverCallbacks& callbacks) {
    auto* view = new AdvancedHistoryView(parent);
    // On the card: no backdrop of its own, and as tall as its content at the card's width.
    if (view->widget() != nullptr) {
        view->widget()->setAutoFillBackground(false);
    }
    view->setFitsContent(maximumHistoryHeight);
    view->setOnBack([&callbacks] {
        if (callbacks.loadAdvancedHistory) {
            callbacks.loadAdvancedHistory(std::nullopt);
        }
    });
    view->setOnSelectOffender([&callbacks](const std::string& key) {
        if (callbacks.loadAdvancedHistory) {
            callbacks.loadAdvancedHistory(key);
        }
    });
    return view;
}

void renderHistorySurface(QWidget* surface, const PopoverRenderState& state) {
    auto* view = static_cast<AdvancedHistoryView*>(surface);
    view->setState(state.advancedHistory, state.isAdvancedHistoryLoading,
                   state.advancedHistoryError);
}

#else

QWidget* createHistorySurface(QWidget* parent, const PopoverCallbacks&) {
    return new QWidget(parent);
}

void renderHistorySurface(QWidget*, const PopoverRenderState&) {}

#endif

} // namespace velmora
