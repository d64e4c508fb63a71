// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/LocalizedText.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>

namespace velmora {
namespace {

constexpr const char* context = "velmora::LocalizedText";

QLocale figures() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

QString oneDecimal(double value) {
    return figures().toString(value, 'f', 1);
}

QString whole(uint64_t value) {
    return figures().toString(static_cast<qulonglong>(value));
}

// "%1 GB" and its kind in the catalogue.
QString withUnit(const char* pattern, const QString& number) {
    return QCoreApplication::translate(context, pattern).arg(number);
}

} // namespace

QString localizedKiB(double kib) {
    static const char* const units[] = {QT_TRANSLATE_NOOP("velmora::LocalizedText", "%1 KB"),
                                        QT_TRANSLATE_NOOP("velmora::LocalizedText", "%1 MB"),
                                        QT_TRANSLATE_NOOP("velmora::LocalizedText", "%1 GB"),
                                        QT_TRANSLATE_NOOP("velmora::LocalizedText", "%1 TB"),
                                        QT_TRANSLATE_NOOP("velmora::LocalizedText", "%1 PB")};
    double value = kib < 0 ? 0 : kib;
    int unit = 0;
    while (value >= 1024.0 && unit < 4) {
        value /= 1024.0;
        ++unit;
    }
    return withUnit(units[unit], oneDecimal(value));
}

QString localizedByteSize(uint64_t bytes) {
    constexpr uint64_t mebibyte = 1024ull * 1024ull;
    constexpr uint64_t gibibyte = 1024ull * mebibyte;
    if (bytes >= gibibyte) {
        return withUnit("%1 GB", oneDecimal(static_cast<double>(bytes) / gibibyte));
    }
    if (bytes >= mebibyte) {
        return withUnit("%1 MB", whole(bytes / mebibyte));
    }
    return withUnit("%1 KB", whole(bytes / 1024));
}

QString localizedSize(double amount, int decimals, bool gigabytes) {
    return withUnit(gigabytes ? "%1 GB" : "%1 MB", figures().toString(amount, 'f', decimals));
}

QString localizedRate(double mibPerMinute) {
    const QLocale locale = figures();
    const QString sign = std::signbit(mibPerMinute) ? locale.negativeSign() : locale.positiveSign();
    //: A growth rate in megabytes per minute, with its sign: "+8.2 MB/min".
    return QCoreApplication::translate("velmora::LocalizedText", "%1 MB/min")
        .arg(sign + oneDecimal(std::fabs(mibPerMinute)));
}

QString localizedAgo(int64_t elapsedSeconds, AgoStyle style) {
    const int64_t s = elapsedSeconds;
    if (s < 1 || (!style.seconds && s < 60)) {
        return QCoreApplication::translate("velmora::LocalizedText", "just now");
    }
    const auto ago = [](const char* pattern, int64_t count) {
        return QCoreApplication::translate(context, pattern, nullptr, static_cast<int>(count));
    };
    // The compact forms are the history's, where room is short.
    if (s < 60) {
        return style.compact ? ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%ns ago"), s)
                             : ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%n s ago"), s);
    }
    if (s < 3600) {
        return style.compact
                   ? ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%nm ago"), s / 60)
                   : ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%n min ago"), s / 60);
    }
    if (s < 86400 || !style.days) {
        return style.compact
                   ? ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%nh ago"), s / 3600)
                   : ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%n h ago"), s / 3600);
    }
    return style.compact
               ? ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%nd ago"), s / 86400)
               : ago(QT_TRANSLATE_N_NOOP("velmora::LocalizedText", "%n d ago"), s / 86400);
}

} // namespace velmora
