// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/history/OffenderTint.h"

namespace velmora {

PaletteColor offenderTint(const HistoricalOffenderSummarySnapshot& offender) {
    if (offender.criticalIncidentCount30d != 0 || offender.peakScore30d >= 85) {
        return PaletteColor::criticalText;
    }
    if (offender.peakScore30d >= 70 || offender.incidentCount30d >= 2) {
        return PaletteColor::suspectText;
    }
    return PaletteColor::watchText;
}

} // namespace velmora
