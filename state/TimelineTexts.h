// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/DetailSnapshot.h"

#include <vector>

namespace velmora {

// The detail's timeline as shown: each entry composed from its code in the person's language
// ("Seen · Family first sampled · 5 min ago · 1.9 GB now", the verdict now and its summary,
// an action's entry from the codes recorded with it), an entry whose code is unknown as the
// monitor sent it. Without codes, or when the lists do not line up, the entries as sent.
std::vector<IncidentTimelineItem> timelineShown(const DetailSnapshot& detail);

} // namespace velmora
