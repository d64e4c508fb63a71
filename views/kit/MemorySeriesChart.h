// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "views/kit/MemoryChart.h"

namespace velmora {

// How a series' marks are named: by the verdict they changed to ("suspect"), as the detail
// shows them, or as the incidents they began ("incident", "critical"), as the history does.
enum class MarkWords { verdicts, incidents };

// What a chart shows of a memory series: its points timed back from now, the trend (dotted on
// to where memory runs out), the marks, the out-of-memory kills and the runs-out level.
MemoryChartData chartDataOf(const MemorySeries& series, MarkWords words = MarkWords::verdicts);

// A size that never breaks between its number and its unit: "412.3 MB".
QString sizeText(uint64_t kib);

} // namespace velmora
