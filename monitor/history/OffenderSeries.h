// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"
#include "monitor/history/FamilyMinute.h"

#include <vector>

namespace velmora {

// An offender's memory for the history's chart: the stored one-minute footprints since
// `sinceMs`, averaged into buckets of `bucketMs` (at most MemorySeries::maxPoints of them; a
// bucket without samples, while the machine was off, repeats the one before), its incidents as
// marks at their peak verdict and its out-of-memory kills, all timed back from `nowMs`.
MemorySeries offenderSeries(const std::vector<FootprintSample>& footprints,
                            const std::vector<FamilyMoment>& moments, int64_t sinceMs,
                            int64_t nowMs, int64_t bucketMs);

} // namespace velmora
