// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/popover/PopoverHost.h"

#include "views/kit/VelmoraPalette.h"
#include "views/popover/PopoverRootView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QScrollArea>
#include <QScrollBar>

namespace velmora {

PopoverHost::PopoverHost(QWidget* parent)
    : QWidget(parent), scroll_(new QScrollArea(this)), root_(new PopoverRootView) {
    setObjectName(QStringLiteral("popoverHost"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    root_->setFixedWidth(PopoverRootView::popoverWidth);
    hostInPopoverScrollArea(scroll_, root_);
    layout->addWidget(scroll_);
    connect(root_, &PopoverRootView::popoverSizeChanged, this, [this] { fitToContent(); });
}

void PopoverHost::present(const PopoverRenderState& state, std::optional<VelmoraMotion> motion) {
    root_->render(state, motion);
    if (!isVisible()) {
        show();
    }
    settleLayouts();
    fitToContent();
    settleLayouts();
}

void PopoverHost::fitToContent() {
    root_->adjustSize();
    const int scrollBar = scroll_->verticalScrollBar()->sizeHint().width();
    const QSize size(PopoverRootView::popoverWidth + scrollBar, root_->height() + 4);
    if (size != this->size()) {
        resize(size);
    }
}

QImage PopoverHost::grabPopover(qreal dpr) const {
    QImage image(QSizeF(QSizeF(root_->size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    static_cast<QWidget*>(root_)->render(&image); // QWidget::render, not the state render
    return image;
}

void hostInPopoverScrollArea(QScrollArea* scroll, QWidget* content) {
    scroll->setWidget(content);
    scroll->setWidgetResizable(false);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QWidget* window = scroll->parentWidget() ? scroll->parentWidget() : scroll;
    followPaletteColor(window, QPalette::Window, PaletteColor::shell);
    window->setAutoFillBackground(true);
}

void settleLayouts() {
    for (int i = 0; i < 4; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}

} // namespace velmora
