#include "views/PopoverHistorySlot.h"

#if __has_include("views/AdvancedHistoryView.h")
#include "views/AdvancedHistoryView.h"
#define VELMORA_HAS_HISTORY_VIEW 1
#endif

namespace velmora {

#ifdef VELMORA_HAS_HISTORY_VIEW

QWidget* createHistorySurface(QWidget* parent, const PopoverCallbacks& callbacks) {
    auto* view = new AdvancedHistoryView(parent);
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
    static_cast<AdvancedHistoryView*>(surface)->setState(
        state.advancedHistory, state.isAdvancedHistoryLoading, state.advancedHistoryError);
}

#else

QWidget* createHistorySurface(QWidget* parent, const PopoverCallbacks&) {
    return new QWidget(parent);
}

void renderHistorySurface(QWidget*, const PopoverRenderState&) {}

#endif

} // namespace velmora
