// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "views/kit/MemoryChart.h"
#include "views/kit/SectionBlock.h"

namespace velmora {

class PlainTextButton;

// An offender's memory in the history: the chart of its stored figures with its incidents and
// out-of-memory kills, over the last 30 days or, once "7 days" is chosen, the last week.
// Object names: "offenderMemoryBlock", "memoryChart", "range7d", "range30d".
class OffenderMemoryBlock : public SectionBlock {
    Q_OBJECT
public:
    OffenderMemoryBlock(double radius, QWidget* parent = nullptr);

    void setSeries(const MemorySeries& series);
    // The days shown: 7 or 30.
    int rangeDays() const { return days_; }
    void setRangeDays(int days);
    MemoryChart* chart() const { return chart_; }

private:
    void refresh();

    MemorySeries series_;
    int days_ = 30;
    MemoryChart* chart_;
    PlainTextButton* week_;
    PlainTextButton* month_;
};

} // namespace velmora
