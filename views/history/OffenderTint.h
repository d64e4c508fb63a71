// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/AdvancedHistorySnapshot.h"
#include "views/kit/VelmoraPalette.h"

namespace velmora {

// The colour of a recurring offender's dot and risk tag: critical once any incident was
// critical or the peak score reached 85; suspect from a peak of 70 or a second incident;
// watch otherwise.
PaletteColor offenderTint(const HistoricalOffenderSummarySnapshot& offender);

} // namespace velmora
