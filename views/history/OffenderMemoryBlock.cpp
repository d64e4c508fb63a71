// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/OffenderMemoryBlock.h"

#include "views/kit/ChoiceButton.h"
#include "views/kit/MemorySeriesChart.h"

#include <QBoxLayout>

namespace velmora {

OffenderMemoryBlock::OffenderMemoryBlock(double radius, QWidget* parent)
    : SectionBlock(radius, parent) {
    setObjectName("offenderMemoryBlock");
    //: Title of the history's block that charts an offender's memory.
    setTitle(tr("MEMORY"));
    auto* ranges = new QHBoxLayout;
    ranges->setSpacing(12);
    //: A switch above the history's memory chart: show the last week.
    week_ = choiceButton(tr("7 days"), "range7d", this);
    //: A switch above the history's memory chart: show the last month.
    month_ = choiceButton(tr("30 days"), "range30d", this);
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
    markChosen(week_, days_ == 7);
    markChosen(month_, days_ == 30);
}

} // namespace velmora
