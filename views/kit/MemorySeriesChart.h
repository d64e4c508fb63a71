// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "views/kit/MemoryChart.h"

namespace velmora {

// How a series' marks are named: by the verdict they changed to ("suspect"), as the detail
// shows them, or as the incidents they began ("incident", "critical"), as the history does.
enum class MarkWords { verdicts, incidents };

// Whose memory a chart shows: the family's, or its growing member's on its own.
enum class ChartSubject { family, growingMember };

// What a chart shows of a memory series: its points timed back from now (the clock they stand
// for, when the monitor sent it), the footprint's parts as bands, the trend (dotted on to where
// memory runs out), the marks, the out-of-memory kills and the runs-out level. For the growing
// member: its own points and trend, with the family's marks and level, and no bands (the
// parts are the family's).
MemoryChartData chartDataOf(const MemorySeries& series, MarkWords words = MarkWords::verdicts,
                            ChartSubject subject = ChartSubject::family);

// The name of the growing member a chart can show: "PID 4242 (worker)".
QString memberLabel(const MemberMemorySeries& member);

// A size that never breaks between its number and its unit: "412.3 MB".
QString sizeText(uint64_t kib);

} // namespace velmora
