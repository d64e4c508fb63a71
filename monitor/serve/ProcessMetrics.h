// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <prometheus/metric_family.h>
#include <string>
#include <vector>

namespace velmora {

// The monitor's own process_* metrics under their usual names: CPU seconds, resident and
// virtual memory, start time, open and allowed descriptors, read from `procSelf` (a
// /proc/<pid> directory) and `procStat` (/proc/stat, for the boot time).
std::vector<prometheus::MetricFamily> processMetrics(const std::string& procSelf = "/proc/self",
                                                     const std::string& procStat = "/proc/stat");

} // namespace velmora
