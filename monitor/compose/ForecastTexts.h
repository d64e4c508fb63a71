// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/MemoryOutlookSnapshot.h"
#include "model/PopoverSnapshot.h"
#include "monitor/compose/ComposeContext.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The machine's out-of-memory forecast in words, shared by the header, the relief plan, the
// detail and the snapshot's forecast record so they never disagree.

// A forecast is stated only under this horizon; beyond it the trend says too little.
inline constexpr double kStatedForecastSeconds = 3600;

// The seconds until memory runs out, when the trend falls steadily and that is under an hour.
std::optional<double> statedExhaustion(const LiveView& view);
// "Memory runs out in about 40 min at this rate".
std::string exhaustionSentence(double seconds);
// "runs out in ~40 min", short enough for the header.
std::string exhaustionShort(double seconds);
// The header's line under the pressure pill while a forecast is stated: "Runs out in ~40 min",
// "Runs out in < 1 min". It stands in for the scope line, which matters less then and shares
// the header's narrow width with the headroom line. Without the machine's memory figures it
// says there is no forecast: "Memory forecast unavailable". False, leaving `state` as it is,
// when the scope line says the scope.
bool setForecastScope(SystemStateSnapshot& state, const LiveView& view);
// "First to be ended if memory runs out: Firefox, 3.2 GB".
std::optional<std::string> firstVictimSentence(const LiveView& view);
// Which daemon acts and at what threshold, when one runs.
std::optional<std::string> killerSentence(const LiveView& view);
// The same as a code with its thresholds, from which the app composes the sentence.
std::optional<KillerCodes> killerCodesOf(const LiveView& view);
// "3 out-of-memory kills on this machine since boot": every user's and container's, so it
// names no application; none before the first kill or where the count is unknown.
std::optional<std::string> machineKillsSentence(const LiveView& view);
// The record itself; none when nothing of it is known.
std::optional<MemoryForecastSnapshot> memoryForecastOf(const LiveView& view);
// What the forecast read, for the trust panel ("/proc/PID/oom_score for 212 processes every
// 10 s", the daemon's configuration files).
std::vector<std::string> forecastFilesRead(const LiveView& view);
// The family's own line for its detail when the kernel would end one of its processes first.
std::optional<std::string> firstVictimLineFor(const LiveView& view, const std::string& key);

// How long a growing family has been growing ("12 min"): its rate window, from the onset of
// growth when the window began flat; none when it is not growing.
std::optional<double> growthSpanSeconds(const FamilyView& family, int rateWindowBuckets);
std::optional<std::string> growthSpanText(const FamilyView& family, int rateWindowBuckets);

} // namespace velmora
