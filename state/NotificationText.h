// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/FindingSnapshot.h"
#include "model/MemoryOutlookSnapshot.h"
#include "state/Notification.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// The texts of desktop notifications, made from the snapshot's codes and figures as the popover
// makes its texts, else from its own fields. A figure that is missing (or not measured yet, "N/A")
// leaves its part out.

// "Probable leak in Firefox" ("Suspected leak in X", "Runaway memory growth in X",
// "Watching X").
std::string findingSummary(const FindingSnapshot& row);
// "+18 MB/min for 12 min · 3.2 GB now · memory runs out in about 40 min at this rate".
std::string findingBody(const FindingSnapshot& row);
Notification findingNotification(const FindingSnapshot& row);

// "Memory runs out in about 12 min" ("… in under a minute").
std::string exhaustionSummary(uint64_t exhaustionSeconds);
// One line each: who would be ended first and who acts; the forecast's own sentence when
// it has neither.
std::string exhaustionBody(const MemoryForecastSnapshot& forecast);
Notification exhaustionNotification(const MemoryForecastSnapshot& forecast);

// "Firefox was ended by the out-of-memory killer", with "Ended by the out-of-memory killer at
// 14:02 with 3.2 GB." as the body (the kill's message where its code is absent or unknown).
Notification killNotification(const OutOfMemoryKillSnapshot& kill);

// What stands for notifications held back by the cap: "2 more suspects" when they are all
// suspects, "2 more memory alerts" otherwise, their titles in the body.
Notification summaryNotification(const std::vector<Notification>& heldBack);

// The one the Settings window sends on request.
Notification testNotification();

} // namespace velmora
