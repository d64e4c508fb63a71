// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "views/kit/MemoryChart.h"
#include "views/kit/SectionBlock.h"

namespace velmora {

// The line under the chart: the footprint now and what makes it up.
QString makeUpLine(const MemorySeries& series);

// The detail's "MEMORY" block: the chart of the family's memory over time above the line that
// says what its footprint is made of. Object names: "memoryBlock", "memoryChart",
// "memoryMakeUp".
class MemoryChartBlock : public SectionBlock {
    Q_OBJECT
public:
    MemoryChartBlock(double radius, QWidget* parent = nullptr);

    void setSeries(const MemorySeries& series);
    MemoryChart* chart() const { return chart_; }

private:
    MemoryChart* chart_;
    VelmoraText* makeUp_;
};

} // namespace velmora
