// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/MemoryChartBlock.h"

#include "base/SizeText.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>
#include <cmath>

namespace velmora {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A size that never breaks between its number and its unit.
QString sizeText(uint64_t kib) {
    return qs(formatKiB(kib)).replace(QLatin1Char(' '), QChar(0x00A0));
}

QString markLabel(FindingVerdict verdict) {
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

MemoryChartData chartDataOf(const MemorySeries& series) {
    MemoryChartData data;
    data.points.reserve(series.footprintKiB.size());
    for (std::size_t i = 0; i < series.footprintKiB.size(); ++i) {
        data.points.push_back(
            {agoSecondsOf(series, i), static_cast<double>(series.footprintKiB[i])});
    }
    data.tint = paletteRef(series.marks.empty() ? PaletteColor::primaryActionFill
                                                : markColor(series.marks.back().verdict));
    for (const VerdictMark& mark : series.marks) {
        data.marks.push_back(
            {mark.agoSeconds, markLabel(mark.verdict), paletteRef(markColor(mark.verdict))});
    }
    if (const auto& trend = series.trend) {
        const double endAgo = series.runsOut ? -series.runsOut->inSeconds : 0;
        const double endKiB =
            trend->startKiB + trend->kiBPerSecond * (trend->startAgoSeconds - endAgo);
        data.trend = ChartLine{{trend->startAgoSeconds, trend->startKiB}, {endAgo, endKiB}};
    }
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

QString makeUpLine(const MemorySeries& series) {
    if (series.footprintKiB.empty()) {
        return QStringLiteral("No samples yet.");
    }
    QString line = QStringLiteral("Now ") + sizeText(series.footprintKiB.back()) +
                   QStringLiteral(": ") + sizeText(series.anonKiB) +
                   QStringLiteral(" anonymous, ") +
                   (series.swapKiB > 0 ? sizeText(series.swapKiB) + QStringLiteral(" swapped")
                                       : QStringLiteral("no swap"));
    if (series.sharedKiB > 0) {
        line += QStringLiteral(", ") + sizeText(series.sharedKiB) + QStringLiteral(" shared");
    }
    line += QStringLiteral(".");
    if (series.trend) {
        line += QStringLiteral(" Dashed: the trend the verdict was drawn from.");
    }
    return line;
}

MemoryChartBlock::MemoryChartBlock(double radius, QWidget* parent) : SectionBlock(radius, parent) {
    setObjectName("memoryBlock");
    setTitle(QStringLiteral("MEMORY"));
    chart_ = new MemoryChart(this);
    makeUp_ = makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 0, this);
    makeUp_->setObjectName("memoryMakeUp");
    content()->addWidget(chart_);
    content()->addWidget(makeUp_);
}

void MemoryChartBlock::setSeries(const MemorySeries& series) {
    chart_->setData(chartDataOf(series));
    makeUp_->setText(makeUpLine(series));
}

} // namespace velmora
