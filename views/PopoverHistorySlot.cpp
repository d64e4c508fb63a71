#include "views/PopoverHistorySlot.h"

#if __has_include("views/AdvancedHistoryView.h")
#include "views/AdvancedHistoryView.h"
#define VELMORA_HAS_HISTORY_VIEW 1
#endif

#include <algorithm>

namespace velmora {

namespace {

// The card's content width inside the 448-point popover, and the tallest the surface grows.
constexpr int popoverContentWidth = 448 - 2 * 14 - 2 * 16;
constexpr int maximumHistoryHeight = 560;

} // namespace

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
    auto* view = static_cast<AdvancedHistoryView*>(surface);
    view->setState(state.advancedHistory, state.isAdvancedHistoryLoading,
                   state.advancedHistoryError);
    QWidget* content = view->widget();
    if (content == nullptr) {
        return;
    }
    // Inside the popover the surface sits on the card: no backdrop of its own, and as tall as
    // its content up to a screenful, scrolling beyond that.
    content->setAutoFillBackground(false);
    const int width = view->width() > 0 ? view->width() : popoverContentWidth;
    const int needed = content->hasHeightForWidth() ? content->heightForWidth(width)
                                                    : content->sizeHint().height();
    const int height = std::min(std::max(needed, 0), maximumHistoryHeight);
    if (view->minimumHeight() != height) {
        view->setMinimumHeight(height);
    }
}

#else

QWidget* createHistorySurface(QWidget* parent, const PopoverCallbacks&) {
    return new QWidget(parent);
}

void renderHistorySurface(QWidget*, const PopoverRenderState&) {}

#endif

} // namespace velmora
