// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/AdvancedHistoryView.h"

#include "views/history/AdvancedHistoryDetailView.h"
#include "views/history/AdvancedHistoryEmptyState.h"
#include "views/history/AdvancedHistoryListView.h"
#include "views/kit/SurfacePanel.h"

#include <QBoxLayout>
#include <QResizeEvent>

namespace velmora {

AdvancedHistoryView::AdvancedHistoryView(QWidget* parent) : QScrollArea(parent) {
    setObjectName("advancedHistoryView");
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    viewport()->setAutoFillBackground(false);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 2, 0, 2);
    layout->setSpacing(11);
    detail_ = new AdvancedHistoryDetailView(content);
    list_ = new AdvancedHistoryListView(content);
    loading_ = new AdvancedHistoryLoadingView(content);
    unavailable_ = new AdvancedHistoryEmptyState(content);
    unavailable_->setObjectName("advancedHistoryUnavailable");
    for (QWidget* screen :
         std::initializer_list<QWidget*>{detail_, list_, loading_, unavailable_}) {
        layout->addWidget(screen);
        screen->hide();
    }
    layout->addStretch(1);
    setWidget(content);
    // The content sits in the viewport, where a change of its layout reaches no layout of ours:
    // pass it on so that the popover re-reads this surface's height.
    content->installEventFilter(this);
    setState(std::nullopt, false, std::nullopt);
}

void AdvancedHistoryView::setFitsContent(int maximumHeight) {
    if (maximumHeight == fitMaximum_) {
        return;
    }
    fitMaximum_ = std::max(0, maximumHeight);
    setSizePolicy(QSizePolicy::Expanding,
                  fitMaximum_ > 0 ? QSizePolicy::Preferred : QSizePolicy::Expanding);
    updateGeometry();
}

bool AdvancedHistoryView::hasHeightForWidth() const {
    return fitMaximum_ > 0;
}

int AdvancedHistoryView::heightForWidth(int width) const {
    const QWidget* content = widget();
    if (fitMaximum_ <= 0 || content == nullptr) {
        return QScrollArea::heightForWidth(width);
    }
    const QMargins frame = contentsMargins();
    const int inner = width - frame.left() - frame.right();
    const int needed = content->hasHeightForWidth() ? content->heightForWidth(inner)
                                                    : content->sizeHint().height();
    return std::min(std::max(needed, 0), fitMaximum_) + frame.top() + frame.bottom();
}

QSize AdvancedHistoryView::sizeHint() const {
    const QSize hint = QScrollArea::sizeHint();
    if (fitMaximum_ <= 0) {
        return hint;
    }
    return {hint.width(), heightForWidth(width() > 0 ? width() : hint.width())};
}

bool AdvancedHistoryView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget() && event->type() == QEvent::LayoutRequest && fitMaximum_ > 0) {
        updateGeometry();
    }
    return QScrollArea::eventFilter(watched, event);
}

void AdvancedHistoryView::setState(const std::optional<AdvancedHistorySnapshot>& history,
                                   bool isLoading, const std::optional<std::string>& errorText) {
    State next{history, isLoading, errorText};
    if (state_ && *state_ == next) {
        return;
    }
    state_ = std::move(next);
    if (history && history->selectedDetail) {
        detail_->setDetail(*history->selectedDetail);
        showScreen(Screen::detail);
    } else if (history) {
        list_->setState(history->offenders, isLoading, errorText);
        showScreen(Screen::list);
    } else if (isLoading) {
        showScreen(Screen::loading);
    } else {
        unavailable_->setTexts(
            tr("Advanced history unavailable"),
            errorText ? QString::fromStdString(*errorText)
                      : tr("Velmora has not built enough history yet to rank recurring "
                           "offenders."));
        showScreen(Screen::unavailable);
    }
    if (fitMaximum_ > 0) {
        updateGeometry();
    }
}

void AdvancedHistoryView::showScreen(Screen screen) {
    screen_ = screen;
    setShown(detail_, screen == Screen::detail);
    setShown(list_, screen == Screen::list);
    setShown(loading_, screen == Screen::loading);
    setShown(unavailable_, screen == Screen::unavailable);
}

void AdvancedHistoryView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    QWidget* content = widget();
    const int width = viewport()->width();
    if (content != nullptr && content->minimumWidth() != width) {
        // A fixed width overrides the layout's minimum, which would otherwise widen the
        // content past the viewport whenever a row's natural width is larger.
        content->setFixedWidth(width);
    }
}

void AdvancedHistoryView::setOnBack(std::function<void()> onBack) {
    detail_->setOnBack(std::move(onBack));
}

void AdvancedHistoryView::setOnSelectOffender(std::function<void(const std::string&)> onSelect) {
    list_->setOnSelectOffender(std::move(onSelect));
}

} // namespace velmora
