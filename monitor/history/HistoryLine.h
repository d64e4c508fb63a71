// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingCodes.h"

#include <cstdint>
#include <string>

namespace velmora {

// A family's history in one line for the live incident: "History: 2 incidents in 30d;
// 1 critical; peak score 92".
struct HistoryLine {
    bool available = true;
    uint32_t incidentCount30d = 0;
    uint32_t criticalIncidentCount30d = 0;
    uint32_t peakScore30d = 0;

    // "History: no incidents in 30d" without incidents, "History unavailable" when the
    // database could not be read.
    std::string text() const;
    // The same line as a code and its figures, for the app to compose.
    Coded<HistoryCode> code() const;

    bool operator==(const HistoryLine&) const = default;
};

} // namespace velmora
