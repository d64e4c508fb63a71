// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Enums.h"
#include "model/IncidentSnapshot.h"
#include "views/kit/VelmoraPalette.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

// The accent of the whole card: calm stages are green, a watch is blue, an action already
// taken is green again, and every other stage follows the snapshot's tone.
PaletteColor stageTint(IncidentStage stage, SnapshotTone tone);

// Opacity of the stage tint at the top of the card's gradient, and of its border.
double stageFillOpacity(IncidentStage stage);
double stageBorderOpacity(IncidentStage stage);

PaletteColor confidenceToneColor(IncidentConfidenceTone tone);
PaletteColor timelineToneColor(TimelineTone tone);

} // namespace velmora
