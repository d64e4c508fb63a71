// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/live/OutOfMemoryKill.h"

#include "monitor/common/Formatting.h"

namespace velmora {

std::string outOfMemoryKillMessage(const OutOfMemoryKill& kill) {
    return "Ended by the out-of-memory killer at " + formatClock(kill.wallAt) + " with " +
           formatKiB(kill.familyKiB) + ".";
}

} // namespace velmora
