// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <functional>
#include <memory>

class QWidget;

namespace velmora {

class PopoverViewModel;
struct PopoverSnapshot;

// What the shell hosts from the views layer: the popover's root view laid out `width` wide,
// and the tray icon of a snapshot.
struct PopoverContentActions {
    std::function<void()> openSettings;
};

QWidget* createPopoverContent(const std::shared_ptr<PopoverViewModel>& viewModel, int width,
                              PopoverContentActions actions, QWidget* parent);

// The tray icon for `snapshot`, rendered at device pixel ratio `dpr`.
QPixmap renderTrayIcon(const PopoverSnapshot& snapshot, qreal dpr);

inline constexpr int popoverContentWidth = 448;

} // namespace velmora
