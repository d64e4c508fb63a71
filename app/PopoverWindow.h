// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PopoverContent.h"
#include "app/PopoverPlacement.h"

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QFrame;
class QMenu;
class QScrollArea;

namespace velmora {

class PopoverViewModel;

// The window that hosts the popover's root view.
//
// As a popover (the tray case): a frameless tool window, closed by Escape (when no detail is
// open, which Escape leaves to the view) or, when `closesOnDeactivation`, as soon as it or the
// application loses the focus. Under X11 it is placed under the tray icon or at the pointer;
// a Wayland compositor places it where it places new windows.
// As an ordinary window (no tray on this desktop): titled "Velmora", with a menu button for
// the application commands and room for a hint above the content; closing it only hides it.
class PopoverWindow : public QWidget {
    Q_OBJECT
public:
    enum class Style { popover, window };

    PopoverWindow(std::shared_ptr<PopoverViewModel> viewModel, Style style,
                  PopoverContentActions actions, QMenu* applicationMenu = nullptr,
                  QWidget* parent = nullptr);

    void setClosesOnDeactivation(bool closes) { closesOnDeactivation_ = closes; }
    // A fixed outer size (the self-check uses 476 × 620); otherwise the height follows the
    // content up to the screen's height, also while the window is on screen (a popover keeps
    // to its anchor as it grows).
    void setFixedContentSize(QSize size);

    // Shows the popover anchored to the tray icon geometry (empty: at `pointer`).
    void showAnchored(QRect iconGeometry, QPoint pointer);
    void toggleAnchored(QRect iconGeometry, QPoint pointer);
    // Shows and raises the window where it is.
    void present();
    // Shows `text` above the content with a "Don't show again" button, which hides the hint
    // and calls `dismissed`. Only the window style has room for it.
    void showHint(const QString& text, std::function<void()> dismissed);

    QWidget* content() const { return content_; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QSize preferredSize(const QRect& screenArea) const;
    QSize preferredSize(int maxHeight) const;
    // Sizes the popover to its content and places it at its anchor.
    void place(QRect iconGeometry, QPoint pointer);
    void followContent();
    void closeAsPopover();
    QFrame* makeHintFrame();

    std::shared_ptr<PopoverViewModel> viewModel_;
    Style style_;
    QScrollArea* scroll_;
    QWidget* content_;
    QFrame* hint_ = nullptr;
    std::function<void()> hintDismissed_;
    PopoverPositioning positioning_;
    bool closesOnDeactivation_ = true;
    bool focusedSinceShown_ = false;
    std::optional<QSize> fixedSize_;
    std::optional<std::pair<QRect, QPoint>> anchor_; // where the popover was last shown
};

} // namespace velmora
