// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingCodes.h"
#include "model/FindingSnapshot.h"

#include <optional>
#include <string>

namespace velmora {

// A row's figures as its texts, composed from the monitor's codes; in English word for word as
// the monitor writes them. Each gives none where the codes do not say it (an older monitor, a
// code this build does not know); the row then shows the monitor's text.

// Whether the codes say the row's rate: its figure, or that it is not measured yet.
bool saysRate(const FindingCodes& codes);
// "+8.2 MB/min", or "N/A" for a row whose rate is not measured yet.
std::optional<std::string> rowRateText(const FindingCodes& codes);
// "+8.2 MB/min", or "N/A" while no rate is measured.
std::string rateOrNotMeasured(std::optional<double> kibPerSecond);
// "High confidence · score 72".
std::string confidenceText(ConfidenceLevel level, int64_t score);
std::optional<std::string> confidenceText(const FindingCodes& codes);
// "Accelerating growth", "Decelerating growth", "Steady growth".
std::optional<std::string> curvatureText(const FindingCodes& codes);

// The row's texts as shown: composed from its codes when they say it, else the monitor's text.
std::string rowRateShown(const FindingSnapshot& row);
std::string confidencePillShown(const FindingSnapshot& row);
std::optional<std::string> curvatureShown(const FindingSnapshot& row);

} // namespace velmora
