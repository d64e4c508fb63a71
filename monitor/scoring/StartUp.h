// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/scoring/FamilySeries.h"

#include <cstddef>

namespace velmora {

// How many of a family's first closed buckets hold its start-up: the process appeared with a
// few MB and climbed to its working size within seconds, so its first (often partial) bucket
// sits far below the next. Such a climb says nothing about a leak, for or against. A leading
// bucket is start-up while the rise out of it dwarfs the steps that follow; at most
// `maxBuckets` are. A family found already running has none.
std::size_t startUpBuckets(const FamilySeries& series, std::size_t maxBuckets);

} // namespace velmora
