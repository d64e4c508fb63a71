// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "views/kit/MemoryChart.h"
#include "views/kit/MemorySeriesChart.h"
#include "views/kit/SectionBlock.h"

namespace velmora {

class PlainTextButton;

// The line under the chart: the footprint now and what makes it up.
QString makeUpLine(const MemorySeries& series);

// The detail's "MEMORY" block: the chart of the family's memory over time above the line that
// says what its footprint is made of. When one member grows on its own, a switch above the chart
// ("Family | PID 4242 (worker)") shows that member's memory instead. Object names:
// "memoryBlock", "memoryChart", "memoryMakeUp", "chartFamily", "chartMember".
class MemoryChartBlock : public SectionBlock {
    Q_OBJECT
public:
    MemoryChartBlock(double radius, QWidget* parent = nullptr);

    void setSeries(const MemorySeries& series);
    // Whose memory the chart shows; the family's whenever no member grows on its own.
    ChartSubject subject() const { return subject_; }
    void setSubject(ChartSubject subject);
    MemoryChart* chart() const { return chart_; }

private:
    void refresh();

    MemorySeries series_;
    ChartSubject subject_ = ChartSubject::family;
    QWidget* subjects_;
    PlainTextButton* family_;
    PlainTextButton* member_;
    MemoryChart* chart_;
    VelmoraText* makeUp_;
};

} // namespace velmora
