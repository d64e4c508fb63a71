// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace velmora {

// Content that is out of date (the monitor is not watching) stays readable, but plainly not
// current: it is drawn at this opacity.
inline constexpr double outOfDateOpacity = 0.45;

// Dims `widget` and everything in it as out of date, or shows it plainly again. Does nothing
// when it already is so. The widget must not carry a graphics effect of its own.
void setOutOfDate(QWidget* widget, bool outOfDate);
bool isOutOfDate(const QWidget* widget);

} // namespace velmora
