// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/history/HistoryLine.h"

namespace velmora {

std::string HistoryLine::text() const {
    if (!available) {
        return "History unavailable";
    }
    if (incidentCount30d == 0) {
        return "History: no incidents in 30d";
    }
    std::string line = "History: " + std::to_string(incidentCount30d) +
                       (incidentCount30d == 1 ? " incident" : " incidents") + " in 30d";
    if (criticalIncidentCount30d > 0) {
        line += "; " + std::to_string(criticalIncidentCount30d) + " critical";
    }
    return line + "; peak score " + std::to_string(peakScore30d);
}

Coded<HistoryCode> HistoryLine::code() const {
    if (!available) {
        return {HistoryCode::unavailable, {}};
    }
    if (incidentCount30d == 0) {
        return {HistoryCode::noIncidents, {}};
    }
    return {HistoryCode::incidents,
            {.count = incidentCount30d,
             .criticalCount = criticalIncidentCount30d,
             .score = peakScore30d}};
}

} // namespace velmora
