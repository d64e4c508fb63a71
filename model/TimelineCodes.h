// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What an action left in a family's timeline, as a code and figures beside the entry's English
// texts: the moment it happened (`atSeconds`), what was done and how it ended. The texts are
// patterns like the action texts' (model/ActionCodes.h), filled with the same figures; the
// outcomes the banner already reported say what its message said.

#include "model/ActionCodes.h"

namespace velmora {

enum class TimelineEventCode {
    recovered,              // name, footprintKiB
    quitRequested,          // name
    restarted,              // name, pid
    forceQuitCompleted,     // name, count, total
    forceQuitIncomplete,    // name, count, total
    evidenceCaptured,       // path
    trackingAttached,       // process, pid, seconds
    restartedUnderTracking, // name
    whereItGrows,           // detail: the top allocation site as heap tracking reported it
    whereNoSite,
};

template <> struct EnumTable<TimelineEventCode> {
    using C = TimelineEventCode;
    using W = std::string_view;
    static constexpr std::array entries{
        std::pair{C::recovered, W{"recovered"}},
        std::pair{C::quitRequested, W{"quitRequested"}},
        std::pair{C::restarted, W{"restarted"}},
        std::pair{C::forceQuitCompleted, W{"forceQuitCompleted"}},
        std::pair{C::forceQuitIncomplete, W{"forceQuitIncomplete"}},
        std::pair{C::evidenceCaptured, W{"evidenceCaptured"}},
        std::pair{C::trackingAttached, W{"trackingAttached"}},
        std::pair{C::restartedUnderTracking, W{"restartedUnderTracking"}},
        std::pair{C::whereItGrows, W{"whereItGrows"}},
        std::pair{C::whereNoSite, W{"whereNoSite"}},
    };
};

// An entry's code with its figures, `atSeconds` (Unix seconds) among them: {"code":
// "restarted", "atSeconds": 1765200000, "name": "Firefox", "pid": 4242}.
using TimelineEventCodes = ActionCoded<TimelineEventCode>;

// The entry's title ("Restarted") and its detail ("Firefox quit gracefully and started again
// as PID 4242.").
ActionPattern timelineEventTitlePattern(TimelineEventCode code);
ActionPattern timelineEventDetailPattern(TimelineEventCode code);

} // namespace velmora
