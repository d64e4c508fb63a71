// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/AgoText.h"

#include <cstdint>
#include <string>

namespace velmora {

// Sizes, rates, shares and durations in the person's language and number format, for the texts
// the app composes from the monitor's figures. Without a catalogue or a number formatter they
// read exactly as base/SizeText, base/DurationText and base/AgoText write them, which is how
// the monitor writes its own texts.

// "1.5 GB" from KiB; "1,5 GB" in German.
std::string localSize(double kib);
// A file's size from bytes, in whole kilobytes and megabytes: "381 MB", "1.2 GB".
std::string localByteSize(uint64_t bytes);
// "+8.2 MB/min" from KiB per second.
std::string localRate(double kibPerSecond);
// An estimate: "under a minute", "about 12 min", "about 3 h 20 min", "about 2 days".
std::string localEstimate(double seconds);
// A measured span: "45 s", "15 min", "2 h 5 min".
std::string localSpan(double seconds);
// "5 min ago" in the given style.
std::string localAgo(int64_t seconds, AgoStyle style);
// A count as the catalogue's plural forms take it (0 to 2^30). The catalogue tools read only a
// plain name in the count's place, so each call takes its count from a variable.
int pluralCount(int64_t value);
// "83%" from a fraction of one, clamped to 0..1.
std::string localPercent(double fraction);
// "2.7×".
std::string localMultiple(double value);

} // namespace velmora
