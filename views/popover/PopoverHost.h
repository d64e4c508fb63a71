// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "state/VelmoraMotion.h"
#include "views/popover/PopoverRenderState.h"

#include <QImage>
#include <QWidget>
#include <optional>

class QScrollArea;

namespace velmora {

class PopoverRootView;

// The popover as the app hosts it: the root view held at the popover's fixed width (not at
// the width its layout would like) inside a frameless scroll area that only scrolls
// vertically, centred at the top. The host grows to the root's height, so nothing scrolls; the
// gallery and the layout tests see exactly what a person sees at 448 pixels.
class PopoverHost : public QWidget {
    Q_OBJECT
public:
    explicit PopoverHost(QWidget* parent = nullptr);

    PopoverRootView* root() const { return root_; }
    QScrollArea* scrollArea() const { return scroll_; }

    // Renders `state` into the root, shows the host and lets the layouts settle.
    void present(const PopoverRenderState& state, std::optional<VelmoraMotion> motion = {});
    // The host as tall as the root needs, as wide as the root plus a scroll bar.
    void fitToContent();
    // The root view (the popover itself) at device pixel ratio `dpr`.
    QImage grabPopover(qreal dpr) const;

private:
    QScrollArea* scroll_;
    PopoverRootView* root_;
};

// Puts `content` into `scroll` the way the popover is always hosted: frameless, scrolling only
// vertically, at its own width centred at the top, on the shell colour.
void hostInPopoverScrollArea(QScrollArea* scroll, QWidget* content);

// Lets posted events (layout requests, shows, deferred deletes) run until the host is still.
void settleLayouts();

} // namespace velmora
