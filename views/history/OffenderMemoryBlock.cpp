// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/OffenderMemoryBlock.h"

#include "views/kit/MemorySeriesChart.h"
#include "views/kit/PlainTextButton.h"
#include "views/kit/SurfacePanel.h"

#include <QBoxLayout>

namespace velmora {

namespace {

PlainTextButton* rangeButton(const QString& label, const char* name, QWidget* parent) {
    auto* button = new PlainTextButton(parent);
    button->setObjectName(name);
    button->setLabel(label);
    button->setLabelFont(velmoraFont(TypeRole::caption, QFont::DemiBold));
    return button;
}

} // namespace

OffenderMemoryBlock::OffenderMemoryBlock(double radius, QWidget* parent)
    : SectionBlock(radius, parent) {
    setObjectName("offenderMemoryBlock");
    setTitle(QStringLiteral("MEMORY"));
    auto* ranges = new QHBoxLayout;
    ranges->setSpacing(12);
    week_ = rangeButton(QStringLiteral("7 days"), "range7d", this);
    month_ = rangeButton(QStringLiteral("30 days"), "range30d", this);
    week_->setOnTap([this] { setRangeDays(7); });
    month_->setOnTap([this] { setRangeDays(30); });
    ranges->addWidget(week_);
    ranges->addWidget(month_);
    ranges->addStretch(1);
    content()->addLayout(ranges);
    chart_ = new MemoryChart(this);
    content()->addWidget(chart_);
    refresh();
}

void OffenderMemoryBlock::setSeries(const MemorySeries& series) {
    series_ = series;
    refresh();
}

void OffenderMemoryBlock::setRangeDays(int days) {
    days_ = days == 7 ? 7 : 30;
    refresh();
}

void OffenderMemoryBlock::refresh() {
    MemoryChartData data = chartDataOf(series_, MarkWords::incidents);
    if (days_ == 7) {
        const double week = 7 * 86400.0;
        std::erase_if(data.points, [week](const ChartPoint& p) { return p.agoSeconds > week; });
        std::erase_if(data.marks, [week](const ChartMark& m) { return m.agoSeconds > week; });
    }
    chart_->setData(std::move(data));
    week_->setColor(paletteRef(days_ == 7 ? PaletteColor::neutralText : PaletteColor::mutedText));
    month_->setColor(paletteRef(days_ == 30 ? PaletteColor::neutralText : PaletteColor::mutedText));
    week_->setChecked(days_ == 7);
    month_->setChecked(days_ == 30);
}

} // namespace velmora
