// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>
#include <map>
#include <vector>

namespace velmora::testing {

// Checks of what a person sees, run over a rendered widget tree. Each finding is one line that
// names the widget (its path from the audited root) and the numbers that are wrong.

// "popoverRoot/popoverCard/mainArea/detailView/actBlock/actionChips/actionChip:inspect": the
// objectName of every widget from `root` down (its class where it has none, with its index
// among same-named siblings where the name repeats).
QString widgetPath(const QWidget* widget, const QWidget* root);

// True when `widget` and everything above it up to `root` is shown.
bool isShownUnder(const QWidget* widget, const QWidget* root);

// Every line of text painted by a widget under `root` (the widgets that report their lines,
// see views/kit/DrawnText.h) measured with the metrics of its font: a line that runs past its
// widget's contents rect, wider or taller, and a line cut on purpose that does not show an
// ellipsis or keeps fewer than three characters before it.
std::vector<QString> textOverflows(const QWidget* root);

// Every shown widget under `root` that lies (even in part) outside its shown parent; a widget
// inside a scroll area's viewport may run past its bottom (it scrolls) but not past its sides.
std::vector<QString> childrenOutsideParents(const QWidget* root);

// Every shown widget under `root` that sits in a vertical stack and is taller than its content
// at its width asks for: the difference is an empty band under its content.
std::vector<QString> emptyBands(const QWidget* root);

// The height of every shown widget under `root`, by path.
std::map<QString, int> shownHeights(const QWidget* root);

// The paths whose height differs between two snapshots of shownHeights (or that appear in
// only one of them).
std::vector<QString> heightChanges(const std::map<QString, int>& first,
                                   const std::map<QString, int>& second);

} // namespace velmora::testing
