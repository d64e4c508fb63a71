// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/kit/ChartScale.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <optional>

namespace velmora {

// The words and figures a memory chart draws, in the desktop's language and formats (QLocale).
// Under an English or C locale they read "120 MB", "1.52 GB", "30 min ago", "14:05".
class ChartTexts {
    Q_DECLARE_TR_FUNCTIONS(velmora::ChartTexts)
public:
    // A tick of a size axis, with as few decimals as the step needs: "120 MB", "1.5 GB".
    static QString sizeTick(double kib, SizeUnit unit, double stepKiB);
    // A size for a readout: "412.3 MB", "1.52 GB".
    static QString sizeReadout(double kib);
    // A tick of a time axis counted from now: "now", "30 min ago" (only "30 min" when `bare`),
    // "6 h ago", "7 d ago", "in 20 min".
    static QString spanTick(double agoSeconds, TimeUnit unit, bool bare = false);
    // A tick of a time axis read on the clock: "14:05" over minutes and hours, the weekday over
    // a week ("Tue"), the day of the month beyond ("8 Dec", in the desktop's order).
    static QString clockTick(const QDateTime& at, TimeUnit unit, double spanSeconds);
    // When a readout's point was taken: "14:05" today, "Tue 14:00" on another day, or, without a
    // clock, "now" and "12 min ago".
    static QString readoutWhen(double agoSeconds, const std::optional<QDateTime>& now,
                               TimeUnit unit);
    // A time of day to the minute in the desktop's format: "14:05", "2:05 PM".
    static QString clockTime(const QTime& time);
    // A day and month without the year, in the desktop's order: "12/8", "8.12.".
    static QString dayAndMonth(const QDate& date);
};

} // namespace velmora
