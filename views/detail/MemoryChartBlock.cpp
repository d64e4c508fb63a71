// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/detail/MemoryChartBlock.h"

#include "views/kit/ChoiceButton.h"
#include "views/kit/MemorySeriesChart.h"
#include "views/kit/VelmoraText.h"

#include <QBoxLayout>

namespace velmora {

QString makeUpLine(const MemorySeries& series) {
    if (series.footprintKiB.empty()) {
        //: Under the detail's memory chart, before the monitor has any figure.
        return MemoryChartBlock::tr("No samples yet.");
    }
    const QString now = sizeText(series.footprintKiB.back());
    const QString anon = sizeText(series.anonKiB);
    const QString swap = sizeText(series.swapKiB);
    const QString shared = sizeText(series.sharedKiB);
    QString line;
    //: Under the detail's memory chart: the footprint now (%1) and its parts.
    if (series.swapKiB > 0 && series.sharedKiB > 0) {
        line = MemoryChartBlock::tr("Now %1: %2 anonymous, %3 swapped, %4 shared.")
                   .arg(now, anon, swap, shared);
    } else if (series.swapKiB > 0) {
        line = MemoryChartBlock::tr("Now %1: %2 anonymous, %3 swapped.").arg(now, anon, swap);
    } else if (series.sharedKiB > 0) {
        line = MemoryChartBlock::tr("Now %1: %2 anonymous, no swap, %3 shared.")
                   .arg(now, anon, shared);
    } else {
        line = MemoryChartBlock::tr("Now %1: %2 anonymous, no swap.").arg(now, anon);
    }
    if (series.trend) {
        //: Under the detail's memory chart: what its dashed line is.
        line += QLatin1Char(' ') +
                MemoryChartBlock::tr("Dashed: the trend the verdict was drawn from.");
    }
    return line;
}

MemoryChartBlock::MemoryChartBlock(double radius, QWidget* parent) : SectionBlock(radius, parent) {
    setObjectName("memoryBlock");
    //: Title of the detail's block that charts the family's memory over time.
    setTitle(tr("MEMORY"));
    subjects_ = new QWidget(this);
    auto* row = new QHBoxLayout(subjects_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    //: A switch above the detail's memory chart: the whole family's memory.
    family_ = choiceButton(tr("Family"), "chartFamily", subjects_);
    member_ = choiceButton({}, "chartMember", subjects_);
    family_->setOnTap([this] { setSubject(ChartSubject::family); });
    member_->setOnTap([this] { setSubject(ChartSubject::growingMember); });
    row->addWidget(family_);
    row->addWidget(member_);
    row->addStretch(1);
    subjects_->hide();
    chart_ = new MemoryChart(this);
    makeUp_ = makeText(TypeRole::caption, {}, paletteRef(PaletteColor::mutedText), 0, this);
    makeUp_->setObjectName("memoryMakeUp");
    content()->addWidget(subjects_);
    content()->addWidget(chart_);
    content()->addWidget(makeUp_);
}

void MemoryChartBlock::setSeries(const MemorySeries& series) {
    series_ = series;
    if (!series_.growingMember) {
        subject_ = ChartSubject::family;
    }
    refresh();
}

void MemoryChartBlock::setSubject(ChartSubject subject) {
    subject_ = series_.growingMember ? subject : ChartSubject::family;
    refresh();
}

void MemoryChartBlock::refresh() {
    chart_->setData(chartDataOf(series_, MarkWords::verdicts, subject_));
    makeUp_->setText(makeUpLine(series_));
    subjects_->setVisible(series_.growingMember.has_value());
    if (series_.growingMember) {
        member_->setLabel(memberLabel(*series_.growingMember));
    }
    markChosen(family_, subject_ == ChartSubject::family);
    markChosen(member_, subject_ == ChartSubject::growingMember);
}

} // namespace velmora
