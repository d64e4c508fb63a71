// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/kit/MemorySeriesChart.h"

#include "base/SizeText.h"
#include "views/kit/SurfacePanel.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QString markLabel(FindingVerdict verdict, MarkWords words) {
    if (words == MarkWords::incidents) {
        return verdict == FindingVerdict::criticalRunaway ? QStringLiteral("critical")
                                                          : QStringLiteral("incident");
    }
    switch (verdict) {
    case FindingVerdict::normal:
        return QStringLiteral("calm");
    case FindingVerdict::watch:
        return QStringLiteral("watch");
    case FindingVerdict::suspect:
        return QStringLiteral("suspect");
    case FindingVerdict::probable:
        return QStringLiteral("probable");
    case FindingVerdict::criticalRunaway:
        return QStringLiteral("critical");
    }
    return {};
}

PaletteColor markColor(FindingVerdict verdict) {
    switch (verdict) {
    case FindingVerdict::normal:
        return PaletteColor::allClearText;
    case FindingVerdict::watch:
        return PaletteColor::watchText;
    case FindingVerdict::suspect:
    case FindingVerdict::probable:
        return PaletteColor::suspectText;
    case FindingVerdict::criticalRunaway:
        return PaletteColor::criticalText;
    }
    return PaletteColor::neutralText;
}

QString spanText(double seconds) {
    const double minutes = std::max(1.0, std::round(seconds / 60));
    return minutes < 120 ? QString::number(minutes) + QStringLiteral(" min")
                         : QString::number(std::round(minutes / 60)) + QStringLiteral(" h");
}

} // namespace

QString sizeText(uint64_t kib) {
    return qs(formatKiB(kib)).replace(QLatin1Char(' '), QChar(0x00A0));
}

MemoryChartData chartDataOf(const MemorySeries& series, MarkWords words) {
    MemoryChartData data;
    data.points.reserve(series.footprintKiB.size());
    for (std::size_t i = 0; i < series.footprintKiB.size(); ++i) {
        data.points.push_back(
            {agoSecondsOf(series, i), static_cast<double>(series.footprintKiB[i])});
    }
    data.tint = paletteRef(series.marks.empty() ? PaletteColor::primaryActionFill
                                                : markColor(series.marks.back().verdict));
    for (const VerdictMark& mark : series.marks) {
        data.marks.push_back({nowAgo(series, mark.agoSeconds), markLabel(mark.verdict, words),
                              paletteRef(markColor(mark.verdict))});
    }
    if (const auto& trend = series.trend) {
        const double endAgo = series.runsOut ? -series.runsOut->inSeconds : 0;
        const double endKiB =
            trend->startKiB + trend->kiBPerSecond * (trend->startAgoSeconds - endAgo);
        data.trend = ChartLine{{nowAgo(series, trend->startAgoSeconds), trend->startKiB},
                               {nowAgo(series, endAgo), endKiB}};
    }
    for (double kill : series.outOfMemoryKills) {
        data.marks.push_back({nowAgo(series, kill), QStringLiteral("OOM kill"),
                              paletteRef(PaletteColor::criticalText)});
    }
    std::stable_sort(
        data.marks.begin(), data.marks.end(),
        [](const ChartMark& a, const ChartMark& b) { return a.agoSeconds > b.agoSeconds; });
    if (const auto& runsOut = series.runsOut) {
        data.level =
            ChartLevel{{-runsOut->inSeconds, static_cast<double>(runsOut->levelKiB)},
                       QStringLiteral("Memory runs out in ") + spanText(runsOut->inSeconds) +
                           QStringLiteral(" at ") + qs(formatKiB(runsOut->levelKiB))};
    }
    if (!data.points.empty()) {
        data.summary = QStringLiteral("Memory over the last ") +
                       spanText(data.points.front().agoSeconds) + QStringLiteral(": ") +
                       qs(formatKiB(data.points.front().kib)) + QStringLiteral(" to ") +
                       qs(formatKiB(data.points.back().kib)) + QStringLiteral(".");
    }
    return data;
}

} // namespace velmora
