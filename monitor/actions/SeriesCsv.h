// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemorySeries.h"

#include <string>

namespace velmora {

// A memory series as CSV for a bug report, oldest first: a header line, then one line per point
// ("3600,3921296,,3800000,0,121296,") and one per verdict change or out-of-memory kill
// ("2280,,suspect,,,,", "600,,oom_kill,,,,"), each at its seconds before now. A point carries
// its anonymous, swapped and shared parts and the growing member's footprint where the series
// has them.
std::string memorySeriesCsv(const MemorySeries& series);

} // namespace velmora
