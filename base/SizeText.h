// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace velmora {

// A size given in KiB as display text, in binary units with one decimal: "512.0 KB", "8.0 GB".
std::string formatKiB(uint64_t kib);
std::string formatKiB(double kib);

// A size in bytes the way the storage footer shows it: whole kilobytes below 1 MB ("420 KB"),
// whole megabytes below 1 GB ("381 MB"), one decimal from there on ("1.2 GB"). Whole units
// are rounded down, so a size just under 1 GB never reads "1024 MB".
std::string byteSizeText(uint64_t bytes);

// A growth rate with its sign and one decimal: "+8.2 MB/min", "-0.4 MB/min".
std::string rateText(double mibPerMinute);

} // namespace velmora
