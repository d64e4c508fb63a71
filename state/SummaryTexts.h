// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"
#include "model/FindingCodes.h"
#include "model/FindingSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// The one-sentence summary of a family's growth that its row and the detail's verdict show,
// composed from the monitor's code: "Median grew +8.0 MB/min over 15 min, 83% of steps rising;
// now 1.9 GB (2.7× its typical size), stayed elevated while idle." None for a code this build
// does not know or whose figures are missing.
std::optional<std::string> summaryText(const Coded<ReasonCode>& summary);

// The summary as shown: composed from its code when there is one, else the monitor's text.
std::string summaryShown(const std::optional<Coded<ReasonCode>>& summary, const std::string& sent);
// A row's explanation and the detail's verdict explanation as shown.
std::string summaryShown(const FindingSnapshot& row);
std::string summaryShown(const VerdictBlock& verdict);

} // namespace velmora
