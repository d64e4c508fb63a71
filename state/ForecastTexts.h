// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemoryOutlookSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The machine's out-of-memory forecast in the person's language, composed from the monitor's
// figures; the monitor's own texts where a code is unknown or absent.

// "First to be ended if memory runs out: Firefox, 3.2 GB".
std::optional<std::string> firstVictimText(const Coded<VictimCode>& victim);
std::optional<std::string> firstVictimLine(const MemoryForecastSnapshot& forecast);

// "Memory runs out in about 40 min at this rate", from the seconds the forecast sends.
std::string runsOutText(double seconds);
// The same within a sentence: "memory runs out in about 40 min at this rate".
std::string runsOutPhrase(double seconds);
std::optional<std::string> exhaustionLine(const MemoryForecastSnapshot& forecast);

// "systemd-oomd acts above 60% memory pressure for 30 s or 90% swap used", "earlyoom ends the
// largest process below 10% available memory and 10% free swap".
std::optional<std::string> killerText(const KillerCodes& killer);
std::optional<std::string> killerLine(const MemoryForecastSnapshot& forecast);

} // namespace velmora
