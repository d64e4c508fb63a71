// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/history/OffenderStats.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

class SqliteConnection;

// The read side of the advanced history. Everything is answered from the incident, action and
// artifact rows and the day rollup, never from the one-minute footprints, so the cost does not
// grow with the length of the history.
namespace OffenderQueries {

// Every family with at least one incident ending inside the 30-day window or a process ended by
// the out-of-memory killer in it, unordered.
std::vector<OffenderStats> offenders(SqliteConnection& db, const HistoryWindow& window);

// One family (with or without incidents), or nothing when the key is unknown.
std::optional<OffenderDetailStats> offender(SqliteConnection& db, const std::string& key,
                                            const HistoryWindow& window);

} // namespace OffenderQueries

} // namespace velmora
