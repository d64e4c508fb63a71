// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingCodes.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The texts the app composes from the monitor's codes and figures, in English word for word
// as the monitor writes them. Each gives none for a code this build does not know or whose
// figures are missing; the caller then shows the monitor's own text.

// "Probable leak" for probable, "Suspected leak", "Critical runaway", "Watch", "Normal".
std::string verdictText(FindingVerdict verdict);

// One reason behind a verdict: "Over the last hour: +4.0 MB/min.".
std::optional<std::string> reasonText(const Coded<ReasonCode>& reason);

// The shape of a family's growth as a summary quotes it (a stairs, sawtoothFloor or medianRate
// code with its figures): "Median grew +8.0 MB/min over 15 min, 83% of steps rising".
std::optional<std::string> growthShapeText(const Coded<ReasonCode>& shape);

// A process by its number and name: "PID 4242 (worker)", "PID 4242" without a name.
std::string processText(int64_t pid, const std::string& name);

// The reasons as shown: each composed from its code, or the monitor's text at the same place
// when the code is unknown or the lists do not line up.
std::vector<std::string> reasonTexts(const std::vector<Coded<ReasonCode>>& codes,
                                     const std::vector<std::string>& texts);

} // namespace velmora
