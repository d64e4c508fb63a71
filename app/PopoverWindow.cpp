// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PopoverWindow.h"

#include "app/PopoverPlacement.h"
#include "state/PopoverViewModel.h"
#include "views/popover/PopoverHost.h"
#include "views/popover/PopoverRootView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

PopoverWindow::PopoverWindow(std::shared_ptr<PopoverViewModel> viewModel, Style style,
                             PopoverContentActions actions, QMenu* applicationMenu, QWidget* parent)
    : QWidget(parent), viewModel_(std::move(viewModel)), style_(style),
      scroll_(new QScrollArea(this)),
      positioning_(popoverPositioningOn(QGuiApplication::platformName().toStdString())) {
    setObjectName(QStringLiteral("popoverWindow"));
    setWindowTitle(QStringLiteral("Velmora"));
    if (style_ == Style::popover) {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    } else {
        setWindowFlags(Qt::Window);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (style_ == Style::window && applicationMenu) {
        auto* bar = new QHBoxLayout();
        bar->setContentsMargins(8, 6, 8, 0);
        bar->addStretch();
        auto* menuButton = new QToolButton(this);
        menuButton->setObjectName(QStringLiteral("applicationMenuButton"));
        menuButton->setText(QStringLiteral("Velmora \u25BE"));
        menuButton->setMenu(applicationMenu);
        menuButton->setPopupMode(QToolButton::InstantPopup);
        bar->addWidget(menuButton);
        layout->addLayout(bar);
    }
    if (style_ == Style::window) {
        hint_ = makeHintFrame();
        layout->addWidget(hint_);
    }
    content_ = createPopoverContent(viewModel_, popoverContentWidth, std::move(actions), nullptr);
    hostInPopoverScrollArea(scroll_, content_);
    layout->addWidget(scroll_);
    resize(preferredSize(screen()->availableGeometry()));
    // The content grows and shrinks as the state changes (the first answer after "starting",
    // a notice, a detail): the window follows it while it is on screen.
    if (auto* root = qobject_cast<PopoverRootView*>(content_)) {
        connect(root, &PopoverRootView::popoverSizeChanged, this, [this] { followContent(); });
    }
    // A Wayland compositor tells the application, not always the window, that the focus went
    // elsewhere. Only a popover that has had the focus since it was shown counts: the news
    // that the focus left a popover closed a moment ago must not close the one just opened.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive && focusedSinceShown_ && !isActiveWindow()) {
                    closeAsPopover();
                }
            });
}

void PopoverWindow::showHint(const QString& text, std::function<void()> dismissed) {
    if (hint_ == nullptr) {
        return;
    }
    hint_->findChild<QLabel*>(QStringLiteral("noTrayHintText"))->setText(text);
    hintDismissed_ = std::move(dismissed);
    hint_->show();
}

QFrame* PopoverWindow::makeHintFrame() {
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("noTrayHint"));
    frame->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(10, 8, 10, 8);
    auto* label = new QLabel(frame);
    label->setObjectName(QStringLiteral("noTrayHintText"));
    label->setWordWrap(true);
    row->addWidget(label, 1);
    auto* dismiss = new QPushButton(tr("Don\u2019t show again"), frame);
    dismiss->setObjectName(QStringLiteral("noTrayHintDismiss"));
    connect(dismiss, &QPushButton::clicked, this, [this] {
        hint_->hide();
        if (hintDismissed_) {
            hintDismissed_();
        }
    });
    row->addWidget(dismiss, 0, Qt::AlignTop);
    frame->hide();
    return frame;
}

void PopoverWindow::followContent() {
    if (!isVisible() || fixedSize_) {
        return;
    }
    if (anchor_) {
        place(anchor_->first, anchor_->second);
    } else {
        resize(preferredSize(screen()->availableGeometry()));
    }
}

void PopoverWindow::setFixedContentSize(QSize size) {
    fixedSize_ = size;
    setFixedSize(size);
}

QSize PopoverWindow::preferredSize(const QRect& screenArea) const {
    return preferredSize(screenArea.height() - 24);
}

QSize PopoverWindow::preferredSize(int maxHeight) const {
    if (fixedSize_) {
        return *fixedSize_;
    }
    content_->adjustSize();
    const int scrollBar = scroll_->verticalScrollBar()->sizeHint().width();
    const int width = popoverContentWidth + scrollBar;
    const int height = std::min(content_->sizeHint().height() + 4, maxHeight);
    return {width, std::max(height, 200)};
}

void PopoverWindow::showAnchored(QRect iconGeometry, QPoint pointer) {
    anchor_ = {iconGeometry, pointer};
    place(iconGeometry, pointer);
    present();
}

void PopoverWindow::place(QRect iconGeometry, QPoint pointer) {
    const QPoint probe = iconGeometry.isEmpty() ? pointer : iconGeometry.center();
    QScreen* target = QGuiApplication::screenAt(probe);
    if (!target) {
        target = QGuiApplication::primaryScreen();
    }
    const QRect area = target->availableGeometry();
    if (positioning_ == PopoverPositioning::byCompositor) {
        resize(preferredSize(area));
        return;
    }
    std::optional<PlacementRect> anchor;
    if (!iconGeometry.isEmpty()) {
        anchor = PlacementRect{iconGeometry.x(), iconGeometry.y(), iconGeometry.width(),
                               iconGeometry.height()};
    }
    const PlacementRect screenArea{area.x(), area.y(), area.width(), area.height()};
    const PlacementPoint at{pointer.x(), pointer.y()};
    // No taller than the room beside the icon, so that it never covers the icon it hangs from.
    const QSize size = preferredSize(popoverRoomBesideAnchor(anchor, at, screenArea));
    resize(size);
    const auto topLeft = popoverTopLeft(anchor, at, {size.width(), size.height()}, screenArea);
    move(topLeft.x, topLeft.y);
}

void PopoverWindow::toggleAnchored(QRect iconGeometry, QPoint pointer) {
    if (isVisible()) {
        hide();
        return;
    }
    showAnchored(iconGeometry, pointer);
}

void PopoverWindow::present() {
    show();
    raise();
    activateWindow();
}

void PopoverWindow::closeAsPopover() {
    if (style_ == Style::popover && closesOnDeactivation_ && isVisible()) {
        hide();
    }
}

bool PopoverWindow::event(QEvent* event) {
    if (event->type() == QEvent::Show) {
        focusedSinceShown_ = false;
    } else if (event->type() == QEvent::WindowActivate) {
        focusedSinceShown_ = true;
    } else if (event->type() == QEvent::WindowDeactivate) {
        closeAsPopover();
    }
    return QWidget::event(event);
}

void PopoverWindow::keyPressEvent(QKeyEvent* event) {
    // Escape closes an open detail first (through the view model); only then the popover.
    if (event->key() == Qt::Key_Escape) {
        if (viewModel_->snapshot().selectedDetail) {
            viewModel_->closeDetail();
        } else if (style_ == Style::popover) {
            hide();
        }
        return;
    }
    QWidget::keyPressEvent(event);
}

void PopoverWindow::closeEvent(QCloseEvent* event) {
    // Closing never ends the application; a later click or launch brings the window back.
    event->ignore();
    hide();
}

} // namespace velmora
