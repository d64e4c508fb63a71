// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "monitor/where/TraceAccess.h"

namespace velmora {

// A process of user and group 1000, "leak" (PID 4242), that may be traced: each test changes
// the one fact it is about.
inline TraceFacts ownProcess() {
    TraceFacts facts;
    facts.pid = 4242;
    facts.exists = true;
    facts.name = "leak";
    facts.uids = {1000, 1000, 1000, 1000};
    facts.gids = {1000, 1000, 1000, 1000};
    facts.procOwner = 1000;
    return facts;
}

} // namespace velmora
