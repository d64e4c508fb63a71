// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/ChartTexts.h"

#include "views/kit/LocalizedText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace velmora {

// The short format without seconds, which some locales (C among them) carry.
QString ChartTexts::clockTime(const QTime& time) {
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    static const QRegularExpression seconds(QStringLiteral("[^hHmaApAP]?s+"));
    format.remove(seconds);
    return QLocale().toString(time, format);
}

QString ChartTexts::sizeTick(double kib, SizeUnit unit, double stepKiB) {
    return localizedSize(inUnit(kib, unit), tickDecimals(unit, stepKiB),
                         unit == SizeUnit::gigabytes);
}

QString ChartTexts::sizeReadout(double kib) {
    if (kib >= kiBPerGB) {
        return localizedSize(inUnit(kib, SizeUnit::gigabytes), 2, true);
    }
    return localizedSize(inUnit(std::max(0.0, kib), SizeUnit::megabytes), 1, false);
}

QString ChartTexts::spanTick(double agoSeconds, TimeUnit unit, bool bare) {
    const double amount = unitsAway(agoSeconds, unit);
    if (amount < 1) {
        //: On a chart's time axis: the present moment.
        return tr("now");
    }
    const int n = static_cast<int>(amount);
    QString span;
    switch (unit) {
    case TimeUnit::minutes:
        //: A span on a chart's time axis, in minutes.
        span = tr("%n min", nullptr, n);
        break;
    case TimeUnit::hours:
        //: A span on a chart's time axis, in hours.
        span = tr("%n h", nullptr, n);
        break;
    case TimeUnit::days:
        //: A span on a chart's time axis, in days.
        span = tr("%n d", nullptr, n);
        break;
    }
    if (agoSeconds < 0) {
        //: A moment after now on a chart's time axis; %1 is a span ("20 min").
        return tr("in %1").arg(span);
    }
    //: A moment before now on a chart's time axis; %1 is a span ("30 min").
    return bare ? span : tr("%1 ago").arg(span);
}

QString ChartTexts::dayAndMonth(const QDate& date) {
    // The desktop's short date with its year and the separator next to it taken out.
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    static const QRegularExpression year(QStringLiteral("[^dMy]*y+[^dMy]*"));
    QString bare = format;
    bare.remove(year);
    if (bare.isEmpty() || !bare.contains(QLatin1Char('d')) || !bare.contains(QLatin1Char('M'))) {
        bare = QStringLiteral("d/M");
    }
    // A year at the end leaves the separator that followed the month ("d.M." keeps its dot).
    if (format.endsWith(QLatin1Char('y')) && format.contains(QLatin1Char('.'))) {
        bare += QLatin1Char('.');
    }
    return QLocale().toString(date, bare);
}

QString ChartTexts::clockTick(const QDateTime& at, TimeUnit unit, double spanSeconds) {
    const QLocale locale;
    if (unit != TimeUnit::days) {
        return clockTime(at.time());
    }
    if (spanSeconds <= 8 * 86400) {
        return locale.dayName(at.date().dayOfWeek(), QLocale::ShortFormat);
    }
    return dayAndMonth(at.date());
}

QString ChartTexts::readoutWhen(double agoSeconds, const std::optional<QDateTime>& now,
                                TimeUnit unit) {
    if (!now) {
        if (agoSeconds < 30 && unit == TimeUnit::minutes) {
            return spanTick(0, unit);
        }
        return spanTick(agoSeconds, agoSeconds < 2 * 3600    ? TimeUnit::minutes
                                    : agoSeconds < 2 * 86400 ? TimeUnit::hours
                                                             : TimeUnit::days);
    }
    const QLocale locale;
    const QDateTime at = now->addSecs(-static_cast<qint64>(std::llround(agoSeconds)));
    const QString time = clockTime(at.time());
    if (at.date() == now->date()) {
        return time;
    }
    //: When a chart's point was taken on another day: %1 the weekday ("Tue"), %2 the time.
    return tr("%1 %2").arg(locale.dayName(at.date().dayOfWeek(), QLocale::ShortFormat), time);
}

} // namespace velmora
