// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AgoText.h"

#include <QString>
#include <cstdint>

namespace velmora {

// Sizes, rates and times for the surfaces, in the desktop's language and number format: the
// forms of base/SizeText and base/AgoText (which the core and the monitor keep, in English),
// written with QLocale's digits and separators and the catalogues' words. A German desktop reads
// "1,5 GB", "+18,0 MB/min" and "vor 5 Min."; an English or C locale reads exactly what the
// English formatters write, digit for digit ("1.5 GB", "5 min ago"). No group separators: a
// figure stays one word.

// formatKiB: "512.0 KB", "8.0 GB".
QString localizedKiB(double kib);
// byteSizeText: "420 KB", "381 MB", "1.2 GB".
QString localizedByteSize(uint64_t bytes);
// A size already in megabytes or gigabytes, with `decimals` decimals: "120 MB", "1.52 GB".
QString localizedSize(double amount, int decimals, bool gigabytes);
// rateText: "+8.2 MB/min", "-0.4 MB/min".
QString localizedRate(double mibPerMinute);
// agoText: "just now", "12 s ago", "5 min ago", "5m ago", "3 h ago", "2 d ago".
QString localizedAgo(int64_t elapsedSeconds, AgoStyle style);

} // namespace velmora
