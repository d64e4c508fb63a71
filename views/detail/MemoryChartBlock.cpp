// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/MemoryChartBlock.h"

#include "views/kit/MemorySeriesChart.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>

namespace velmora {

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
