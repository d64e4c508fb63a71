// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"
#include "model/IncidentSnapshot.h"
#include "views/kit/VelmoraPalette.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The prefixes the incident card strips from its next-action line, tried in this order.
const std::vector<std::string>& nextStepPrefixes();

// The line beside the next action: the rationale, or the outcome when there is no rationale,
// without its "Safe next move:" / "Next proof step:" / "Last action:" prefix.
std::optional<std::string> nextActionLine(const IncidentSnapshot& incident);

// The line the card shows when there is no next action: the cleaned rationale or outcome,
// else the outcome line unchanged (which may be absent). Absent with a next action.
std::optional<std::string> actionStatusLine(const IncidentSnapshot& incident);

// The accent of the whole card: calm stages are green, a watch is blue, an action already
// taken is green again, and every other stage follows the snapshot's tone.
PaletteColor stageTint(IncidentStage stage, SnapshotTone tone);

// Opacity of the stage tint at the top of the card's gradient, and of its border.
double stageFillOpacity(IncidentStage stage);
double stageBorderOpacity(IncidentStage stage);

PaletteColor confidenceToneColor(IncidentConfidenceTone tone);
PaletteColor timelineToneColor(TimelineTone tone);

} // namespace velmora
